#include "platform/user_locale.h"

#include <cstdlib>
#include <string_view>

namespace platform {
namespace {

bool AllLetters(std::string_view text, bool upper) {
    for (char c : text) {
        const bool letter = upper ? (c >= 'A' && c <= 'Z') : (c >= 'a' && c <= 'z');
        if (!letter) {
            return false;
        }
    }
    return true;
}

bool AllDigits(std::string_view text) {
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

std::optional<LocaleNames> Parse(std::string_view name) {
    name = name.substr(0, name.find_first_of(".@"));
    const size_t underscore = name.find('_');
    if (underscore == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view language = name.substr(0, underscore);
    const std::string_view country = name.substr(underscore + 1);
    const bool languageOk =
        (language.size() == 2 || language.size() == 3) && AllLetters(language, false);
    // UN M.49 area codes ("es_419") take the place of a country code in some locales.
    const bool countryOk = (country.size() == 2 && AllLetters(country, true)) ||
                           (country.size() == 3 && AllDigits(country));
    if (!languageOk || !countryOk) {
        return std::nullopt;
    }
    return LocaleNames{std::string(language), std::string(country)};
}

}  // namespace

std::optional<LocaleNames> UserLocaleNames() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && value[0] != '\0') {
            return Parse(value);
        }
    }
    return std::nullopt;
}

}  // namespace platform
