#include "uiframework/label.h"

#include <vector>

#include "uiframework/attribute_text.h"
#include "uiframework/paint_manager.h"

namespace uiframework {

namespace {

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        bool separator = i == text.size() || text[i] == ' ' || text[i] == ',' || text[i] == '|';
        if (separator) {
            if (i > start) {
                words.push_back(text.substr(start, i - start));
            }
            start = i + 1;
        }
    }
    return words;
}

unsigned WithHorizontal(unsigned style, unsigned bits) {
    return (style & ~kTextHorizontalMask) | bits;
}

unsigned WithVertical(unsigned style, unsigned bits) {
    return (style & ~kTextVerticalMask) | bits;
}

}  // namespace

Label::Label() : Label(kTextLeft | kTextVCenter | kTextSingleLine) {}

Label::Label(unsigned defaultStyle) : textStyle_(defaultStyle) {}

void Label::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "font") {
        if (auto v = ParseInt(value)) {
            font_ = *v;
        }
    } else if (name == "textcolor") {
        if (auto c = ParseColor(value)) {
            textColor_ = *c;
        }
    } else if (name == "disabledtextcolor") {
        if (auto c = ParseColor(value)) {
            disabledTextColor_ = *c;
        }
    } else if (name == "textpadding") {
        if (auto p = ParseInsets(value)) {
            textPadding_ = *p;
        }
    } else if (name == "align" || name == "valign") {
        for (std::string_view word : Words(value)) {
            if (word == "left") {
                textStyle_ = WithHorizontal(textStyle_, kTextLeft);
            } else if (word == "center" && name == "align") {
                textStyle_ = WithHorizontal(textStyle_, kTextCenter);
            } else if (word == "right") {
                textStyle_ = WithHorizontal(textStyle_, kTextRight);
            } else if (word == "top") {
                textStyle_ = WithVertical(textStyle_, kTextTop);
            } else if (word == "vcenter" || word == "center") {
                textStyle_ = WithVertical(textStyle_, kTextVCenter);
            } else if (word == "bottom") {
                textStyle_ = WithVertical(textStyle_, kTextBottom);
            } else if (word == "wrap") {
                textStyle_ &= ~kTextSingleLine;
            }
        }
    } else if (name == "multiline" || name == "wordbreak") {
        textStyle_ =
            ParseBool(value) ? (textStyle_ & ~kTextSingleLine) : (textStyle_ | kTextSingleLine);
    } else if (name == "endellipsis") {
        textStyle_ =
            ParseBool(value) ? (textStyle_ | kTextEndEllipsis) : (textStyle_ & ~kTextEndEllipsis);
    } else if (name == "autocalcwidth") {
        autoCalcWidth_ = ParseBool(value);
    } else {
        Control::SetAttribute(name, value);
    }
}

void Label::SetFont(int id) {
    font_ = id;
    Invalidate();
}

void Label::SetTextColor(Color color) {
    textColor_ = color;
    Invalidate();
}

void Label::SetTextPadding(const Insets& padding) {
    textPadding_ = padding;
    NeedUpdate();
}

int Label::MeasureTextWidth(std::string_view text) const {
    PaintManager* manager = GetManager();
    if (manager == nullptr) {
        return 0;
    }
    std::string shown = manager->Texts().Expand(text);
    return manager->Measurer()
        .Measure(shown, ShownFont(), textStyle_ | kTextSingleLine, kDefaultMaxExtent)
        .cx;
}

Size Label::EstimateSize(Size available) {
    Size size = Control::EstimateSize(available);
    if (autoCalcWidth_ && size.cx == 0) {
        size.cx = MeasureTextWidth(GetText()) + textPadding_.left + textPadding_.right;
    }
    return size;
}

Color Label::ShownTextColor() const {
    return IsEnabled() ? textColor_ : disabledTextColor_;
}

const FontInfo& Label::ShownFont() const {
    static const FontInfo kNoWindowFont;
    PaintManager* manager = GetManager();
    return manager != nullptr ? manager->Fonts().Get(font_) : kNoWindowFont;
}

void Label::PaintText(Canvas& canvas) {
    std::string text = ShownText();
    if (text.empty()) {
        return;
    }
    Rect area = GetPos().Deflated(textPadding_);
    canvas.DrawString(area, text, ShownFont(), ShownTextColor(), textStyle_);
}

}  // namespace uiframework
