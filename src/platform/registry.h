#pragma once

#include <string>
#include <string_view>

namespace platform {

// Text values under a key of the current user's registry, such as "Software\MarlixSoft\Quorvex".
// POSIX: the key's values live in the INI file
// "${XDG_CONFIG_HOME:-$HOME/.config}/<key without its leading 'Software\', '\' as
// '/'>/registry.ini", section "Values", written atomically; the folders are created on the first
// write. Values are stored in double quotes so that they read back exactly; value names compare
// without regard to ASCII letter case. A key part that is empty, "." or ".." is refused.
namespace registry {

// Stores `value` under `name`; true when the value was set. POSIX: false for a name or
// value holding a line break, which the store cannot hold.
bool WriteString(std::string_view key, std::string_view name, std::string_view value);

// Reads the value `name` into `value`; false (and `value` unchanged) when the key or the
// value is missing.
bool ReadString(std::string_view key, std::string_view name, std::string& value);

}  // namespace registry
}  // namespace platform
