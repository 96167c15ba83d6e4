#include "uiframework/control.h"

#include <algorithm>

#include "uiframework/attribute_text.h"
#include "uiframework/paint_manager.h"

namespace uiframework {

Control::~Control() {
    if (manager_ != nullptr) {
        manager_->ForgetControl(this);
    }
}

void Control::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "name") {
        name_ = std::string(value);
    } else if (name == "text") {
        text_ = std::string(value);
    } else if (name == "userdata") {
        userData_ = std::string(value);
    } else if (name == "tooltip") {
        toolTip_ = std::string(value);
    } else if (name == "width") {
        if (auto v = ParseInt(value)) {
            fixed_.cx = std::max(0, *v);
        }
    } else if (name == "height") {
        if (auto v = ParseInt(value)) {
            fixed_.cy = std::max(0, *v);
        }
    } else if (name == "minwidth") {
        if (auto v = ParseInt(value)) {
            minSize_.cx = std::max(0, *v);
        }
    } else if (name == "minheight") {
        if (auto v = ParseInt(value)) {
            minSize_.cy = std::max(0, *v);
        }
    } else if (name == "maxwidth") {
        if (auto v = ParseInt(value)) {
            maxSize_.cx = std::max(0, *v);
        }
    } else if (name == "maxheight") {
        if (auto v = ParseInt(value)) {
            maxSize_.cy = std::max(0, *v);
        }
    } else if (name == "pos") {
        // A position gives the size too, as the layouts write "pos" for fixed sizes.
        if (auto r = ParseRect(value)) {
            floatPos_ = *r;
            fixed_ = Size{std::max(0, r->Width()), std::max(0, r->Height())};
        }
    } else if (name == "float") {
        float_ = ParseBool(value);
    } else if (name == "padding") {
        if (auto p = ParseInsets(value)) {
            padding_ = *p;
        }
    } else if (name == "visible") {
        visible_ = ParseBool(value);
    } else if (name == "enabled") {
        enabled_ = ParseBool(value);
    } else if (name == "mouse") {
        mouseEnabled_ = ParseBool(value);
    } else if (name == "bkcolor") {
        if (auto c = ParseColor(value)) {
            bkColor_ = *c;
        }
    } else if (name == "bkimage") {
        bkImage_ = ParseImageAttributes(value);
    } else if (name == "bordersize") {
        if (auto v = ParseInt(value)) {
            borderSize_ = std::max(0, *v);
        }
    } else if (name == "bordercolor") {
        if (auto c = ParseColor(value)) {
            borderColor_ = *c;
        }
    } else if (name == "borderround") {
        if (auto s = ParseSize(value)) {
            borderRound_ = *s;
        }
    }
}

void Control::SetText(std::string text) {
    if (text == text_) {
        return;
    }
    text_ = std::move(text);
    Invalidate();
}

std::string Control::DisplayText() const {
    if (manager_ == nullptr) {
        return text_;
    }
    return manager_->Texts().Expand(text_);
}

bool Control::AddChild(std::unique_ptr<Control> /*child*/) {
    return false;
}

void Control::Attach(PaintManager* manager, Control* parent) {
    manager_ = manager;
    parent_ = parent;
    for (size_t i = 0; i < ChildCount(); ++i) {
        ChildAt(i)->Attach(manager, this);
    }
}

void Control::SetPos(const Rect& rect) {
    rect_ = rect;
}

Size Control::EstimateSize(Size /*available*/) {
    return fixed_;
}

void Control::SetFixedWidth(int width) {
    fixed_.cx = std::max(0, width);
    NeedUpdate();
}

void Control::SetFixedHeight(int height) {
    fixed_.cy = std::max(0, height);
    NeedUpdate();
}

void Control::SetPadding(const Insets& padding) {
    padding_ = padding;
    NeedUpdate();
}

void Control::SetVisible(bool visible) {
    if (visible_ == visible) {
        return;
    }
    visible_ = visible;
    NeedUpdate();
}

void Control::SetEnabled(bool enabled) {
    if (enabled_ == enabled) {
        return;
    }
    enabled_ = enabled;
    Invalidate();
}

bool Control::IsFocused() const {
    return manager_ != nullptr && manager_->GetFocus() == this;
}

void Control::SetFocus() {
    if (manager_ != nullptr) {
        manager_->SetFocus(this);
    }
}

void Control::SetBkColor(Color color) {
    bkColor_ = color;
    Invalidate();
}

void Control::SetBkImage(std::string_view attributes) {
    bkImage_ = ParseImageAttributes(attributes);
    Invalidate();
}

bool Control::SetTimer(unsigned id, uint32_t periodMs) {
    return manager_ != nullptr && manager_->SetTimer(this, id, periodMs);
}

void Control::KillTimer(unsigned id) {
    if (manager_ != nullptr) {
        manager_->KillTimer(this, id);
    }
}

Control* Control::FindControlAt(Point point) {
    if (!visible_ || !rect_.Contains(point)) {
        return nullptr;
    }
    return mouseEnabled_ ? this : nullptr;
}

void Control::DoEvent(const ControlEvent& event) {
    if (event.type == EventType::kTimer && manager_ != nullptr) {
        manager_->SendNotify(this, kNotifyTimer, event.wParam, event.lParam);
    }
}

void Control::Paint(Canvas& canvas, const Rect& dirty) {
    if (!visible_ || rect_.Intersect(dirty).IsEmpty()) {
        return;
    }
    DoPaint(canvas, dirty);
}

void Control::Invalidate() {
    if (manager_ != nullptr) {
        manager_->Invalidate(rect_);
    }
}

void Control::NeedUpdate() {
    if (manager_ != nullptr) {
        manager_->NeedUpdate();
    }
}

void Control::DoPaint(Canvas& canvas, const Rect& /*dirty*/) {
    PaintBkColor(canvas);
    PaintBkImage(canvas);
    PaintStatusImage(canvas);
    PaintText(canvas);
    PaintBorder(canvas);
}

void Control::PaintBkColor(Canvas& canvas) {
    if ((bkColor_ >> 24) != 0) {
        canvas.FillRect(rect_, bkColor_, borderRound_);
    }
}

void Control::PaintBkImage(Canvas& canvas) {
    DrawImage(canvas, bkImage_);
}

void Control::PaintBorder(Canvas& canvas) {
    DrawBorderWith(canvas, borderColor_);
}

void Control::DrawBorderWith(Canvas& canvas, Color color) {
    if (borderSize_ > 0 && (color >> 24) != 0) {
        canvas.DrawBorder(rect_, borderSize_, color, borderRound_);
    }
}

void Control::DrawImage(Canvas& canvas, const ImageAttributes& image, const Rect* dest,
                        const Rect* source) {
    if (image.IsEmpty()) {
        return;
    }
    ImageDraw draw;
    draw.file = image.file;
    if (dest != nullptr) {
        draw.dest = *dest;
    } else if (image.dest) {
        draw.dest = image.dest->Offset(rect_.left, rect_.top);
    } else {
        draw.dest = rect_;
    }
    if (source != nullptr) {
        draw.source = *source;
    } else {
        draw.source = image.source;
    }
    draw.corner = image.corner;
    draw.fade = image.fade;
    draw.hole = image.hole;
    draw.xtiled = image.xtiled;
    draw.ytiled = image.ytiled;
    canvas.DrawImage(draw);
}

}  // namespace uiframework
