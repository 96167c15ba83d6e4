#pragma once

// UTF-8 helpers shared inside the platform library.

#include <cstddef>
#include <string_view>

namespace platform::utf8 {

// True when `text` is well-formed UTF-8: no overlong forms, no surrogates, nothing above
// U+10FFFF, no truncated sequence.
bool IsValid(std::string_view text);

// The first `codePoints` characters of `text`. A byte that does not start a complete
// sequence counts as one character, so any input is cut somewhere and never inside a
// well-formed sequence.
std::string_view CutToCodePoints(std::string_view text, size_t codePoints);

}  // namespace platform::utf8
