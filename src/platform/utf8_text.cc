#include "platform/utf8_text.h"

namespace platform::utf8 {
namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Length of the well-formed sequence starting at `pos`, or 0 when there is none.
size_t SequenceLength(std::string_view text, size_t pos) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    // Bounds of the second byte narrow the ranges that would be overlong, surrogates or
    // above U+10FFFF.
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) {
            secondLow = 0xA0;
        } else if (lead == 0xED) {
            secondHigh = 0x9F;
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) {
            secondLow = 0x90;
        } else if (lead == 0xF4) {
            secondHigh = 0x8F;
        }
    } else {
        return 0;
    }
    if (text.size() - pos < length) {
        return 0;
    }
    if (byte(1) < secondLow || byte(1) > secondHigh) {
        return 0;
    }
    for (size_t i = 2; i < length; ++i) {
        if (!IsContinuation(byte(i))) {
            return 0;
        }
    }
    return length;
}

}  // namespace

bool IsValid(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t length = SequenceLength(text, pos);
        if (length == 0) {
            return false;
        }
        pos += length;
    }
    return true;
}

std::string_view CutToCodePoints(std::string_view text, size_t codePoints) {
    size_t pos = 0;
    for (size_t count = 0; count < codePoints && pos < text.size(); ++count) {
        const size_t length = SequenceLength(text, pos);
        pos += length == 0 ? 1 : length;
    }
    return text.substr(0, pos);
}

}  // namespace platform::utf8
