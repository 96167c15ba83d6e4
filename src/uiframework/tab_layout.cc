#include "uiframework/tab_layout.h"

#include "uiframework/attribute_text.h"
#include "uiframework/paint_manager.h"

namespace uiframework {

void TabLayout::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "selectedid") {
        if (auto v = ParseInt(value)) {
            initialSel_ = *v;
        }
    } else {
        Container::SetAttribute(name, value);
    }
}

Control* TabLayout::Add(std::unique_ptr<Control> child) {
    if (!child) {
        return nullptr;
    }
    int index = static_cast<int>(items_.size());
    if (curSel_ < 0 && index == initialSel_) {
        curSel_ = index;
    }
    child->SetVisible(index == curSel_);
    return Container::Add(std::move(child));
}

bool TabLayout::SelectItem(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size())) {
        return false;
    }
    if (index == curSel_) {
        return true;
    }
    int previous = curSel_;
    curSel_ = index;
    for (size_t i = 0; i < items_.size(); ++i) {
        items_[i]->SetVisible(static_cast<int>(i) == index);
    }
    NeedUpdate();
    if (PaintManager* manager = GetManager()) {
        manager->SendNotify(this, kNotifyTabSelect, static_cast<uintptr_t>(index),
                            static_cast<intptr_t>(previous));
    }
    return true;
}

void TabLayout::SetPos(const Rect& rect) {
    Control::SetPos(rect);
    Rect inner = InnerRect();
    for (const auto& item : items_) {
        if (!item->IsFloat()) {
            PlaceInArea(*item, inner);
        }
    }
    PlaceFloats(inner);
}

}  // namespace uiframework
