#pragma once

// Profile properties. Each key has one fixed rule (set, set once, increment or append); the
// typed functions look it up and issue the matching SDK profile record, or throw
// MxException when the key is unknown or its rule does not fit the value's type.

#include <cstdint>
#include <optional>
#include <string>

namespace marlix::tracking {

enum class ProfileRule { SetOnce = 1, Increment = 2, Set = 3, Append = 4 };

// The rule of `key`; nullopt for a key that is not supported.
std::optional<ProfileRule> ProfileRuleOf(const std::string& key);

void ProfileUserPropertyString(const std::string& key, const std::string& value);
void ProfileUserPropertyNumber(const std::string& key, int32_t value);
void ProfileUserPropertyNumber(const std::string& key, double value);
// `time` counts from 1970-01-01 UTC: milliseconds from 157789440000 up, seconds below.
void ProfileUserPropertyDateTime(const std::string& key, int64_t time);

// Values of 157789440000 and more are milliseconds.
inline constexpr int64_t kMillisecondsThreshold = 157789440000;

}  // namespace marlix::tracking
