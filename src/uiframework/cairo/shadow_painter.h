#pragma once

// The drop shadow around a window, computed from its parameters. Where a shadow picture is
// named it is not drawn (no shipped layout names one).

#include <cairo.h>

#include "uiframework/host.h"

namespace uiframework {

// How far the shadow reaches beyond the window on its widest side; 0 for no shadow.
int ShadowMargin(const ShadowParams& shadow);

// Paints the shadow of a window occupying `window` (in the coordinates of `cr`), under
// where the window will be painted.
void PaintShadow(cairo_t* cr, const Rect& window, const ShadowParams& shadow);

}  // namespace uiframework
