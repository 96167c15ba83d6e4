#pragma once

// Predictable text extents without a font engine: an ASCII character is half the font
// size wide, any other character the full size; a line is the font size high. Multi-line
// styles wrap at the given width.

#include "uiframework/text_measurer.h"

namespace uiframework {

class HeadlessTextMeasurer : public TextMeasurer {
  public:
    Size Measure(std::string_view text, const FontInfo& font, unsigned style,
                 int maxWidth) override;
};

}  // namespace uiframework
