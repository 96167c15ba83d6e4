#pragma once

// Properties a caller attaches to one track call, per event type. The only property of this
// program is the A/B group "mxc_ab". A container lives for one call; the tracker reads it.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "analytics-sdk/properties_node.h"
#include "source/src/mx_types.h"

namespace marlix::tracking {

inline constexpr char kAbGroupKey[] = "mxc_ab";

class MxContextProperties {
  public:
    struct Entry {
        std::shared_ptr<const std::string> value;
        analytics_sdk::utils::ValueKind kind = analytics_sdk::utils::ValueKind::String;
        std::string key;
    };
    using Entries = std::vector<Entry>;

    MxContextProperties() = default;

    // False for the empty text; true for one to three characters, a capital letter first,
    // then capitals or digits; throws MxException for every other text.
    static bool isValidABValue(const std::string& value);

    // Stores the A/B group for each listed event type, in order. Throws when the group is
    // already set, and at the first type outside 0 to 14 (types before it keep the entry).
    void setProperty(const std::string& value, const std::vector<int32_t>& eventTypes);

    // The entries of one event type in insertion order; throws for a type outside 0 to 14.
    const Entries& getEventProperties(int32_t eventType) const;

  private:
    std::map<std::string, std::shared_ptr<const std::string>> values_;
    std::array<Entries, kEventTypeCount> entries_;
};

// Adds the entries registered for `type` to `properties`; false when there were none.
bool AddContextProperties(const MxContextProperties& context, MxEventType type,
                          analytics_sdk::PropertiesNode& properties);

}  // namespace marlix::tracking
