#pragma once

// The JSON text of a node: entries in key order, no white space anywhere. The output is
// always valid JSON: control bytes without a short escape are written as \u00XX, and a
// Number that is not finite is left out with its key.

#include <string>
#include <string_view>

#include "analytics-sdk/properties_node.h"

namespace analytics_sdk {

std::string ToJson(const utils::ObjectNode& node);

// General notation with 6 significant digits when that reads back as the same value
// (0.5, 1234.5, 1e-05); otherwise the fewest digits that do (1234567.89).
std::string FormatNumber(double value);

// A quoted JSON string.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace analytics_sdk
