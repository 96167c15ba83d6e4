#include "uiframework/cairo/offscreen.h"

#include "uiframework/cairo/cairo_canvas.h"
#include "uiframework/cairo/shadow_painter.h"

namespace uiframework {

namespace {

struct CairoDeleter {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};

}  // namespace

CairoSurfacePtr RenderWindow(HostWindowClient& client, Size size,
                             const std::optional<ShadowParams>& shadow, CairoImageCache& images) {
    int margin = shadow ? ShadowMargin(*shadow) : 0;
    CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size.cx + 2 * margin,
                                                       size.cy + 2 * margin));
    std::unique_ptr<cairo_t, CairoDeleter> cr(cairo_create(surface.get()));
    Rect window = Rect::FromSize(0, 0, size.cx, size.cy);
    cairo_translate(cr.get(), margin, margin);
    if (shadow) {
        PaintShadow(cr.get(), window, *shadow);
    }
    CairoCanvas canvas(cr.get(), images);
    canvas.PushClip(window);
    client.OnPaint(canvas, window);
    canvas.PopClip();
    cairo_surface_flush(surface.get());
    return surface;
}

bool WritePng(cairo_surface_t* surface, const std::string& path, std::string* error) {
    cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
    if (status != CAIRO_STATUS_SUCCESS) {
        if (error != nullptr) {
            *error = cairo_status_to_string(status);
        }
        return false;
    }
    return true;
}

}  // namespace uiframework
