#pragma once

// Assembling one event record and writing it as JSON text. Pure: the caller supplies the
// identity, the time and the track id.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "analytics-sdk/properties_node.h"

namespace analytics_sdk {

struct RecordRequest {
    std::string_view actionType;  // "track", "track_signup", "profile_set", ...
    std::string_view event;       // written for the two track types only
    const utils::ObjectNode& properties;
    std::string_view distinctId;
    std::string_view originalId;  // written for "track_signup" only
};

// What the instance contributes, read in one piece so that a record never mixes an old and
// a new identity.
struct RecordContext {
    const utils::ObjectNode& superProperties;
    bool isLoginId = false;
    int64_t nowMs = 0;  // milliseconds since 1970, UTC
    int64_t trackId = 0;
};

// The record's JSON text, or nothing when a check failed (its message is already written).
std::optional<std::string> BuildRecord(const RecordRequest& request, const RecordContext& context);

// Two random numbers and the clock joined into a 9-digit id: the last 2 digits of
// r % 99 + 100, the last 3 of s % 999 + 1000 and the last 4 of the time.
int64_t MakeTrackId(uint32_t r, uint32_t s, int64_t nowMs);

}  // namespace analytics_sdk
