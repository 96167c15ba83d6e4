#include "uiframework/headless/headless_text_measurer.h"

#include <algorithm>

#include "uiframework/text_style.h"

namespace uiframework {

Size HeadlessTextMeasurer::Measure(std::string_view text, const FontInfo& font, unsigned style,
                                   int maxWidth) {
    int narrow = std::max(1, font.size / 2);
    int wide = std::max(1, font.size);
    int width = 0;
    for (unsigned char c : text) {
        if (c < 0x80) {
            width += narrow;
        } else if ((c & 0xC0) == 0xC0) {
            width += wide;  // the lead byte of a multi-byte character
        }
    }
    int lines = 1;
    if ((style & kTextSingleLine) == 0 && maxWidth > 0 && width > maxWidth) {
        lines = (width + maxWidth - 1) / maxWidth;
        width = maxWidth;
    }
    return Size{width, lines * font.size};
}

}  // namespace uiframework
