#pragma once

// A one-line text field. The host shows a native entry over it and reports what the user
// types through OnUserInput; the framework keeps the text.

#include "uiframework/label.h"

namespace uiframework {

class Edit : public Label {
  public:
    std::string_view GetClass() const override { return "Edit"; }
    // maxchar, readonly, password, nativebkcolor, plus the label's attributes.
    void SetAttribute(std::string_view name, std::string_view value) override;

    bool IsInteractive() const override { return true; }
    size_t GetMaxChar() const { return maxChar_; }
    bool IsReadOnly() const { return readOnly_; }
    bool IsPassword() const { return password_; }
    Color GetNativeBkColor() const { return nativeBkColor_; }

    // Text typed by the user: cut to `maxchar` characters, ignored when read-only; a
    // change raises "textchanged".
    void OnUserInput(std::string_view text);
    void DoEvent(const ControlEvent& event) override;

  protected:
    std::string ShownText() const override;

  private:
    size_t maxChar_ = 255;
    bool readOnly_ = false;
    bool password_ = false;
    Color nativeBkColor_ = 0xFFFFFFFF;
};

}  // namespace uiframework
