#include "source/src/native_user_tracker.h"

#include <map>
#include <utility>

#include "analytics-sdk/sdk.h"
#include "source/src/mx_exception.h"

namespace marlix::tracking {
namespace {

using analytics_sdk::Sdk;
constexpr char kUnit[] = "NativeUserTracker";

std::map<std::string, ProfileRule> BuildRules() {
    const std::pair<const char*, ProfileRule> table[] = {
        {"mx_label", ProfileRule::Set},
        {"mx_os", ProfileRule::Set},
        {"mx_os_version", ProfileRule::Set},
        {"mx_manufacturer", ProfileRule::Set},
        {"mx_model", ProfileRule::Set},
        {"$first_visit_time", ProfileRule::SetOnce},
        {"mx_first_visit_date", ProfileRule::SetOnce},
        {"mx_app_store", ProfileRule::Set},
        {"mx_app_platform", ProfileRule::Set},
        {"mx_last_app_id", ProfileRule::Set},
        {"mx_last_app_version", ProfileRule::Set},
        {"$ios_install_source", ProfileRule::SetOnce},
        {"mx_carrier", ProfileRule::Set},
        {"mx_last_visit_date", ProfileRule::Set},
        {"mx_visit_count", ProfileRule::Increment},
        {"aurora_pushid", ProfileRule::Set},
        {"mx_user_id", ProfileRule::Set},
        {"mx_user_name", ProfileRule::Set},
        {"mx_user_type", ProfileRule::Set},
        {"mx_user_nickname", ProfileRule::Set},
        {"mx_user_portrait", ProfileRule::Set},
        {"mx_user_mobilephone", ProfileRule::Set},
        {"mx_user_email", ProfileRule::Set},
        {"mx_user_weixin", ProfileRule::Set},
        {"mx_user_qq", ProfileRule::Set},
        {"mx_user_did", ProfileRule::Set},
        {"mx_user_created", ProfileRule::Set},
        {"mx_user_last_login", ProfileRule::Set},
        {"mx_user_last_ip", ProfileRule::Set},
        {"mx_user_vip_level", ProfileRule::Set},
        {"mx_user_vip_enddate", ProfileRule::Set},
        {"idfa", ProfileRule::Set},
        {"imei", ProfileRule::Set},
        {"android_id", ProfileRule::Set},
        {"oaid", ProfileRule::Set},
        {"mx_ip", ProfileRule::Set},
        {"mx_country_code", ProfileRule::Set},
        {"mx_country", ProfileRule::Set},
        {"mx_province", ProfileRule::Set},
        {"mx_city", ProfileRule::Set},
        {"mx_first_paid_date", ProfileRule::SetOnce},
        {"mx_last_paid_date", ProfileRule::Set},
        {"mx_paid_count", ProfileRule::Increment},
        {"mx_consumption", ProfileRule::Increment},
    };
    std::map<std::string, ProfileRule> rules;
    for (const auto& [key, rule] : table) {
        rules.emplace(key, rule);  // a key listed twice keeps its first rule
    }
    return rules;
}

ProfileRule RequireRule(const std::string& key, const char* function) {
    const std::optional<ProfileRule> rule = ProfileRuleOf(key);
    if (!rule) {
        MX_THROW(kUnit, function, "Not supported user property [" + key + "]!");
    }
    return *rule;
}

std::string NumberAppendMessage(const std::string& key) {
    return "user property [" + key + "] is number value, it cannot be append to list!";
}

// Integer and double values follow the same rules; only the SDK call differs.
template <typename Value>
void ProfileNumber(const std::string& key, Value value) {
    constexpr char kFunction[] = "ProfileUserPropertyNumber";
    switch (RequireRule(key, kFunction)) {
        case ProfileRule::SetOnce:
            Sdk::ProfileSetOnce(key, value);
            return;
        case ProfileRule::Set:
            Sdk::ProfileSet(key, value);
            return;
        case ProfileRule::Increment:
            if constexpr (std::is_floating_point_v<Value>) {
                analytics_sdk::PropertiesNode properties;
                properties.SetNumber(key, value);
                Sdk::ProfileIncrement(properties);
            } else {
                Sdk::ProfileIncrement(key, value);
            }
            return;
        case ProfileRule::Append:
            MX_THROW(kUnit, kFunction, NumberAppendMessage(key));
    }
}

}  // namespace

std::optional<ProfileRule> ProfileRuleOf(const std::string& key) {
    static const std::map<std::string, ProfileRule> rules = BuildRules();
    const auto found = rules.find(key);
    if (found == rules.end()) {
        return std::nullopt;
    }
    return found->second;
}

void ProfileUserPropertyString(const std::string& key, const std::string& value) {
    constexpr char kFunction[] = "ProfileUserPropertyString";
    switch (RequireRule(key, kFunction)) {
        case ProfileRule::SetOnce:
            Sdk::ProfileSetOnce(key, value);
            return;
        case ProfileRule::Set:
            Sdk::ProfileSet(key, value);
            return;
        case ProfileRule::Append:
            Sdk::ProfileAppend(key, value);
            return;
        case ProfileRule::Increment:
            MX_THROW(kUnit, kFunction,
                     "user property [" + key + "] is string type value, it cannot be accumulated!");
    }
}

void ProfileUserPropertyNumber(const std::string& key, int32_t value) {
    ProfileNumber(key, value);
}

void ProfileUserPropertyNumber(const std::string& key, double value) {
    ProfileNumber(key, value);
}

void ProfileUserPropertyDateTime(const std::string& key, int64_t time) {
    constexpr char kFunction[] = "ProfileUserPropertyDateTime";
    const ProfileRule rule = RequireRule(key, kFunction);
    if (rule == ProfileRule::Increment || rule == ProfileRule::Append) {
        MX_THROW(kUnit, kFunction,
                 "user property [" + key + "] is date time value, it cannot be " +
                     (rule == ProfileRule::Increment ? "accumulated!" : "append to list!"));
    }
    const bool milliseconds = time >= kMillisecondsThreshold;
    analytics_sdk::PropertiesNode properties;
    properties.SetDateTime(key, milliseconds ? time / 1000 : time,
                           milliseconds ? static_cast<int>(time % 1000) : 0);
    if (rule == ProfileRule::SetOnce) {
        Sdk::ProfileSetOnce(properties);
    } else {
        Sdk::ProfileSet(properties);
    }
}

}  // namespace marlix::tracking
