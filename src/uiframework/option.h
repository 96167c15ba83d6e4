#pragma once

// A button with a selected state. Clicking toggles it, or, in a group, selects it and
// deselects the other options of the group. Every change raises "selectchanged"
// (wParam = 1 when now selected).

#include "uiframework/button.h"

namespace uiframework {

class Option : public Button {
  public:
    std::string_view GetClass() const override { return "Option"; }
    // group, selected, selectedimage, selectedhotimage, selectedpushedimage,
    // selecteddisabledimage, selectedtextcolor, selectedbkcolor, plus the button's.
    void SetAttribute(std::string_view name, std::string_view value) override;

    bool IsSelected() const { return selected_; }
    // `notify` false changes the state without a notification.
    void Selected(bool selected, bool notify = true);
    const std::string& GetGroup() const { return group_; }

    bool Activate() override;

  protected:
    void PaintBkColor(Canvas& canvas) override;
    void PaintStatusImage(Canvas& canvas) override;
    Color ShownTextColor() const override;

  private:
    void DeselectGroupPeers(Control& node);

    bool selected_ = false;
    std::string group_;
    ImageAttributes selectedImage_;
    ImageAttributes selectedHotImage_;
    ImageAttributes selectedPushedImage_;
    ImageAttributes selectedDisabledImage_;
    Color selectedTextColor_ = 0;
    Color selectedBkColor_ = 0;
};

class CheckBox : public Option {
  public:
    std::string_view GetClass() const override { return "CheckBox"; }
    bool GetCheck() const { return IsSelected(); }
    void SetCheck(bool check) { Selected(check); }
};

}  // namespace uiframework
