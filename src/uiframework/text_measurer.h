#pragma once

// Text extents as the host's text engine computes them.

#include <string_view>

#include "uiframework/font.h"
#include "uiframework/geometry.h"

namespace uiframework {

class TextMeasurer {
  public:
    virtual ~TextMeasurer() = default;

    // Extent of `text` in `font` with the TextStyle bits `style`. A multi-line style wraps
    // at `maxWidth`. UI thread only.
    virtual Size Measure(std::string_view text, const FontInfo& font, unsigned style,
                         int maxWidth) = 0;
};

}  // namespace uiframework
