#pragma once

#include <optional>
#include <string>

namespace platform {

// The user's default locale as ISO names.
struct LocaleNames {
    std::string language;  // ISO 639, e.g. "zh"
    std::string country;   // ISO 3166, e.g. "CN"
};

// The user's default locale; nullopt when either name is unknown. POSIX: the first set of
// LC_ALL, LC_MESSAGES and LANG, read as language[_COUNTRY][.charset][@modifier]; "C" and
// "POSIX" name no language.
std::optional<LocaleNames> UserLocaleNames();

}  // namespace platform
