#include "uiframework/container.h"

#include <algorithm>

#include "uiframework/attribute_text.h"
#include "uiframework/paint_manager.h"

namespace uiframework {

namespace {

ChildAlign ParseAlign(std::string_view value) {
    if (value == "center" || value == "vcenter") {
        return ChildAlign::kCenter;
    }
    if (value == "right" || value == "bottom") {
        return ChildAlign::kEnd;
    }
    return ChildAlign::kStart;
}

int AlignOffset(ChildAlign align, int room) {
    switch (align) {
        case ChildAlign::kCenter:
            return room / 2;
        case ChildAlign::kEnd:
            return room;
        case ChildAlign::kStart:
            break;
    }
    return 0;
}

// One box direction seen through accessors, so that both box layouts share the algorithm.
struct Axis {
    bool vertical;

    int Main(Size s) const { return vertical ? s.cy : s.cx; }
    int Cross(Size s) const { return vertical ? s.cx : s.cy; }
    int MainPadBefore(const Insets& p) const { return vertical ? p.top : p.left; }
    int MainPadAfter(const Insets& p) const { return vertical ? p.bottom : p.right; }
    int CrossPadBefore(const Insets& p) const { return vertical ? p.left : p.top; }
    int CrossPadAfter(const Insets& p) const { return vertical ? p.right : p.bottom; }
    int MainMin(const Control& c) const { return vertical ? c.GetMinHeight() : c.GetMinWidth(); }
    int MainMax(const Control& c) const { return vertical ? c.GetMaxHeight() : c.GetMaxWidth(); }
    int CrossMin(const Control& c) const { return vertical ? c.GetMinWidth() : c.GetMinHeight(); }
    int CrossMax(const Control& c) const { return vertical ? c.GetMaxWidth() : c.GetMaxHeight(); }
    int MainStart(const Rect& r) const { return vertical ? r.top : r.left; }
    int CrossStart(const Rect& r) const { return vertical ? r.left : r.top; }
    int MainExtent(const Rect& r) const { return vertical ? r.Height() : r.Width(); }
    int CrossExtent(const Rect& r) const { return vertical ? r.Width() : r.Height(); }
    Rect Make(int mainPos, int crossPos, int mainSize, int crossSize) const {
        return vertical ? Rect::FromSize(crossPos, mainPos, crossSize, mainSize)
                        : Rect::FromSize(mainPos, crossPos, mainSize, crossSize);
    }
};

int Clamp(int value, int low, int high) {
    return std::max(low, std::min(value, std::max(low, high)));
}

void LayOutLine(const std::vector<Control*>& children, const Rect& inner, int childPadding,
                ChildAlign crossAlign, Axis axis) {
    Size available{inner.Width(), inner.Height()};
    std::vector<int> mainSizes;
    std::vector<int> crossSizes;
    int taken = 0;
    int fillers = 0;
    for (Control* child : children) {
        Size estimate = child->EstimateSize(available);
        int main = axis.Main(estimate);
        if (main > 0) {
            main = Clamp(main, axis.MainMin(*child), axis.MainMax(*child));
            taken += main;
        } else {
            ++fillers;
        }
        mainSizes.push_back(main);
        crossSizes.push_back(axis.Cross(estimate));
        taken += axis.MainPadBefore(child->GetPadding()) + axis.MainPadAfter(child->GetPadding());
    }
    if (children.size() > 1) {
        taken += childPadding * static_cast<int>(children.size() - 1);
    }
    int rest = std::max(0, axis.MainExtent(inner) - taken);
    int share = fillers > 0 ? rest / fillers : 0;
    int remainder = fillers > 0 ? rest % fillers : 0;

    int pos = axis.MainStart(inner);
    int fillersSeen = 0;
    for (size_t i = 0; i < children.size(); ++i) {
        Control& child = *children[i];
        const Insets& pad = child.GetPadding();
        int main = mainSizes[i];
        if (main == 0) {
            ++fillersSeen;
            main = share + (fillersSeen == fillers ? remainder : 0);
            main = Clamp(main, axis.MainMin(child), axis.MainMax(child));
        }
        int crossRoom =
            axis.CrossExtent(inner) - axis.CrossPadBefore(pad) - axis.CrossPadAfter(pad);
        int cross = crossSizes[i];
        cross = cross > 0 ? Clamp(cross, axis.CrossMin(child), axis.CrossMax(child))
                          : std::max(0, crossRoom);
        int crossPos = axis.CrossStart(inner) + axis.CrossPadBefore(pad) +
                       AlignOffset(crossAlign, crossRoom - cross);
        pos += axis.MainPadBefore(pad);
        child.SetPos(axis.Make(pos, crossPos, main, cross));
        pos += main + axis.MainPadAfter(pad) + childPadding;
    }
}

}  // namespace

void Container::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "inset") {
        if (auto v = ParseInsets(value)) {
            inset_ = *v;
        }
    } else if (name == "childpadding") {
        if (auto v = ParseInt(value)) {
            childPadding_ = std::max(0, *v);
        }
    } else if (name == "childalign") {
        childAlign_ = ParseAlign(value);
    } else if (name == "childvalign") {
        childVAlign_ = ParseAlign(value);
    } else {
        Control::SetAttribute(name, value);
    }
}

