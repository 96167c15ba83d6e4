#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace analytics_sdk {

// One gzip stream of `text` (deflate level 9, window bits 31, memory level 8, default
// strategy). On failure writes the reason to standard error and returns nothing.
std::optional<std::string> GzipCompress(std::string_view text);

}  // namespace analytics_sdk
