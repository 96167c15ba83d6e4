#pragma once

// A label that takes clicks. Pressing and releasing the mouse over it raises "click"; its
// images and colours follow the normal, hot, pushed, focused and disabled states. A state
// without its own image or colour shows the normal one.

#include "uiframework/image_attributes.h"
#include "uiframework/label.h"

namespace uiframework {

class Button : public Label {
  public:
    Button();
    std::string_view GetClass() const override { return "Button"; }
    // normalimage, hotimage, pushedimage, focusedimage, disabledimage, hottextcolor,
    // pushedtextcolor, focusedtextcolor, hotbkcolor, pushedbkcolor, disabledbkcolor,
    // hotbordercolor, pushedbordercolor, plus the label's attributes.
    void SetAttribute(std::string_view name, std::string_view value) override;

    bool IsInteractive() const override { return true; }
    bool IsHot() const { return hot_; }
    // Held down with the pointer over it.
    bool IsPushed() const { return captured_ && pushedInside_; }
    void SetEnabled(bool enabled) override;

    const ImageAttributes& GetNormalImage() const { return normalImage_; }
    void SetNormalImage(std::string_view attributes);
    void SetHotImage(std::string_view attributes);
    void SetPushedImage(std::string_view attributes);

    // What a completed click does; raises "click". False when the button is disabled.
    virtual bool Activate();
    void DoEvent(const ControlEvent& event) override;

  protected:
    void PaintBkColor(Canvas& canvas) override;
    void PaintStatusImage(Canvas& canvas) override;
    void PaintBorder(Canvas& canvas) override;
    Color ShownTextColor() const override;
    // The image for the current state, before any selection (see Option).
    const ImageAttributes& StateImage() const;

  private:
    bool hot_ = false;
    bool captured_ = false;
    bool pushedInside_ = false;

    ImageAttributes normalImage_;
    ImageAttributes hotImage_;
    ImageAttributes pushedImage_;
    ImageAttributes focusedImage_;
    ImageAttributes disabledImage_;
    Color hotTextColor_ = 0;
    Color pushedTextColor_ = 0;
    Color focusedTextColor_ = 0;
    Color hotBkColor_ = 0;
    Color pushedBkColor_ = 0;
    Color disabledBkColor_ = 0;
    Color hotBorderColor_ = 0;
    Color pushedBorderColor_ = 0;
};

}  // namespace uiframework
