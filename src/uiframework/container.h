#pragma once

// Containers: the plain container (children stacked on its inner rectangle) and the two
// box layouts. A box layout gives each visible child its fixed size along the box's
// direction; children without one share what is left equally (the last takes the
// remainder). Across the direction a child takes its fixed size, or the whole inner extent,
// placed by the container's child alignment. Paddings surround children, `inset` is kept
// free inside the container, `childpadding` lies between neighbours. Hidden children take
// no space; floating children sit at their `pos`.

#include <memory>
#include <vector>

#include "uiframework/control.h"

namespace uiframework {

enum class ChildAlign { kStart, kCenter, kEnd };

class Container : public Control {
  public:
    std::string_view GetClass() const override { return "Container"; }
    void SetAttribute(std::string_view name, std::string_view value) override;

    size_t ChildCount() const override { return items_.size(); }
    Control* ChildAt(size_t index) const override;
    bool AddChild(std::unique_ptr<Control> child) override;
    // Appends a control; one added to a container inside a window joins that window.
    virtual Control* Add(std::unique_ptr<Control> child);

    const Insets& GetInset() const { return inset_; }
    int GetChildPadding() const { return childPadding_; }

    void SetPos(const Rect& rect) override;
    Control* FindControlAt(Point point) override;

  protected:
    void DoPaint(Canvas& canvas, const Rect& dirty) override;
    Rect InnerRect() const { return GetPos().Deflated(inset_); }
    // Children that take part in the flow: visible and not floating.
    std::vector<Control*> FlowChildren() const;
    void PlaceFloats(const Rect& inner);
    // Lays `child` into `area` less its padding, at its fixed size where it has one.
    void PlaceInArea(Control& child, const Rect& area);

    std::vector<std::unique_ptr<Control>> items_;
    Insets inset_;
    int childPadding_ = 0;
    ChildAlign childAlign_ = ChildAlign::kStart;
    ChildAlign childVAlign_ = ChildAlign::kStart;
};

class VerticalLayout : public Container {
  public:
    std::string_view GetClass() const override { return "VerticalLayout"; }
    void SetPos(const Rect& rect) override;
};

class HorizontalLayout : public Container {
  public:
    std::string_view GetClass() const override { return "HorizontalLayout"; }
    void SetPos(const Rect& rect) override;
};

}  // namespace uiframework
