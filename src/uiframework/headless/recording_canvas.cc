#include "uiframework/headless/recording_canvas.h"

namespace uiframework {

namespace {

DrawOp MakeOp(DrawOp::Kind kind, const Rect& rect, Color color = 0) {
    DrawOp op;
    op.kind = kind;
    op.rect = rect;
    op.color = color;
    return op;
}

}  // namespace

void RecordingCanvas::PushClip(const Rect& rect) {
    ops_.push_back(MakeOp(DrawOp::Kind::kPushClip, rect));
}

void RecordingCanvas::PopClip() {
    ops_.push_back(MakeOp(DrawOp::Kind::kPopClip, Rect{}));
}

void RecordingCanvas::FillRect(const Rect& rect, Color color, Size /*roundCorner*/) {
    ops_.push_back(MakeOp(DrawOp::Kind::kFill, rect, color));
}

void RecordingCanvas::DrawBorder(const Rect& rect, int /*width*/, Color color,
                                 Size /*roundCorner*/) {
    ops_.push_back(MakeOp(DrawOp::Kind::kBorder, rect, color));
}

void RecordingCanvas::DrawImage(const ImageDraw& image) {
    DrawOp op = MakeOp(DrawOp::Kind::kImage, image.dest);
    op.text = image.file;
    op.image = image;
    ops_.push_back(std::move(op));
}

void RecordingCanvas::DrawString(const Rect& rect, std::string_view text, const FontInfo& font,
                                 Color color, unsigned style) {
    DrawOp op = MakeOp(DrawOp::Kind::kText, rect, color);
    op.text = std::string(text);
    op.font = font;
    op.style = style;
    ops_.push_back(std::move(op));
}

std::vector<DrawOp> RecordingCanvas::Images() const {
    std::vector<DrawOp> images;
    for (const DrawOp& op : ops_) {
        if (op.kind == DrawOp::Kind::kImage) {
            images.push_back(op);
        }
    }
    return images;
}

std::vector<DrawOp> RecordingCanvas::Texts() const {
    std::vector<DrawOp> texts;
    for (const DrawOp& op : ops_) {
        if (op.kind == DrawOp::Kind::kText) {
            texts.push_back(op);
        }
    }
    return texts;
}

}  // namespace uiframework
