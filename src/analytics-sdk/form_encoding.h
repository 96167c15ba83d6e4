#pragma once

// Encodings of the upload body.

#include <string>
#include <string_view>

namespace analytics_sdk {

// RFC 4648 standard alphabet with "=" padding.
std::string Base64Encode(std::string_view bytes);

// ASCII letters, digits and "-", ".", "_", "~" stay; every other byte becomes "%XX" with
// upper-case hexadecimal digits.
std::string UrlEncode(std::string_view text);

// "data_list=" + URL-encoded Base64 of `compressed` + "&gzip=1".
std::string UploadBody(std::string_view compressed);

}  // namespace analytics_sdk
