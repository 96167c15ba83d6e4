#pragma once

// The text rules behind the profile functions of ini_profile.h, without file access: how
// lines are read and how a file's text changes when one value is set. Internal to the
// platform library.

#include <optional>
#include <string>
#include <string_view>

namespace platform::ini {

// The value of `key` in the first section named `section` (ASCII case ignored, blanks
// around names dropped), after dropping blanks around it and one pair of matching quotes;
// nullopt when the section or the key is missing or a name is blank. Only the first
// section of a name is searched, and its first line of the key wins.
std::optional<std::string_view> FindValue(std::string_view text, std::string_view section,
                                          std::string_view key);

// False for a name or value the format cannot store so that it reads back: a line break
// anywhere, a blank name, a section name holding ']', a key holding '=' or starting with
// ';' or '['.
bool IsStorable(std::string_view section, std::string_view key, std::string_view value);

// `text` with `key` in `section` set to `value`; every other line stays byte for byte.
// The first line of the key is rewritten in place; a missing key goes after the last key
// line of the section (after its header when it has none); a missing section is appended
// at the end. New lines end like the text's first line, or with `defaultLineEnd` when no
// line has an end yet. Requires IsStorable(section, key, value).
std::string SetValue(std::string_view text, std::string_view section, std::string_view key,
                     std::string_view value, std::string_view defaultLineEnd);

}  // namespace platform::ini
