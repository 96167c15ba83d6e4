#include <fmt/printf.h>

#include "app/utils.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/guid.h"

namespace Utils {

std::string NewGuidText() {
    const platform::Guid g = platform::NewGuid();
    auto byte = [&g](int i) { return static_cast<unsigned>(g.data4[i]); };
    return fmt::sprintf("%08X%04X%04x%02X%02X%02X%02X%02X%02X%02X%02X", g.data1,
                        static_cast<unsigned>(g.data2), static_cast<unsigned>(g.data3), byte(0),
                        byte(1), byte(2), byte(3), byte(4), byte(5), byte(6), byte(7));
}

std::string AddressDigestSegment(std::string_view address) {
    const size_t last = address.rfind('/');
    if (last == std::string_view::npos) {
        return {};
    }
    const std::string_view head = address.substr(0, last);
    const size_t previous = head.rfind('/');
    if (previous == std::string_view::npos) {
        return {};
    }
    return std::string(head.substr(previous + 1));
}

std::string ToUtf8(std::string_view bytes, uint32_t codePage) {
    return platform::DecodeCodePage(bytes, codePage);
}

std::string FromUtf8(std::string_view text, uint32_t codePage) {
    return platform::EncodeCodePage(text, codePage);
}

std::string EncodeAddress(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 33 && byte <= 126) {
            encoded.push_back(c);
        } else if (byte == ' ') {
            encoded.push_back('+');
        } else {
            encoded.push_back('%');
            encoded.push_back(kHex[byte >> 4]);
            encoded.push_back(kHex[byte & 0x0F]);
        }
    }
    return encoded;
}

std::string Trim(std::string_view text) {
    // Only the six ASCII blanks: bytes of UTF-8 sequences are never taken for white space.
    static constexpr std::string_view kBlanks = " \t\n\v\f\r";
    const size_t end = text.find_last_not_of(kBlanks);
    if (end == std::string_view::npos) {
        return {};
    }
    const size_t begin = text.find_first_not_of(kBlanks);
    return std::string(text.substr(begin, end + 1 - begin));
}

std::string ReplaceAll(std::string text, std::string_view pattern, std::string_view replacement) {
    if (pattern.empty() || replacement.find(pattern) != std::string_view::npos) {
        return text;
    }
    // Searching again from the start after each replacement collapses runs ("aaaa" with
    // "aa" -> "a" gives "a") and ends whenever the text shrinks. A replacement at least as
    // long as the pattern can keep forming new occurrences with its neighbours ("aaba" with
    // "aba" -> "baab" grows forever), so the search then goes on after the inserted text.
    // Occurrences wholly before a replacement cannot exist (the search found the first), so
    // searching again from just before it equals searching from the start.
    const bool shrinks = replacement.size() < pattern.size();
    for (size_t pos = text.find(pattern); pos != std::string::npos;) {
        text.replace(pos, pattern.size(), replacement);
        const size_t from = shrinks ? (pos >= pattern.size() ? pos - pattern.size() + 1 : 0)
                                    : pos + replacement.size();
        pos = text.find(pattern, from);
    }
    return text;
}

std::string NumberToText(uint32_t value) {
    return std::to_string(value);
}

float ElapsedSeconds(uint64_t startTickMs, bool running) {
    if (!running) {
        return 0.0f;
    }
    const uint64_t now = platform::TickCountMs();
    return now > startTickMs ? static_cast<float>(now - startTickMs) / 1000.0f : 0.0f;
}

}  // namespace Utils
