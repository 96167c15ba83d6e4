#include "uiframework/progress.h"

#include <algorithm>

#include "uiframework/attribute_text.h"

namespace uiframework {

void Progress::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "min") {
        if (auto v = ParseInt(value)) {
            min_ = *v;
        }
    } else if (name == "max") {
        if (auto v = ParseInt(value)) {
            max_ = *v;
        }
    } else if (name == "value") {
        if (auto v = ParseInt(value)) {
            value_ = *v;
        }
    } else if (name == "foreimage") {
        foreImage_ = ParseImageAttributes(value);
    } else if (name == "hor") {
        horizontal_ = ParseBool(value);
    } else if (name == "isstretchfore") {
        stretchFore_ = ParseBool(value);
    } else {
        Label::SetAttribute(name, value);
    }
}

void Progress::SetValue(int value) {
    if (value == value_) {
        return;
    }
    value_ = value;
    Invalidate();
}

void Progress::SetForeImage(std::string_view attributes) {
    foreImage_ = ParseImageAttributes(attributes);
    Invalidate();
}

void Progress::PaintStatusImage(Canvas& canvas) {
    if (foreImage_.IsEmpty() || max_ <= min_) {
        return;
    }
    const Rect& bar = GetPos();
    int64_t reached = std::clamp(value_, min_, max_) - static_cast<int64_t>(min_);
    int64_t range = static_cast<int64_t>(max_) - min_;
    Rect part;  // relative to the bar
    if (horizontal_) {
        int width = static_cast<int>(bar.Width() * reached / range);
        part = Rect{0, 0, width, bar.Height()};
    } else {
        int height = static_cast<int>(bar.Height() * reached / range);
        part = Rect{0, bar.Height() - height, bar.Width(), bar.Height()};
    }
    if (part.IsEmpty()) {
        return;
    }
    Rect dest = part.Offset(bar.left, bar.top);
    DrawImage(canvas, foreImage_, &dest, stretchFore_ ? nullptr : &part);
}

}  // namespace uiframework
