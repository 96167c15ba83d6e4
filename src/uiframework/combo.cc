#include "uiframework/combo.h"

#include "uiframework/paint_manager.h"

namespace uiframework {

bool Combo::AddChild(std::unique_ptr<Control> child) {
    if (!child) {
        return false;
    }
    AddItem(child->GetText());
    return true;
}

void Combo::AddItem(std::string text) {
    items_.push_back(std::move(text));
}

std::string Combo::GetItemText(size_t index) const {
    if (index >= items_.size()) {
        return {};
    }
    PaintManager* manager = GetManager();
    return manager != nullptr ? manager->Texts().Expand(items_[index]) : items_[index];
}

bool Combo::SelectItem(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size())) {
        return false;
    }
    if (index == curSel_) {
        return true;
    }
    int previous = curSel_;
    curSel_ = index;
    Invalidate();
    if (PaintManager* manager = GetManager()) {
        manager->SendNotify(this, kNotifyItemSelect, static_cast<uintptr_t>(index),
                            static_cast<intptr_t>(previous));
    }
    return true;
}

std::string Combo::ShownText() const {
    return curSel_ >= 0 ? GetItemText(static_cast<size_t>(curSel_)) : DisplayText();
}

}  // namespace uiframework
