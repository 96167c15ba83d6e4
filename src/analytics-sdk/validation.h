#pragma once

// The SDK's validation rules. Each check that fails writes its message to standard error
// and returns false.

#include <string>
#include <string_view>

#include "analytics-sdk/properties_node.h"

namespace analytics_sdk {

inline constexpr size_t kMaxIdentifierLength = 255;
inline constexpr size_t kMaxNameLength = 100;
inline constexpr size_t kMaxStringValueLength = 8192;

// "Distinct ID" / "Original ID": 1 to 255 bytes.
bool CheckIdentifier(std::string_view label, const std::string& value);

// "Event Name" / "Property Key": 1 to 100 bytes, a letter, "$" or "_" first, then letters,
// digits, "$" or "_".
bool CheckName(std::string_view label, const std::string& value);

// The keys of a caller's properties and the kinds of "$time" and "$project", in key order,
// stopping at the first failure.
bool CheckProperties(const utils::ObjectNode& properties);

// True when every unit of `value` is an allowed ASCII byte or a well-formed UTF-8 sequence
// (no other control bytes, no overlong forms, no surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view value);

// The checks a String value passes before SetString stores it.
bool CheckStringValue(const std::string& key, const std::string& value);

}  // namespace analytics_sdk
