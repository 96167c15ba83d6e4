#pragma once

// The drop shadow around a window. Each setter refuses a value outside its accepted range
// and keeps the previous one.

#include "uiframework/host.h"

namespace uiframework {

class CShadowWnd {
  public:
    bool SetSize(int size);            // -20..20
    bool SetSharpness(int sharpness);  // 0..20
    bool SetDarkness(int darkness);    // 0..255
    bool SetPosition(int x, int y);    // each -20..20; both or neither
    void SetColor(Color color) { params_.color = color; }
    void SetImage(std::string image) { params_.image = std::move(image); }
    void SetShadowCorner(const Insets& corner) { params_.corner = corner; }
    void SetHoleOffset(const Insets& offset) { params_.holeOffset = offset; }

    const ShadowParams& Params() const { return params_; }

    // Puts the shadow around `window`; the host draws it where the screen can show one.
    void Create(HostWindow& window) const { window.SetShadow(params_); }

  private:
    ShadowParams params_;
};

}  // namespace uiframework
