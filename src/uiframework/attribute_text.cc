#include "uiframework/attribute_text.h"

#include <cctype>
#include <charconv>
#include <cstdint>

namespace uiframework {

namespace {

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

// Reads a strtol-style integer at the start of `text` and advances past it.
int ReadLeadingInt(std::string_view& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    size_t digitsStart = i;
    int64_t value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (value < INT32_MAX) {
            value = value * 10 + (text[i] - '0');
        }
        ++i;
    }
    if (i == digitsStart) {
        return 0;
    }
    text.remove_prefix(i);
    value = negative ? -value : value;
    return static_cast<int>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::optional<int> ParseInt(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::vector<int>> ParseIntList(std::string_view text, size_t count) {
    std::vector<int> values;
    while (true) {
        size_t comma = text.find(',');
        auto value = ParseInt(text.substr(0, comma));
        if (!value || values.size() == count) {
            return std::nullopt;
        }
        values.push_back(*value);
        if (comma == std::string_view::npos) {
            break;
        }
        text.remove_prefix(comma + 1);
    }
    if (values.size() != count) {
        return std::nullopt;
    }
    return values;
}

std::optional<Size> ParseSize(std::string_view text) {
    auto v = ParseIntList(text, 2);
    if (!v) {
        return std::nullopt;
    }
    return Size{(*v)[0], (*v)[1]};
}

std::optional<Rect> ParseRect(std::string_view text) {
    auto v = ParseIntList(text, 4);
    if (!v) {
        return std::nullopt;
    }
    return Rect{(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
}

std::optional<Insets> ParseInsets(std::string_view text) {
    auto v = ParseIntList(text, 4);
    if (!v) {
        return std::nullopt;
    }
    return Insets{(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
}

std::optional<Color> ParseColor(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '#') {
        text.remove_prefix(1);
    }
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
    }
    if (text.size() != 8 && text.size() != 6) {
        return std::nullopt;
    }
    uint32_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return text.size() == 6 ? (value | 0xFF000000u) : value;
}

bool ParseBool(std::string_view text) {
    return text == "true";
}

bool LooksLikeKeyValueList(std::string_view text) {
    size_t eq = text.find('=');
    return eq != std::string_view::npos && eq + 1 < text.size() &&
           (text[eq + 1] == '\'' || text[eq + 1] == '"');
}

std::vector<std::pair<std::string, std::string>> ParseKeyValueList(std::string_view text) {
    std::vector<std::pair<std::string, std::string>> pairs;
    while (true) {
        size_t eq = text.find('=');
        if (eq == std::string_view::npos || eq + 1 >= text.size()) {
            break;
        }
        char quote = text[eq + 1];
        if (quote != '\'' && quote != '"') {
            break;
        }
        size_t close = text.find(quote, eq + 2);
        if (close == std::string_view::npos) {
            break;
        }
        std::string_view key = Trim(text.substr(0, eq));
        pairs.emplace_back(std::string(key), std::string(text.substr(eq + 2, close - eq - 2)));
        text.remove_prefix(close + 1);
    }
    return pairs;
}

int LeadingInt(std::string_view text) {
    return ReadLeadingInt(text);
}

std::vector<int> LeadingInts(std::string_view text, size_t count) {
    std::vector<int> values;
    for (size_t i = 0; i < count; ++i) {
        values.push_back(ReadLeadingInt(text));
        if (!text.empty()) {
            text.remove_prefix(1);
        }
    }
    return values;
}

uint32_t LeadingHex(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '#') {
        text.remove_prefix(1);
    }
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
    }
    uint64_t value = 0;
    for (char c : text) {
        int digit = std::isdigit(static_cast<unsigned char>(c))      ? c - '0'
                    : (LowerAscii(c) >= 'a' && LowerAscii(c) <= 'f') ? LowerAscii(c) - 'a' + 10
                                                                     : -1;
        if (digit < 0) {
            break;
        }
        value = std::min<uint64_t>(value * 16 + static_cast<uint64_t>(digit), UINT32_MAX);
    }
    return static_cast<uint32_t>(value);
}

}  // namespace uiframework
