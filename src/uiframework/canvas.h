#pragma once

// What painting needs of a drawing surface. Coordinates are window coordinates; the host's
// canvas resolves image names through the window's resource source and draws nothing for
// a name it cannot load.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "uiframework/font.h"
#include "uiframework/geometry.h"

namespace uiframework {

struct ImageDraw {
    std::string file;
    Rect dest;                   // absolute
    std::optional<Rect> source;  // within the picture; the whole picture when absent
    Insets corner;
    uint8_t fade = 255;
    bool hole = false;
    bool xtiled = false;
    bool ytiled = false;
};

class Canvas {
  public:
    virtual ~Canvas() = default;

    // Clips nest; every push is followed by one pop.
    virtual void PushClip(const Rect& rect) = 0;
    virtual void PopClip() = 0;

    virtual void FillRect(const Rect& rect, Color color, Size roundCorner) = 0;
    virtual void DrawBorder(const Rect& rect, int width, Color color, Size roundCorner) = 0;
    virtual void DrawImage(const ImageDraw& image) = 0;
    virtual void DrawString(const Rect& rect, std::string_view text, const FontInfo& font,
                            Color color, unsigned style) = 0;
};

}  // namespace uiframework
