#include "uiframework/button.h"

#include "uiframework/attribute_text.h"
#include "uiframework/paint_manager.h"

namespace uiframework {

namespace {

// A colour attribute value; 0 means "not given" for the state colours.
void SetColor(Color& target, std::string_view value) {
    if (auto c = ParseColor(value)) {
        target = *c;
    }
}

const ImageAttributes& OrElse(const ImageAttributes& preferred, const ImageAttributes& fallback) {
    return preferred.IsEmpty() ? fallback : preferred;
}

Color OrElse(Color preferred, Color fallback) {
    return preferred != 0 ? preferred : fallback;
}

}  // namespace

Button::Button() : Label(kTextCenter | kTextVCenter | kTextSingleLine) {}

void Button::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "normalimage") {
        normalImage_ = ParseImageAttributes(value);
    } else if (name == "hotimage") {
        hotImage_ = ParseImageAttributes(value);
    } else if (name == "pushedimage") {
        pushedImage_ = ParseImageAttributes(value);
    } else if (name == "focusedimage") {
        focusedImage_ = ParseImageAttributes(value);
    } else if (name == "disabledimage") {
        disabledImage_ = ParseImageAttributes(value);
    } else if (name == "hottextcolor") {
        SetColor(hotTextColor_, value);
    } else if (name == "pushedtextcolor") {
        SetColor(pushedTextColor_, value);
    } else if (name == "focusedtextcolor") {
        SetColor(focusedTextColor_, value);
    } else if (name == "hotbkcolor") {
        SetColor(hotBkColor_, value);
    } else if (name == "pushedbkcolor") {
        SetColor(pushedBkColor_, value);
    } else if (name == "disabledbkcolor") {
        SetColor(disabledBkColor_, value);
    } else if (name == "hotbordercolor") {
        SetColor(hotBorderColor_, value);
    } else if (name == "pushedbordercolor") {
        SetColor(pushedBorderColor_, value);
    } else {
        Label::SetAttribute(name, value);
    }
}

void Button::SetEnabled(bool enabled) {
    if (!enabled) {
        hot_ = false;
        captured_ = false;
        pushedInside_ = false;
    }
    Label::SetEnabled(enabled);
}

void Button::SetNormalImage(std::string_view attributes) {
    normalImage_ = ParseImageAttributes(attributes);
    Invalidate();
}

void Button::SetHotImage(std::string_view attributes) {
    hotImage_ = ParseImageAttributes(attributes);
    Invalidate();
}

void Button::SetPushedImage(std::string_view attributes) {
    pushedImage_ = ParseImageAttributes(attributes);
    Invalidate();
}

bool Button::Activate() {
    if (!IsEnabled() || !IsVisible()) {
        return false;
    }
    if (PaintManager* manager = GetManager()) {
        manager->SendNotify(this, kNotifyClick);
    }
    return true;
}

void Button::DoEvent(const ControlEvent& event) {
    switch (event.type) {
        case EventType::kMouseEnter:
            if (IsEnabled()) {
                hot_ = true;
                Invalidate();
            }
            break;
        case EventType::kMouseLeave:
            hot_ = false;
            Invalidate();
            break;
        case EventType::kButtonDown:
            if (IsEnabled()) {
                captured_ = true;
                pushedInside_ = true;
                Invalidate();
            }
            break;
        case EventType::kMouseMove:
            if (captured_ && pushedInside_ != GetPos().Contains(event.point)) {
                pushedInside_ = !pushedInside_;
                Invalidate();
            }
            break;
        case EventType::kButtonUp:
            if (captured_) {
                captured_ = false;
                pushedInside_ = false;
                Invalidate();
                if (GetPos().Contains(event.point)) {
                    Activate();
                }
            }
            break;
        default:
            Label::DoEvent(event);
            break;
    }
}

const ImageAttributes& Button::StateImage() const {
    if (!IsEnabled()) {
        return OrElse(disabledImage_, normalImage_);
    }
    if (IsPushed()) {
        return OrElse(pushedImage_, normalImage_);
    }
    if (hot_) {
        return OrElse(hotImage_, normalImage_);
    }
    if (IsFocused()) {
        return OrElse(focusedImage_, normalImage_);
    }
    return normalImage_;
}

void Button::PaintBkColor(Canvas& canvas) {
    Color color = GetBkColor();
    if (!IsEnabled()) {
        color = OrElse(disabledBkColor_, color);
    } else if (IsPushed()) {
        color = OrElse(pushedBkColor_, OrElse(hotBkColor_, color));
    } else if (hot_) {
        color = OrElse(hotBkColor_, color);
    }
    if ((color >> 24) != 0) {
        canvas.FillRect(GetPos(), color, GetBorderRound());
    }
}

void Button::PaintStatusImage(Canvas& canvas) {
    DrawImage(canvas, StateImage());
}

void Button::PaintBorder(Canvas& canvas) {
    Color color = GetBorderColor();
    if (IsEnabled() && IsPushed()) {
        color = OrElse(pushedBorderColor_, OrElse(hotBorderColor_, color));
    } else if (IsEnabled() && hot_) {
        color = OrElse(hotBorderColor_, color);
    }
    DrawBorderWith(canvas, color);
}

Color Button::ShownTextColor() const {
    if (!IsEnabled()) {
        return GetDisabledTextColor();
    }
    if (IsPushed() && pushedTextColor_ != 0) {
        return pushedTextColor_;
    }
    if ((hot_ || IsPushed()) && hotTextColor_ != 0) {
        return hotTextColor_;
    }
    if (IsFocused() && focusedTextColor_ != 0) {
        return focusedTextColor_;
    }
    return GetTextColor();
}

}  // namespace uiframework
