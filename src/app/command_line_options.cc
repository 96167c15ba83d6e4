#include "app/command_line_options.h"

#include <charconv>
#include <cmath>

namespace app {
namespace {

// The blanks and the sign that the C library's number conversions accept before a number;
// from_chars takes neither blanks nor a leading "+".
std::string_view NumberStart(std::string_view text) {
    const size_t start = text.find_first_not_of(" \t\n\v\f\r");
    if (start == std::string_view::npos) {
        return {};
    }
    text.remove_prefix(start);
    if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+') {
        text.remove_prefix(1);
    }
    return text;
}

}  // namespace

CommandLineOptions::CommandLineOptions(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        const size_t equals = argument.find('=');
        if (!argument.empty() && argument[0] == '-' && equals != std::string::npos) {
            options_.emplace(argument.substr(0, equals), argument.substr(equals + 1));
        } else {
            options_.emplace(argument, std::string());
        }
    }
}

std::optional<std::string> CommandLineOptions::Text(std::string_view key) const {
    const auto it = options_.find(key);
    if (it == options_.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::optional<int32_t> CommandLineOptions::Integer(std::string_view key) const {
    const std::optional<std::string> value = Text(key);
    if (!value) {
        return std::nullopt;
    }
    return ParseInteger(*value);
}

std::optional<double> CommandLineOptions::Double(std::string_view key) const {
    const std::optional<std::string> value = Text(key);
    if (!value) {
        return std::nullopt;
    }
    return ParseDouble(*value);
}

std::optional<bool> CommandLineOptions::Bool(std::string_view key) const {
    const std::optional<std::string> value = Text(key);
    if (!value) {
        return std::nullopt;
    }
    return ParseBool(*value);
}

int32_t ParseInteger(std::string_view text) {
    text = NumberStart(text);
    int32_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    return result.ec == std::errc() ? value : 0;
}

std::optional<double> ParseDouble(std::string_view text) {
    text = NumberStart(text);
    double value = 0.0;
    const auto result =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (result.ec != std::errc() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

bool ParseBool(std::string_view text) {
    return text == "true";
}

}  // namespace app
