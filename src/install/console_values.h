#pragma once

// Reading the values of the package's and the uninstaller's "key=value" output lines.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace install {

// Everything after the key, less exactly one trailing carriage return: a child printing
// "\r\n" line ends must not put a carriage return into a folder or an address.
std::string RestOfLine(std::string_view value);

// The value with white space removed at both ends.
std::string TrimmedValue(std::string_view value);

// A decimal floating-point number at the start of `value` after white space, as scanf's
// "%lf" reads it; 0 when there is none.
double ReadNumber(std::string_view value);

// A decimal integer at the start of `value` after white space, as scanf's "%d" reads it;
// nothing when there is none or it does not fit 32 bits.
std::optional<int32_t> ReadInteger(std::string_view value);

// The lines of `text`, split at each line feed; a last line without one counts too.
std::vector<std::string_view> SplitLines(std::string_view text);

}  // namespace install
