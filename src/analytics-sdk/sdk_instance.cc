#include "analytics-sdk/sdk_instance.h"

#include <chrono>
#include <ctime>

#include "analytics-sdk/record_builder.h"

namespace analytics_sdk {
namespace {

int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace

PropertiesNode DefaultSuperProperties() {
    PropertiesNode node;
    node.SetString("$lib", "cpp");
    node.SetString("$lib_version", "0.9");
    return node;
}

SdkInstance::SdkInstance(std::string distinctId, bool isLoginId, std::unique_ptr<RecordStore> store)
    : identity_{std::make_shared<const PropertiesNode>(DefaultSuperProperties()),
                std::move(distinctId), isLoginId},
      random_(static_cast<std::mt19937::result_type>(std::time(nullptr))),
      store_(std::move(store)) {}

SdkInstance::~SdkInstance() {
    store_.reset();
    closed_.set_value();
}

bool SdkInstance::Track(const std::string& event, const utils::ObjectNode& properties) {
    const Stamp stamp = TakeStamp();
    return AddRecord("track", event, properties, stamp.identity.distinctId, "", stamp);
}

bool SdkInstance::TrackInstallation(const std::string& event, const utils::ObjectNode& properties) {
    PropertiesNode withSource;
    withSource.SetString("$ios_install_source", "");
    withSource.Merge(properties);
    return Track(event, withSource);
}

bool SdkInstance::Login(const std::string& loginId) {
    Stamp stamp;
    {
        std::lock_guard lock(mutex_);
        stamp = TakeStampLocked();
        identity_.distinctId = loginId;
        identity_.isLoginId = true;
    }
    const PropertiesNode none;
    return AddRecord("track_signup", "$SignUp", none, loginId, stamp.identity.distinctId, stamp);
}

bool SdkInstance::Profile(std::string_view actionType, const utils::ObjectNode& properties) {
    const Stamp stamp = TakeStamp();
    return AddRecord(actionType, "", properties, stamp.identity.distinctId, "", stamp);
}

void SdkInstance::RegisterSuperProperties(const utils::ObjectNode& properties) {
    std::lock_guard lock(mutex_);
    auto merged = std::make_shared<PropertiesNode>(*identity_.superProperties);
    merged->Merge(properties);
    identity_.superProperties = std::move(merged);
}

void SdkInstance::ClearSuperProperties() {
    auto fresh = std::make_shared<const PropertiesNode>(DefaultSuperProperties());
    std::lock_guard lock(mutex_);
    identity_.superProperties = std::move(fresh);
}

SdkInstance::Stamp SdkInstance::TakeStamp() {
    std::lock_guard lock(mutex_);
    return TakeStampLocked();
}

SdkInstance::Stamp SdkInstance::TakeStampLocked() {
    Stamp stamp{identity_, NowMs(), 0};
    const uint32_t r = random_();
    const uint32_t s = random_();
    stamp.trackId = MakeTrackId(r, s, stamp.nowMs);
    return stamp;
}

bool SdkInstance::AddRecord(std::string_view actionType, std::string_view event,
                            const utils::ObjectNode& properties, std::string_view distinctId,
                            std::string_view originalId, const Stamp& stamp) {
    const RecordRequest request{actionType, event, properties, distinctId, originalId};
    const RecordContext context{*stamp.identity.superProperties, stamp.identity.isLoginId,
                                stamp.nowMs, stamp.trackId};
    std::optional<std::string> text = BuildRecord(request, context);
    if (!text) {
        return false;
    }
    store_->Add(std::move(*text));
    return true;
}

}  // namespace analytics_sdk
