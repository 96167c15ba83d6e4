#include "uiframework/cairo/shadow_painter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "uiframework/cairo/image_cache.h"

namespace uiframework {

namespace {

// Distance from (x, y) to the rectangle `core` (0 inside it).
double DistanceOutside(double x, double y, const Rect& core) {
    double dx = std::max({core.left - x, 0.0, x - (core.right - 1)});
    double dy = std::max({core.top - y, 0.0, y - (core.bottom - 1)});
    return std::hypot(dx, dy);
}

}  // namespace

int ShadowMargin(const ShadowParams& shadow) {
    if (shadow.darkness <= 0) {
        return 0;
    }
    int reach = std::max(0, shadow.size) + shadow.sharpness;
    int shift = std::max(std::abs(shadow.position.x), std::abs(shadow.position.y));
    return std::max(0, reach + shift);
}

void PaintShadow(cairo_t* cr, const Rect& window, const ShadowParams& shadow) {
    int margin = ShadowMargin(shadow);
    if (margin == 0 || window.IsEmpty()) {
        return;
    }
    // Solid under the window grown by `size`, fading out over `sharpness` pixels (a
    // sharpness of 0 gives a hard edge).
    Rect area{window.left - margin, window.top - margin, window.right + margin,
              window.bottom + margin};
    Rect core = Rect{window.left - shadow.size, window.top - shadow.size,
                     window.right + shadow.size, window.bottom + shadow.size}
                    .Offset(shadow.position.x, shadow.position.y);
    CairoSurfacePtr mask(cairo_image_surface_create(CAIRO_FORMAT_A8, area.Width(), area.Height()));
    cairo_surface_flush(mask.get());
    unsigned char* pixels = cairo_image_surface_get_data(mask.get());
    int stride = cairo_image_surface_get_stride(mask.get());
    double fade = std::max(1, shadow.sharpness);
    double darkness = std::clamp(shadow.darkness, 0, 255);
    for (int row = 0; row < area.Height(); ++row) {
        for (int column = 0; column < area.Width(); ++column) {
            double d = DistanceOutside(area.left + column + 0.5, area.top + row + 0.5, core);
            double t = std::clamp(1.0 - d / fade, 0.0, 1.0);
            // Smooth step: a soft edge without a visible band.
            double level = t * t * (3 - 2 * t);
            pixels[row * stride + column] = static_cast<uint8_t>(std::lround(darkness * level));
        }
    }
    cairo_surface_mark_dirty(mask.get());

    cairo_save(cr);
    // Only around the window: the window itself may be translucent at its corners.
    cairo_rectangle(cr, area.left, area.top, area.Width(), area.Height());
    cairo_rectangle(cr, window.left, window.top, window.Width(), window.Height());
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(cr);
    cairo_set_source_rgb(cr, ((shadow.color >> 16) & 0xFF) / 255.0,
                         ((shadow.color >> 8) & 0xFF) / 255.0, (shadow.color & 0xFF) / 255.0);
    cairo_mask_surface(cr, mask.get(), area.left, area.top);
    cairo_restore(cr);
}

}  // namespace uiframework
