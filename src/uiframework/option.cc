#include "uiframework/option.h"

#include "uiframework/attribute_text.h"
#include "uiframework/paint_manager.h"

namespace uiframework {

void Option::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "group") {
        group_ = std::string(value);
    } else if (name == "selected") {
        selected_ = ParseBool(value);
    } else if (name == "selectedimage") {
        selectedImage_ = ParseImageAttributes(value);
    } else if (name == "selectedhotimage") {
        selectedHotImage_ = ParseImageAttributes(value);
    } else if (name == "selectedpushedimage") {
        selectedPushedImage_ = ParseImageAttributes(value);
    } else if (name == "selecteddisabledimage") {
        selectedDisabledImage_ = ParseImageAttributes(value);
    } else if (name == "selectedtextcolor") {
        if (auto c = ParseColor(value)) {
            selectedTextColor_ = *c;
        }
    } else if (name == "selectedbkcolor") {
        if (auto c = ParseColor(value)) {
            selectedBkColor_ = *c;
        }
    } else {
        Button::SetAttribute(name, value);
    }
}

void Option::Selected(bool selected, bool notify) {
    if (selected_ == selected) {
        return;
    }
    selected_ = selected;
    PaintManager* manager = GetManager();
    if (selected_ && !group_.empty() && manager != nullptr && manager->GetRoot() != nullptr) {
        DeselectGroupPeers(*manager->GetRoot());
    }
    Invalidate();
    if (notify && manager != nullptr) {
        manager->SendNotify(this, kNotifySelectChanged, selected_ ? 1 : 0);
    }
}

void Option::DeselectGroupPeers(Control& node) {
    auto* peer = dynamic_cast<Option*>(&node);
    if (peer != nullptr && peer != this && peer->group_ == group_) {
        peer->Selected(false);
    }
    for (size_t i = 0; i < node.ChildCount(); ++i) {
        DeselectGroupPeers(*node.ChildAt(i));
    }
}

bool Option::Activate() {
    if (!Button::Activate()) {
        return false;
    }
    Selected(group_.empty() ? !selected_ : true);
    return true;
}

void Option::PaintBkColor(Canvas& canvas) {
    if (selected_ && IsEnabled() && selectedBkColor_ != 0) {
        canvas.FillRect(GetPos(), selectedBkColor_, GetBorderRound());
        return;
    }
    Button::PaintBkColor(canvas);
}

void Option::PaintStatusImage(Canvas& canvas) {
    if (!selected_ || selectedImage_.IsEmpty()) {
        Button::PaintStatusImage(canvas);
        return;
    }
    const ImageAttributes* image = &selectedImage_;
    if (!IsEnabled() && !selectedDisabledImage_.IsEmpty()) {
        image = &selectedDisabledImage_;
    } else if (IsEnabled() && IsPushed() && !selectedPushedImage_.IsEmpty()) {
        image = &selectedPushedImage_;
    } else if (IsEnabled() && IsHot() && !selectedHotImage_.IsEmpty()) {
        image = &selectedHotImage_;
    }
    DrawImage(canvas, *image);
}

Color Option::ShownTextColor() const {
    if (selected_ && IsEnabled() && selectedTextColor_ != 0) {
        return selectedTextColor_;
    }
    return Button::ShownTextColor();
}

}  // namespace uiframework
