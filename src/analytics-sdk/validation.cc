#include "analytics-sdk/validation.h"

#include "analytics-sdk/diagnostics.h"

namespace analytics_sdk {
namespace {

bool IsLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
bool InRange(unsigned char c, unsigned char low, unsigned char high) {
    return c >= low && c <= high;
}
bool IsContinuation(unsigned char c) {
    return InRange(c, 0x80, 0xBF);
}

// Length in bytes of the well-formed unit starting at `pos`, or 0 when there is none.
size_t UnitLength(std::string_view text, size_t pos) {
    const auto at = [&](size_t i) -> unsigned char {
        return pos + i < text.size() ? static_cast<unsigned char>(text[pos + i]) : 0;
    };
    const unsigned char lead = at(0);
    if (lead == 0x09 || lead == 0x0A || lead == 0x0D || InRange(lead, 0x20, 0x7E)) {
        return 1;
    }
    if (InRange(lead, 0xC2, 0xDF)) {
        return IsContinuation(at(1)) ? 2 : 0;
    }
    // The second byte's range excludes overlong forms (E0, F0), surrogates (ED) and code
    // points above U+10FFFF (F4).
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    size_t length = 0;
    if (lead == 0xE0) {
        low = 0xA0, length = 3;
    } else if (InRange(lead, 0xE1, 0xEC) || lead == 0xEE || lead == 0xEF) {
        length = 3;
    } else if (lead == 0xED) {
        high = 0x9F, length = 3;
    } else if (lead == 0xF0) {
        low = 0x90, length = 4;
    } else if (InRange(lead, 0xF1, 0xF3)) {
        length = 4;
    } else if (lead == 0xF4) {
        high = 0x8F, length = 4;
    } else {
        return 0;
    }
    if (!InRange(at(1), low, high)) {
        return 0;
    }
    for (size_t i = 2; i < length; ++i) {
        if (!IsContinuation(at(i))) {
            return 0;
        }
    }
    return length;
}

std::string Label(std::string_view label) {
    return "The " + std::string(label);
}

}  // namespace

bool CheckIdentifier(std::string_view label, const std::string& value) {
    if (value.empty()) {
        WriteError(Label(label) + " is empty.\n");
        return false;
    }
    if (value.size() > kMaxIdentifierLength) {
        WriteError(Label(label) + " is too long, max length is 255.\n");
        return false;
    }
    return true;
}

bool CheckName(std::string_view label, const std::string& value) {
    if (value.empty() || value.size() > kMaxNameLength) {
        WriteError(Label(label) + " is empty or too long, max length is 100");
        return false;
    }
    const auto first = static_cast<unsigned char>(value[0]);
    bool valid = IsLetter(first) || first == '$' || first == '_';
    for (size_t i = 1; valid && i < value.size(); ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        valid = IsLetter(c) || IsDigit(c) || c == '$' || c == '_';
    }
    if (!valid) {
        WriteError(Label(label) + " need to be a valid variable name.");
    }
    return valid;
}

bool CheckProperties(const utils::ObjectNode& properties) {
    for (const auto& [key, value] : properties.entries()) {
        if (!CheckName("Property Key", key)) {
            return false;
        }
        if (key == "$time" && utils::KindOf(value) != utils::ValueKind::DateTime) {
            WriteError("The property '$time' should be DateTime type.");
            return false;
        }
        if (key == "$project" && utils::KindOf(value) != utils::ValueKind::String) {
            WriteError("The property '$project' should be String type.");
            return false;
        }
    }
    return true;
}

bool IsValidUtf8(std::string_view value) {
    for (size_t pos = 0; pos < value.size();) {
        const size_t length = UnitLength(value, pos);
        if (length == 0) {
            return false;
        }
        pos += length;
    }
    return true;
}

bool CheckStringValue(const std::string& key, const std::string& value) {
    if (value.size() > kMaxStringValueLength) {
        WriteError("String property '" + key + "' is too long, value: " + value + "\n");
        return false;
    }
    if (!IsValidUtf8(value)) {
        WriteError("String property '" + key + "' is not valid UTF-8 string, value: " + value +
                   "\n");
        return false;
    }
    return true;
}

}  // namespace analytics_sdk
