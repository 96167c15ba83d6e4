#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

inline constexpr uint32_t kCodePageAnsi = 0;
inline constexpr uint32_t kCodePageUtf8 = 65001;

// Decodes `bytes` of code page `codePage` to UTF-8. Code page 0 is the system's ANSI code
// page (POSIX: the charset of the LC_CTYPE locale, with UTF-8 in place of the C locale's
// ASCII so that no character is lost), 65001 is UTF-8, others go to iconv as "CP<n>"
// (936 = GBK). Returns an empty text when the bytes are not valid in that code page or the
// code page is unknown. Both functions may run on any thread.
std::string DecodeCodePage(std::string_view bytes, uint32_t codePage);

// Encodes UTF-8 `text` into code page `codePage`; empty when the text is not valid UTF-8
// or cannot be represented.
std::string EncodeCodePage(std::string_view text, uint32_t codePage);

}  // namespace platform
