#pragma once

// The user's base folders on POSIX, shared by the registry store and the special folders.
// Internal to the platform library. Each is an absolute path without a trailing separator,
// or empty when the user's home folder cannot be found.

#include <string>
#include <string_view>

namespace platform::posix {

// $HOME when set and absolute, else the home folder of the real user in the password
// database.
std::string HomeFolder();

// The home folder followed by `relative` (which starts with '/'); empty without a home.
std::string BelowHome(std::string_view relative);

// $XDG_CONFIG_HOME when set and absolute, else the home folder followed by "/.config".
std::string ConfigHome();

// $XDG_DATA_HOME when set and absolute, else the home folder followed by "/.local/share".
std::string DataHome();

// `path` without trailing separators ("/" stays "/").
std::string WithoutTrailingSeparators(std::string path);

}  // namespace platform::posix
