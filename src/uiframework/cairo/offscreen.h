#pragma once

// Painting a window into a picture without a display.

#include <optional>
#include <string>

#include "uiframework/cairo/image_cache.h"
#include "uiframework/host.h"

namespace uiframework {

// Paints `client`'s whole window of `size` into an ARGB picture, with `shadow` around it
// when given (the picture then grows by the shadow's margin on every side).
CairoSurfacePtr RenderWindow(HostWindowClient& client, Size size,
                             const std::optional<ShadowParams>& shadow, CairoImageCache& images);

// Writes `surface` as a PNG file; false with `error` set when it cannot.
bool WritePng(cairo_surface_t* surface, const std::string& path, std::string* error);

}  // namespace uiframework
