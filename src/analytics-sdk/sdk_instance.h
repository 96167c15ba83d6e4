#pragma once

// One SDK instance: the identity that goes into records, the super properties, and the
// record store. Records can be built on any thread; the identity and the super properties
// are read in one piece under the instance's lock, so a record never sees a half-changed
// value while Login or a super-property change runs elsewhere.

#include <future>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <string_view>

#include "analytics-sdk/properties_node.h"
#include "analytics-sdk/record_store.h"

namespace analytics_sdk {

class SdkInstance {
  public:
    SdkInstance(std::string distinctId, bool isLoginId, std::unique_ptr<RecordStore> store);
    // Closes the store (staging what is queued), then signals Closed().
    ~SdkInstance();
    SdkInstance(const SdkInstance&) = delete;
    SdkInstance& operator=(const SdkInstance&) = delete;

    // Ready once the instance is destroyed and its records are staged.
    std::shared_future<void> Closed() const { return closedFuture_; }

    bool Track(const std::string& event, const utils::ObjectNode& properties);
    bool TrackInstallation(const std::string& event, const utils::ObjectNode& properties);
    // Sends "$SignUp" from the current distinct id to `loginId`, which then becomes the
    // distinct id of every later record, marked as a login id.
    bool Login(const std::string& loginId);
    // "profile_set", "profile_set_once", "profile_increment" or "profile_append".
    bool Profile(std::string_view actionType, const utils::ObjectNode& properties);

    void RegisterSuperProperties(const utils::ObjectNode& properties);
    void ClearSuperProperties();

    RecordStore& store() { return *store_; }

  private:
    struct Identity {
        std::shared_ptr<const PropertiesNode> superProperties;  // replaced, never changed
        std::string distinctId;
        bool isLoginId = false;
    };
    struct Stamp {
        Identity identity;
        int64_t nowMs = 0;
        int64_t trackId = 0;
    };

    Stamp TakeStamp();
    Stamp TakeStampLocked();
    bool AddRecord(std::string_view actionType, std::string_view event,
                   const utils::ObjectNode& properties, std::string_view distinctId,
                   std::string_view originalId, const Stamp& stamp);

    std::mutex mutex_;  // guards identity_ and random_
    Identity identity_;
    std::mt19937 random_;
    std::unique_ptr<RecordStore> store_;
    std::promise<void> closed_;
    std::shared_future<void> closedFuture_ = closed_.get_future().share();
};

// Super properties after creation or clearing: "$lib" = "cpp", "$lib_version" = "0.9".
PropertiesNode DefaultSuperProperties();

}  // namespace analytics_sdk
