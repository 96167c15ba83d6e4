#include "analytics-sdk/sdk.h"

#include <exception>
#include <memory>
#include <mutex>

#include "analytics-sdk/diagnostics.h"
#include "analytics-sdk/http_sender.h"
#include "analytics-sdk/sdk_instance.h"
#include "analytics-sdk/send_flag.h"
#include "analytics-sdk/validation.h"

namespace analytics_sdk {
namespace {

// The instance is shared with the calls running on it, so Shutdown on one thread never
// destroys it under a Track or Flush on another; the last of them closes the store.
struct ProcessState {
    std::mutex mutex;
    std::shared_ptr<SdkInstance> instance;
    SendFlag lastSend;
};

ProcessState& State() {
    static ProcessState state;
    return state;
}

std::shared_ptr<SdkInstance> Current() {
    ProcessState& state = State();
    std::lock_guard lock(state.mutex);
    return state.instance;
}

// Runs `action` on the current instance; false when there is none or it threw.
template <typename Action>
bool OnInstance(Action&& action) {
    try {
        std::shared_ptr<SdkInstance> instance = Current();
        return instance != nullptr && action(*instance);
    } catch (const std::exception& e) {
        WriteError(std::string("Analytics SDK error: ") + e.what() + "\n");
    } catch (...) {
        WriteError("Analytics SDK error: unknown exception\n");
    }
    return false;
}

}  // namespace

bool Sdk::Init(const std::string& stagingFilePath, const std::string& serverUrl,
               const std::string& distinctId, bool isLoginId) {
    try {
        if (!CheckIdentifier("Distinct ID", distinctId)) {
            return false;
        }
        ProcessState& state = State();
        std::lock_guard lock(state.mutex);
        if (state.instance == nullptr) {
            auto sender = std::make_unique<HttpSender>(serverUrl, HeaderPairs{}, state.lastSend);
            auto store = std::make_unique<RecordStore>(stagingFilePath, std::move(sender));
            state.instance = std::make_shared<SdkInstance>(distinctId, isLoginId, std::move(store));
        }
        return true;
    } catch (const std::exception& e) {
        WriteError(std::string("Analytics SDK error: ") + e.what() + "\n");
        return false;
    }
}

bool Sdk::Track(const std::string& event, const PropertiesNode& properties) {
    return OnInstance([&](SdkInstance& sdk) { return sdk.Track(event, properties); });
}

bool Sdk::Track(const std::string& event) {
    return Track(event, PropertiesNode());
}

bool Sdk::TrackInstallation(const std::string& event, const PropertiesNode& properties) {
    return OnInstance([&](SdkInstance& sdk) { return sdk.TrackInstallation(event, properties); });
}

bool Sdk::Login(const std::string& loginId) {
    return OnInstance([&](SdkInstance& sdk) { return sdk.Login(loginId); });
}

bool Sdk::ProfileSet(const PropertiesNode& properties) {
    return Profile("profile_set", properties);
}

bool Sdk::ProfileSet(const std::string& key, const std::string& value) {
    return ProfileString("profile_set", key, value);
}

bool Sdk::ProfileSet(const std::string& key, double value) {
    return ProfileDouble("profile_set", key, value);
}

bool Sdk::ProfileSetOnce(const PropertiesNode& properties) {
    return Profile("profile_set_once", properties);
}

bool Sdk::ProfileSetOnce(const std::string& key, const std::string& value) {
    return ProfileString("profile_set_once", key, value);
}

bool Sdk::ProfileSetOnce(const std::string& key, double value) {
    return ProfileDouble("profile_set_once", key, value);
}

bool Sdk::ProfileIncrement(const PropertiesNode& properties) {
    return Profile("profile_increment", properties);
}

bool Sdk::ProfileAppend(const std::string& key, const std::string& value) {
    return OnInstance([&](SdkInstance& sdk) {
        PropertiesNode properties;
        properties.SetList(key, {value});
        return sdk.Profile("profile_append", properties);
    });
}

void Sdk::RegisterSuperProperties(const PropertiesNode& properties) {
    OnInstance([&](SdkInstance& sdk) {
        sdk.RegisterSuperProperties(properties);
        return true;
    });
}

void Sdk::ClearSuperProperties() {
    OnInstance([](SdkInstance& sdk) {
        sdk.ClearSuperProperties();
        return true;
    });
}

bool Sdk::Flush() {
    return OnInstance([](SdkInstance& sdk) { return sdk.store().Flush(); });
}

void Sdk::Shutdown() {
    std::shared_ptr<SdkInstance> instance;
    {
        ProcessState& state = State();
        std::lock_guard lock(state.mutex);
        instance.swap(state.instance);
    }
    if (instance == nullptr) {
        return;
    }
    // A Track or Flush still running on another thread holds the instance; the last of them
    // closes the store. Returning only after that keeps "shut down" meaning "staged".
    std::shared_future<void> closed = instance->Closed();
    instance.reset();
    closed.wait();
}

bool Sdk::LastSendSucceeded() {
    return State().lastSend.Get();
}

bool Sdk::Profile(std::string_view actionType, const PropertiesNode& properties) {
    return OnInstance([&](SdkInstance& sdk) { return sdk.Profile(actionType, properties); });
}

bool Sdk::ProfileString(std::string_view actionType, const std::string& key,
                        const std::string& value) {
    return OnInstance([&](SdkInstance& sdk) {
        PropertiesNode properties;
        // A rejected value sends nothing rather than an empty profile update.
        return properties.SetString(key, value) && sdk.Profile(actionType, properties);
    });
}

bool Sdk::ProfileDouble(std::string_view actionType, const std::string& key, double value) {
    PropertiesNode properties;
    properties.SetNumber(key, value);
    return Profile(actionType, properties);
}

bool Sdk::ProfileInt(std::string_view actionType, const std::string& key, int64_t value) {
    PropertiesNode properties;
    properties.SetNumber(key, value);
    return Profile(actionType, properties);
}

}  // namespace analytics_sdk
