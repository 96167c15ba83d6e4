#pragma once

// Text through pango: the same layout for measuring and for drawing, so that what is
// measured is what is painted.

#include <pango/pangocairo.h>

#include <memory>
#include <string_view>

#include "uiframework/font.h"
#include "uiframework/text_measurer.h"

namespace uiframework {

struct GObjectDeleter {
    void operator()(void* object) const { g_object_unref(object); }
};
using PangoLayoutPtr = std::unique_ptr<PangoLayout, GObjectDeleter>;
using PangoContextPtr = std::unique_ptr<PangoContext, GObjectDeleter>;

// A layout of `text` in `font`. Multi-line styles wrap at `width` and are aligned within
// it; a single line is cut with an ellipsis at `width` for kTextEndEllipsis and otherwise
// left to the caller to place. The family falls back to an installed CJK face.
PangoLayoutPtr MakeTextLayout(PangoContext* context, std::string_view text, const FontInfo& font,
                              unsigned style, int width);

class PangoTextMeasurer : public TextMeasurer {
  public:
    PangoTextMeasurer();
    Size Measure(std::string_view text, const FontInfo& font, unsigned style,
                 int maxWidth) override;

  private:
    PangoContextPtr context_;
};

}  // namespace uiframework
