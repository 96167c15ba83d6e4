#include "install/console_values.h"

#include <cctype>
#include <charconv>
#include <system_error>

#include "app/utils.h"

namespace install {

namespace {

std::string_view SkipSpace(std::string_view value) {
    while (!value.empty() && std::isspace(static_cast<unsigned char>(value.front())) != 0) {
        value.remove_prefix(1);
    }
    return value;
}

// from_chars takes a minus sign but not a plus sign, which scanf accepts.
std::string_view SkipPlus(std::string_view value) {
    if (value.size() > 1 && value.front() == '+' && value[1] != '-' && value[1] != '+') {
        value.remove_prefix(1);
    }
    return value;
}

}  // namespace

std::string RestOfLine(std::string_view value) {
    if (value.ends_with('\r')) {
        value.remove_suffix(1);
    }
    return std::string(value);
}

std::string TrimmedValue(std::string_view value) {
    return Utils::Trim(value);
}

double ReadNumber(std::string_view value) {
    value = SkipPlus(SkipSpace(value));
    double number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    return error == std::errc() ? number : 0;
}

std::optional<int32_t> ReadInteger(std::string_view value) {
    value = SkipPlus(SkipSpace(value));
    int32_t number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc()) {
        return std::nullopt;
    }
    return number;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t feed = text.find('\n');
        lines.push_back(text.substr(0, feed));
        text.remove_prefix(feed == std::string_view::npos ? text.size() : feed + 1);
    }
    return lines;
}

}  // namespace install
