#include "analytics-sdk/form_encoding.h"

#include <cstdint>

namespace analytics_sdk {

std::string Base64Encode(std::string_view bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const uint32_t group = static_cast<uint8_t>(bytes[i]) << 16 |
                               static_cast<uint8_t>(bytes[i + 1]) << 8 |
                               static_cast<uint8_t>(bytes[i + 2]);
        out.push_back(kAlphabet[group >> 18 & 0x3F]);
        out.push_back(kAlphabet[group >> 12 & 0x3F]);
        out.push_back(kAlphabet[group >> 6 & 0x3F]);
        out.push_back(kAlphabet[group & 0x3F]);
    }
    const size_t rest = bytes.size() - i;
    if (rest > 0) {
        uint32_t group = static_cast<uint8_t>(bytes[i]) << 16;
        if (rest == 2) {
            group |= static_cast<uint8_t>(bytes[i + 1]) << 8;
        }
        out.push_back(kAlphabet[group >> 18 & 0x3F]);
        out.push_back(kAlphabet[group >> 12 & 0x3F]);
        out.push_back(rest == 2 ? kAlphabet[group >> 6 & 0x3F] : '=');
        out.push_back('=');
    }
    return out;
}

std::string UrlEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3 / 2);
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' ||
                           byte == '_' || byte == '~';
        if (plain) {
            out.push_back(c);
        } else {
            out.push_back('%');
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 0x0F]);
        }
    }
    return out;
}

std::string UploadBody(std::string_view compressed) {
    return "data_list=" + UrlEncode(Base64Encode(compressed)) + "&gzip=1";
}

}  // namespace analytics_sdk
