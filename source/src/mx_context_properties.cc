#include "source/src/mx_context_properties.h"

#include "source/src/mx_exception.h"

namespace marlix::tracking {
namespace {

constexpr char kUnit[] = "MxContextProperties";

bool IsCapital(char c) {
    return c >= 'A' && c <= 'Z';
}

bool IsCapitalOrDigit(char c) {
    return IsCapital(c) || (c >= '0' && c <= '9');
}

bool OutOfRange(int32_t eventType) {
    // Negative types would index outside the lists just as much as 15 and above.
    return eventType < 0 || eventType >= kEventTypeCount;
}

std::string OverflowMessage(int32_t eventType) {
    return "MxEvent[" + std::to_string(eventType) + "] overflow!";
}

}  // namespace

bool MxContextProperties::isValidABValue(const std::string& value) {
    if (value.empty()) {
        return false;
    }
    if (value.size() > 3) {
        MX_THROW(kUnit, "isValidABValue", "value's length is great than 3.");
    }
    if (!IsCapital(value[0])) {
        MX_THROW(kUnit, "isValidABValue", "First char is not in A to Z");
    }
    if (value.size() > 1 && !IsCapitalOrDigit(value[1])) {
        MX_THROW(kUnit, "isValidABValue", "second char is not in A to Z and 0 to 9");
    }
    if (value.size() > 2 && !IsCapitalOrDigit(value[2])) {
        MX_THROW(kUnit, "isValidABValue", "third char is not in A to Z and 0 to 9");
    }
    return true;
}

void MxContextProperties::setProperty(const std::string& value,
                                      const std::vector<int32_t>& eventTypes) {
    const std::string key = kAbGroupKey;
    auto shared = std::make_shared<const std::string>(value);
    if (!values_.emplace(key, shared).second) {
        MX_THROW(kUnit, "setProperty", "Property[" + key + "] already exist!");
    }
    for (int32_t eventType : eventTypes) {
        if (OutOfRange(eventType)) {
            MX_THROW(kUnit, "setProperty", OverflowMessage(eventType));
        }
        entries_[static_cast<size_t>(eventType)].push_back(
            Entry{shared, analytics_sdk::utils::ValueKind::String, key});
    }
}

const MxContextProperties::Entries& MxContextProperties::getEventProperties(
    int32_t eventType) const {
    if (OutOfRange(eventType)) {
        MX_THROW(kUnit, "getEventProperties", OverflowMessage(eventType));
    }
    return entries_[static_cast<size_t>(eventType)];
}

bool AddContextProperties(const MxContextProperties& context, MxEventType type,
                          analytics_sdk::PropertiesNode& properties) {
    const auto& entries = context.getEventProperties(static_cast<int32_t>(type));
    for (const auto& entry : entries) {
        if (entry.kind == analytics_sdk::utils::ValueKind::String) {
            properties.SetString(entry.key, *entry.value);
        }
    }
    return !entries.empty();
}

}  // namespace marlix::tracking
