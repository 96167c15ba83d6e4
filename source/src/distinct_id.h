#pragma once

// The ids under which a device's records are sent.

#include <functional>
#include <optional>
#include <random>
#include <string>

#include "platform/guid.h"

namespace marlix::tracking {

// "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X": 36 characters, capital hexadecimal.
std::string FormatDistinctId(const platform::Guid& guid);

// One GUID request; nullopt when the system could not make one.
using GuidSource = std::function<std::optional<platform::Guid>()>;

// A GUID-form id from `source`: one request whose answer is not used, then up to ten more
// until one succeeds. When all fail, a random id of the form "%x%x-%x-%x-%x-%x%x%x".
std::string NewDistinctId(const GuidSource& source);

// NewDistinctId with the system's GUIDs.
std::string NewDistinctId();

// The fallback id drawn from `generator`.
std::string RandomDistinctId(std::mt19937& generator);

}  // namespace marlix::tracking
