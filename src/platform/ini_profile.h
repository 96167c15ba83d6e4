#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// Reads and writes INI files with the semantics of the Windows private-profile functions:
// section and key names compare without regard to ASCII letter case, the first match
// wins, blanks around names and values are dropped, a value enclosed in one pair of
// matching quotes loses them, a missing file, section or key yields the default.
// Files are UTF-8; both "\n" and "\r\n" line ends are read.
namespace ini {

// No cut: the value is returned whole.
inline constexpr size_t kWholeValue = 0;

// The value of `key` in `section`, or `defaultValue` when absent. With a non-zero
// `bufferChars` the result is cut to bufferChars - 1 code points, as a Windows buffer of
// that many characters would hold (never splitting a UTF-8 sequence).
std::string GetString(const std::filesystem::path& file, std::string_view section,
                      std::string_view key, std::string_view defaultValue,
                      size_t bufferChars = kWholeValue);

// Sets `key` in `section` to `value`, keeping every other line of the file as it was.
// Creates the file (not its folder) and the section when missing; the file is replaced
// atomically (temporary file beside it, then rename). Returns false when the file cannot
// be written or a name or value holds a line break (which the format cannot store).
bool WriteString(const std::filesystem::path& file, std::string_view section,
                 std::string_view key, std::string_view value);

}  // namespace ini
}  // namespace platform
