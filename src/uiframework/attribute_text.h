#pragma once

// Parsing of layout attribute values. The strict parsers return nothing for a malformed
// value so that the attribute is ignored; the "leading" parsers read like atoi/strtol, which
// is what the window-shadow attributes are defined by.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "uiframework/geometry.h"

namespace uiframework {

bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// A decimal integer with an optional sign; spaces around it are allowed.
std::optional<int> ParseInt(std::string_view text);

// Exactly `count` decimal integers separated by commas ("0,2,15,16").
std::optional<std::vector<int>> ParseIntList(std::string_view text, size_t count);
std::optional<Size> ParseSize(std::string_view text);
std::optional<Rect> ParseRect(std::string_view text);
std::optional<Insets> ParseInsets(std::string_view text);

// "#AARRGGBB" or "0xAARRGGBB" (also "#0xAARRGGBB"). Six digits mean an opaque colour:
// reading them as alpha 0 would make the colour invisible.
std::optional<Color> ParseColor(std::string_view text);

// Layout booleans are true only for the exact text "true".
bool ParseBool(std::string_view text);

// A list of key='value' or key="value" pairs separated by spaces; reading stops at the
// first malformed pair.
std::vector<std::pair<std::string, std::string>> ParseKeyValueList(std::string_view text);

// True when `text` starts like such a list.
bool LooksLikeKeyValueList(std::string_view text);

// Like atoi: optional spaces and sign, then the leading digits; 0 when there are none.
int LeadingInt(std::string_view text);

// `count` integers read like strtol, each followed by exactly one separator character of
// any kind ("1,1", "2 2 2 2"); missing numbers read as 0.
std::vector<int> LeadingInts(std::string_view text, size_t count);

// A hexadecimal number with an optional leading "#" read like strtoul (an "0x" prefix is
// accepted); 0 when there are no digits.
uint32_t LeadingHex(std::string_view text);

}  // namespace uiframework
