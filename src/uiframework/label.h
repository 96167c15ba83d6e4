#pragma once

// A control that shows a text in one of the window's fonts.

#include "uiframework/control.h"
#include "uiframework/text_style.h"

namespace uiframework {

class Label : public Control {
  public:
    Label();
    std::string_view GetClass() const override { return "Label"; }
    // font, textcolor, disabledtextcolor, align, valign, textpadding, multiline,
    // endellipsis, autocalcwidth.
    void SetAttribute(std::string_view name, std::string_view value) override;

    int GetFont() const { return font_; }
    void SetFont(int id);
    Color GetTextColor() const { return textColor_; }
    void SetTextColor(Color color);
    Color GetDisabledTextColor() const { return disabledTextColor_; }
    const Insets& GetTextPadding() const { return textPadding_; }
    void SetTextPadding(const Insets& padding);
    unsigned GetTextStyle() const { return textStyle_; }

    // Width of `text` ("%{n}" tokens expanded) in this label's font and text style; 0
    // while the label is in no window.
    int MeasureTextWidth(std::string_view text) const;

    Size EstimateSize(Size available) override;

  protected:
    explicit Label(unsigned defaultStyle);
    void PaintText(Canvas& canvas) override;
    // The text and colour as the current state shows them.
    virtual std::string ShownText() const { return DisplayText(); }
    virtual Color ShownTextColor() const;
    const FontInfo& ShownFont() const;

  private:
    int font_ = -1;
    Color textColor_ = 0xFF000000;
    Color disabledTextColor_ = 0xFFA7A6AA;
    Insets textPadding_;
    unsigned textStyle_;
    bool autoCalcWidth_ = false;
};

// An item of a Combo.
class ListLabelElement : public Label {
  public:
    std::string_view GetClass() const override { return "ListLabelElement"; }
};

}  // namespace uiframework
