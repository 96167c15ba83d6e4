#pragma once

// The collection SDK's process-wide instance. Init creates it; every other operation does
// nothing (and returns false) while there is none. All operations may be called from any
// thread and never throw; failures are reported on standard error.
//
//   analytics_sdk::Sdk::Init(stagingPath, "https://host/sa?project=pc", distinctId, false);
//   analytics_sdk::PropertiesNode properties;
//   properties.SetString("mx_reason", "disk full");
//   analytics_sdk::Sdk::Track("InstallFailed", properties);
//   analytics_sdk::Sdk::Flush();
//   analytics_sdk::Sdk::Shutdown();

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

#include "analytics-sdk/properties_node.h"

namespace analytics_sdk {

class Sdk {
  public:
    // Checks `distinctId` (1 to 255 bytes); false when it fails. Otherwise creates the
    // instance unless one exists (an existing one is left unchanged) and returns true.
    // `stagingFilePath` keeps unsent records between runs; `serverUrl` is the complete
    // upload address.
    static bool Init(const std::string& stagingFilePath, const std::string& serverUrl,
                     const std::string& distinctId, bool isLoginId);

    // Queue one record; false when there is no instance or a check failed.
    static bool Track(const std::string& event, const PropertiesNode& properties);
    static bool Track(const std::string& event);
    static bool TrackInstallation(const std::string& event, const PropertiesNode& properties);
    static bool Login(const std::string& loginId);

    static bool ProfileSet(const PropertiesNode& properties);
    static bool ProfileSet(const std::string& key, const std::string& value);
    static bool ProfileSet(const std::string& key, double value);
    template <std::integral T>
    requires(!std::same_as<T, bool>) static bool ProfileSet(const std::string& key, T value) {
        return ProfileInt("profile_set", key, static_cast<int64_t>(value));
    }
    static bool ProfileSetOnce(const PropertiesNode& properties);
    static bool ProfileSetOnce(const std::string& key, const std::string& value);
    static bool ProfileSetOnce(const std::string& key, double value);
    template <std::integral T>
    requires(!std::same_as<T, bool>) static bool ProfileSetOnce(const std::string& key, T value) {
        return ProfileInt("profile_set_once", key, static_cast<int64_t>(value));
    }
    static bool ProfileIncrement(const PropertiesNode& properties);
    template <std::integral T>
    requires(!std::same_as<T, bool>) static bool ProfileIncrement(const std::string& key, T value) {
        return ProfileInt("profile_increment", key, static_cast<int64_t>(value));
    }
    static bool ProfileAppend(const std::string& key, const std::string& value);

    static void RegisterSuperProperties(const PropertiesNode& properties);
    static void ClearSuperProperties();

    // Uploads everything queued (and staged by an earlier run), in batches of at most 30.
    // Blocks for the uploads; false at the first batch that fails, which stays queued.
    static bool Flush();
    // Destroys the instance; what is still queued is written to the staging file.
    static void Shutdown();

    // Whether the latest upload of this process succeeded; false before the first.
    static bool LastSendSucceeded();

  private:
    static bool Profile(std::string_view actionType, const PropertiesNode& properties);
    static bool ProfileString(std::string_view actionType, const std::string& key,
                              const std::string& value);
    static bool ProfileDouble(std::string_view actionType, const std::string& key, double value);
    static bool ProfileInt(std::string_view actionType, const std::string& key, int64_t value);
};

}  // namespace analytics_sdk
