#include "uiframework/shadow_window.h"

namespace uiframework {

bool CShadowWnd::SetSize(int size) {
    if (size < -20 || size > 20) {
        return false;
    }
    params_.size = size;
    return true;
}

bool CShadowWnd::SetSharpness(int sharpness) {
    if (sharpness < 0 || sharpness > 20) {
        return false;
    }
    params_.sharpness = sharpness;
    return true;
}

bool CShadowWnd::SetDarkness(int darkness) {
    if (darkness < 0 || darkness > 255) {
        return false;
    }
    params_.darkness = darkness;
    return true;
}

bool CShadowWnd::SetPosition(int x, int y) {
    if (x < -20 || x > 20 || y < -20 || y > 20) {
        return false;
    }
    params_.position = Point{x, y};
    return true;
}

}  // namespace uiframework
