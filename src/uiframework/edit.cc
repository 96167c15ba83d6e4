#include "uiframework/edit.h"

#include "platform/utf8_text.h"
#include "uiframework/attribute_text.h"
#include "uiframework/paint_manager.h"

namespace uiframework {

void Edit::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "maxchar") {
        if (auto v = ParseInt(value); v && *v >= 0) {
            maxChar_ = static_cast<size_t>(*v);
        }
    } else if (name == "readonly") {
        readOnly_ = ParseBool(value);
    } else if (name == "password") {
        password_ = ParseBool(value);
    } else if (name == "nativebkcolor") {
        if (auto c = ParseColor(value)) {
            nativeBkColor_ = *c;
        }
    } else {
        Label::SetAttribute(name, value);
    }
}

void Edit::OnUserInput(std::string_view text) {
    if (readOnly_) {
        return;
    }
    std::string cut(platform::utf8::CutToCodePoints(text, maxChar_));
    if (cut == GetText()) {
        return;
    }
    SetText(std::move(cut));
    if (PaintManager* manager = GetManager()) {
        manager->SendNotify(this, kNotifyTextChanged);
    }
}

void Edit::DoEvent(const ControlEvent& event) {
    if (event.type == EventType::kButtonDown && IsEnabled()) {
        SetFocus();
        return;
    }
    Label::DoEvent(event);
}

std::string Edit::ShownText() const {
    if (!password_) {
        return GetText();
    }
    size_t characters = 0;
    for (unsigned char c : GetText()) {
        characters += (c & 0xC0) != 0x80 ? 1 : 0;
    }
    return std::string(characters, '*');
}

}  // namespace uiframework
