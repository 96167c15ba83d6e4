#pragma once

// A canvas that keeps a list of what was drawn, for tests and for text dumps of a window.

#include <string>
#include <vector>

#include "uiframework/canvas.h"

namespace uiframework {

struct DrawOp {
    enum class Kind { kPushClip, kPopClip, kFill, kBorder, kImage, kText };
    Kind kind = Kind::kFill;
    Rect rect;
    Color color = 0;
    std::string text;  // the text drawn, or the image's file name
    FontInfo font;
    unsigned style = 0;
    ImageDraw image;
};

class RecordingCanvas : public Canvas {
  public:
    void PushClip(const Rect& rect) override;
    void PopClip() override;
    void FillRect(const Rect& rect, Color color, Size roundCorner) override;
    void DrawBorder(const Rect& rect, int width, Color color, Size roundCorner) override;
    void DrawImage(const ImageDraw& image) override;
    void DrawString(const Rect& rect, std::string_view text, const FontInfo& font, Color color,
                    unsigned style) override;

    const std::vector<DrawOp>& Ops() const { return ops_; }
    // The image draws and text draws alone, in order.
    std::vector<DrawOp> Images() const;
    std::vector<DrawOp> Texts() const;

  private:
    std::vector<DrawOp> ops_;
};

}  // namespace uiframework
