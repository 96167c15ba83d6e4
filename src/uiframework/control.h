#pragma once

// The base of every control: name, texts, geometry, look, state, events and painting.
// Controls belong to the tree of one window; they are used on the UI thread only.

#include <memory>
#include <string>
#include <string_view>

#include "uiframework/canvas.h"
#include "uiframework/geometry.h"
#include "uiframework/image_attributes.h"

namespace uiframework {

class PaintManager;

enum class EventType {
    kMouseEnter,
    kMouseLeave,
    kMouseMove,
    kButtonDown,
    kButtonUp,
    kTimer,  // wParam = timer id
    kSetFocus,
    kKillFocus,
};

struct ControlEvent {
    EventType type = EventType::kMouseMove;
    Point point;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

inline constexpr int kDefaultMaxExtent = 9999;

class Control {
  public:
    Control() = default;
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // The layout element name this control is built from.
    virtual std::string_view GetClass() const { return "Control"; }
    // Unknown names are ignored.
    virtual void SetAttribute(std::string_view name, std::string_view value);

    const std::string& GetName() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    const std::string& GetText() const { return text_; }
    virtual void SetText(std::string text);
    // The text as shown: "%{n}" tokens replaced from the localised text table.
    std::string DisplayText() const;
    const std::string& GetUserData() const { return userData_; }
    void SetUserData(std::string data) { userData_ = std::move(data); }
    const std::string& GetToolTip() const { return toolTip_; }

    // Tree.
    Control* GetParent() const { return parent_; }
    PaintManager* GetManager() const { return manager_; }
    virtual size_t ChildCount() const { return 0; }
    virtual Control* ChildAt(size_t /*index*/) const { return nullptr; }
    // Takes a control built from a child element of this one's element; false when this
    // kind of control keeps no children (the child is then dropped).
    virtual bool AddChild(std::unique_ptr<Control> child);
    // Binds this control and its children to a window; the manager calls DoInit after.
    void Attach(PaintManager* manager, Control* parent);
    // Runs once when the control has joined a window.
    virtual void DoInit() {}

    // Geometry.
    const Rect& GetPos() const { return rect_; }
    virtual void SetPos(const Rect& rect);
    // The size this control asks of its container; 0 in a direction means "share the rest".
    virtual Size EstimateSize(Size available);
    int GetFixedWidth() const { return fixed_.cx; }
    int GetFixedHeight() const { return fixed_.cy; }
    void SetFixedWidth(int width);
    void SetFixedHeight(int height);
    int GetMinWidth() const { return minSize_.cx; }
    int GetMinHeight() const { return minSize_.cy; }
    int GetMaxWidth() const { return maxSize_.cx; }
    int GetMaxHeight() const { return maxSize_.cy; }
    const Insets& GetPadding() const { return padding_; }
    void SetPadding(const Insets& padding);
    bool IsFloat() const { return float_; }
    // Position of a floating control relative to its container's inner rectangle.
    const Rect& GetFloatPos() const { return floatPos_; }

    // State.
    bool IsVisible() const { return visible_; }
    virtual void SetVisible(bool visible);
    bool IsEnabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);
    bool IsMouseEnabled() const { return mouseEnabled_; }
    bool IsFocused() const;
    void SetFocus();
    // Controls that take clicks; the caption band does not drag the window from them.
    virtual bool IsInteractive() const { return false; }

    // Look.
    Color GetBkColor() const { return bkColor_; }
    void SetBkColor(Color color);
    const ImageAttributes& GetBkImage() const { return bkImage_; }
    void SetBkImage(std::string_view attributes);
    int GetBorderSize() const { return borderSize_; }
    Color GetBorderColor() const { return borderColor_; }

    // Timers bound to this control; each tick arrives as a kTimer event.
    bool SetTimer(unsigned id, uint32_t periodMs);
    void KillTimer(unsigned id);

    // The deepest visible control under `point` that takes the mouse, or null.
    virtual Control* FindControlAt(Point point);
    // The base raises "timer" for timer events and ignores the rest.
    virtual void DoEvent(const ControlEvent& event);

    // Expires when the control is destroyed; may be copied on any thread, so that work
    // posted with the control as sender can tell whether it is still there.
    std::weak_ptr<const bool> LifeToken() const { return life_; }

    void Paint(Canvas& canvas, const Rect& dirty);
    void Invalidate();
    // Asks for a new layout of the window.
    void NeedUpdate();

  protected:
    virtual void DoPaint(Canvas& canvas, const Rect& dirty);
    virtual void PaintBkColor(Canvas& canvas);
    virtual void PaintBkImage(Canvas& canvas);
    virtual void PaintStatusImage(Canvas& /*canvas*/) {}
    virtual void PaintText(Canvas& /*canvas*/) {}
    virtual void PaintBorder(Canvas& canvas);

    // Draws `image` placed on this control; `dest` and `source` override its own attributes.
    void DrawImage(Canvas& canvas, const ImageAttributes& image, const Rect* dest = nullptr,
                   const Rect* source = nullptr);
    void DrawBorderWith(Canvas& canvas, Color color);
    Size GetBorderRound() const { return borderRound_; }

  private:
    const std::shared_ptr<const bool> life_ = std::make_shared<const bool>(true);
    std::string name_;
    std::string text_;
    std::string userData_;
    std::string toolTip_;
    Control* parent_ = nullptr;
    PaintManager* manager_ = nullptr;

    Rect rect_;
    Size fixed_;
    Size minSize_;
    Size maxSize_{kDefaultMaxExtent, kDefaultMaxExtent};
    Insets padding_;
    bool float_ = false;
    Rect floatPos_;

    bool visible_ = true;
    bool enabled_ = true;
    bool mouseEnabled_ = true;

    Color bkColor_ = 0;
    ImageAttributes bkImage_;
    int borderSize_ = 0;
    Color borderColor_ = 0;
    Size borderRound_;
};

}  // namespace uiframework
