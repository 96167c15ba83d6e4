#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Reads and writes INI files with the semantics of the Windows private-profile functions:
// section and key names compare without regard to ASCII letter case, the first match
// wins (only the first section of a name is searched), blanks around names and values are
// dropped, a value enclosed in one pair of matching quotes loses them, a missing file,
// section or key yields the default. A line "key=value" holds the key before its first
// '='; lines starting with ';' and lines without '=' hold no value. Files are UTF-8,
// optionally opened by a byte order mark; both "\n" and "\r\n" line ends are read.
// Every function may run on any thread; writes within the process are serialised.
namespace ini {

// No cut: the value is returned whole.
inline constexpr size_t kWholeValue = 0;

// The value of `key` in `section`, or `defaultValue` when absent. With a non-zero
// `bufferChars` the result is cut to bufferChars - 1 code points, as a Windows buffer of
// that many characters would hold (never splitting a UTF-8 sequence).
std::string GetString(const std::filesystem::path& file, std::string_view section,
                      std::string_view key, std::string_view defaultValue,
                      size_t bufferChars = kWholeValue);

// The whole value of `key` in `section`, or nullopt when the file, the section or the key
// is missing: for callers that must tell a missing value from an empty one.
std::optional<std::string> FindString(const std::filesystem::path& file, std::string_view section,
                                      std::string_view key);

// Sets `key` in `section` to `value`, keeping every other line of the file byte for byte:
// the first line of the key is rewritten in place, a missing key is added after the
// section's last key line, a missing section is added at the end, and new lines end like
// the file's lines. Creates the file (not its folder) when missing; the file is replaced
// atomically (temporary file beside it, flushed, then renamed). Returns false when the
// file cannot be read or written, or for a name or value the format cannot store so that
// it reads back: a line break anywhere, a blank name, ']' in the section name, '=' in the
// key or a key starting with ';' or '['. A value with blanks at its ends or in matching
// quotes is stored as given and reads back without them, as on Windows.
bool WriteString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                 std::string_view value);

}  // namespace ini
}  // namespace platform
