#pragma once

// Pictures of the skin decoded once into cairo surfaces. UI thread only.

#include <cairo.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "uiframework/resource_source.h"

namespace uiframework {

struct CairoSurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using CairoSurfacePtr = std::unique_ptr<cairo_surface_t, CairoSurfaceDeleter>;

// Decodes PNG bytes; null when they are not a PNG picture.
CairoSurfacePtr DecodePng(std::string_view bytes);

class CairoImageCache {
  public:
    explicit CairoImageCache(const ResourceSource& resources) : resources_(resources) {}

    // The picture, or null when the skin has none of that name or it does not decode
    // (remembered, so a missing picture is looked up once).
    cairo_surface_t* Get(std::string_view name);

  private:
    const ResourceSource& resources_;
    std::map<std::string, CairoSurfacePtr> surfaces_;  // by name as lookup sees it
};

}  // namespace uiframework
