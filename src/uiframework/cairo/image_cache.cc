#include "uiframework/cairo/image_cache.h"

#include <cstring>

namespace uiframework {

namespace {

struct PngReader {
    std::string_view bytes;
    size_t offset = 0;
};

cairo_status_t ReadPngBytes(void* closure, unsigned char* data, unsigned int length) {
    auto* reader = static_cast<PngReader*>(closure);
    if (reader->bytes.size() - reader->offset < length) {
        return CAIRO_STATUS_READ_ERROR;
    }
    std::memcpy(data, reader->bytes.data() + reader->offset, length);
    reader->offset += length;
    return CAIRO_STATUS_SUCCESS;
}

std::string LookupKey(std::string_view name) {
    std::string key(name);
    for (char& c : key) {
        if (c == '\\') {
            c = '/';
        } else if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return key;
}

}  // namespace

CairoSurfacePtr DecodePng(std::string_view bytes) {
    PngReader reader{bytes};
    CairoSurfacePtr surface(cairo_image_surface_create_from_png_stream(ReadPngBytes, &reader));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
        return nullptr;
    }
    return surface;
}

cairo_surface_t* CairoImageCache::Get(std::string_view name) {
    if (name.empty()) {
        return nullptr;
    }
    std::string key = LookupKey(name);
    auto it = surfaces_.find(key);
    if (it == surfaces_.end()) {
        std::optional<std::string> bytes = resources_.Read(name);
        CairoSurfacePtr surface = bytes ? DecodePng(*bytes) : nullptr;
        it = surfaces_.emplace(std::move(key), std::move(surface)).first;
    }
    return it->second.get();
}

}  // namespace uiframework