Control* Container::ChildAt(size_t index) const {
    return index < items_.size() ? items_[index].get() : nullptr;
}

bool Container::AddChild(std::unique_ptr<Control> child) {
    return Add(std::move(child)) != nullptr;
}

Control* Container::Add(std::unique_ptr<Control> child) {
    if (!child) {
        return nullptr;
    }
    Control* added = child.get();
    items_.push_back(std::move(child));
    if (PaintManager* manager = GetManager()) {
        added->Attach(manager, this);
        added->DoInit();
        NeedUpdate();
    }
    return added;
}

std::vector<Control*> Container::FlowChildren() const {
    std::vector<Control*> flow;
    for (const auto& item : items_) {
        if (item->IsVisible() && !item->IsFloat()) {
            flow.push_back(item.get());
        }
    }
    return flow;
}

void Container::PlaceFloats(const Rect& inner) {
    for (const auto& item : items_) {
        if (item->IsVisible() && item->IsFloat()) {
            item->SetPos(item->GetFloatPos().Offset(inner.left, inner.top));
        }
    }
}

void Container::PlaceInArea(Control& child, const Rect& area) {
    const Insets& pad = child.GetPadding();
    Rect room = area.Deflated(pad);
    Size estimate = child.EstimateSize(Size{room.Width(), room.Height()});
    int width = estimate.cx > 0 ? Clamp(estimate.cx, child.GetMinWidth(), child.GetMaxWidth())
                                : std::max(0, room.Width());
    int height = estimate.cy > 0 ? Clamp(estimate.cy, child.GetMinHeight(), child.GetMaxHeight())
                                 : std::max(0, room.Height());
    int x = room.left + AlignOffset(childAlign_, room.Width() - width);
    int y = room.top + AlignOffset(childVAlign_, room.Height() - height);
    child.SetPos(Rect::FromSize(x, y, width, height));
}

void Container::SetPos(const Rect& rect) {
    Control::SetPos(rect);
    Rect inner = InnerRect();
    for (Control* child : FlowChildren()) {
        PlaceInArea(*child, inner);
    }
    PlaceFloats(inner);
}

Control* Container::FindControlAt(Point point) {
    if (!IsVisible() || !GetPos().Contains(point)) {
        return nullptr;
    }
    for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
        if (Control* hit = (*it)->FindControlAt(point)) {
            return hit;
        }
    }
    return IsMouseEnabled() ? this : nullptr;
}

void Container::DoPaint(Canvas& canvas, const Rect& dirty) {
    Control::DoPaint(canvas, dirty);
    Rect clip = GetPos().Intersect(dirty);
    if (clip.IsEmpty()) {
        return;
    }
    canvas.PushClip(clip);
    for (const auto& item : items_) {
        item->Paint(canvas, clip);
    }
    canvas.PopClip();
}

void VerticalLayout::SetPos(const Rect& rect) {
    Control::SetPos(rect);
    Rect inner = InnerRect();
    LayOutLine(FlowChildren(), inner, childPadding_, childAlign_, Axis{true});
    PlaceFloats(inner);
}

void HorizontalLayout::SetPos(const Rect& rect) {
    Control::SetPos(rect);
    Rect inner = InnerRect();
    LayOutLine(FlowChildren(), inner, childPadding_, childVAlign_, Axis{false});
    PlaceFloats(inner);
}

}  // namespace uiframework
