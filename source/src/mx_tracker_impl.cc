#include "source/src/mx_tracker_impl.h"

#include <chrono>

#include "analytics-sdk/sdk.h"
#include "platform/executable.h"
#include "platform/screen_metrics.h"
#include "platform/user_locale.h"
#include "source/src/distinct_id.h"
#include "source/src/event_properties.h"
#include "source/src/mx_exception.h"
#include "source/src/native_user_tracker.h"
#include "source/src/preset_properties.h"

namespace marlix::tracking {
namespace {

using analytics_sdk::PropertiesNode;
using analytics_sdk::Sdk;

constexpr char kUnit[] = "MxTrackerImpl";

int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

void RequireOption(const std::string& value, const char* message) {
    if (value.empty()) {
        MX_THROW(kUnit, "init", message);
    }
}

// A fresh anonymous identity under `serverUrl`, keeping the device's primary id when known.
void StartOver(Identity& identity, const std::string& serverUrl) {
    identity.userId.clear();
    identity.loggedIn = false;
    if (identity.primaryDistinctId.empty()) {
        identity.distinctId = NewDistinctId();
        identity.primaryDistinctId = identity.distinctId;
    } else {
        identity.distinctId = identity.primaryDistinctId;
    }
    identity.savedServerUrl = serverUrl;
}

void ProfileVisitDates(int64_t now) {
    ProfileUserPropertyDateTime("$first_visit_time", now);
    ProfileUserPropertyDateTime("mx_first_visit_date", now);
    ProfileUserPropertyDateTime("mx_last_visit_date", now);
}

}  // namespace

MxTrackerImpl::MxTrackerImpl(TrackerOptions options, TrackerEnvironment environment)
    : options_(std::move(options)), environment_(std::move(environment)), os_(DescribeOs()) {}

MxTrackerImpl::~MxTrackerImpl() {
    if (!paths_.settingsPath.empty()) {
        StoreIdentity(CurrentIdentity());
    }
    sends_.Finish();
    if (sdkStarted_) {
        Sdk::Shutdown();
    }
    if (logger_) {
        logger_->Close();
        logger_.reset();
    }
}

void MxTrackerImpl::init() {
    RequireOption(options_.appName, "appName is empty");
    RequireOption(options_.appVersion, "appVersion is empty");
    RequireOption(options_.appStore, "appStore is empty");
    sends_.ResetPending();

    const std::string executable = environment_.executablePath.empty()
                                       ? platform::ExecutablePath()
                                       : environment_.executablePath;
    paths_ = ResolveTrackerPaths(options_.appName, executable);
    const std::string serverUrl =
        options_.serverUrl.empty() ? kBuiltInServerUrl : options_.serverUrl;

    Identity identity = LoadIdentity(paths_.settingsPath);
    if (identity.savedServerUrl != serverUrl || identity.distinctId.empty()) {
        StartOver(identity, serverUrl);
        StoreIdentity(identity);
    }
    if (identity.userId.empty()) {
        identity.loggedIn = false;
    }
    {
        std::lock_guard lock(stateMutex_);
        identity_ = identity;
    }

    logger_ = std::make_unique<NativeTrackLogger>();
    logger_->Open(options_.logPath.empty() ? TrackerFile(paths_, options_.appName, kLogSuffix)
                                           : options_.logPath);

    // Records still queued at shut-down are kept in a file of the tracker directory and sent
    // by the next run.
    const std::string staging = TrackerFile(paths_, options_.appName, kStagingSuffix);
    const std::string& sdkId = identity.loggedIn ? identity.userId : identity.distinctId;
    if (!Sdk::Init(staging, serverUrl, sdkId, identity.loggedIn)) {
        MX_THROW(kUnit, "init", "analytics_sdk::Sdk::Init is failed");
    }
    sdkStarted_ = true;

    PresetFacts facts{os_, ResolveLocale(CurrentLocale(), platform::UserLocaleNames()),
                      platform::PrimaryScreenSize(), identity.userId};
    Sdk::RegisterSuperProperties(PresetProperties(options_, facts));
    WriteApplicationKeys(paths_.settingsPath, options_.appStore, options_.appName,
                         options_.appVersion);
}

void MxTrackerImpl::trackActivity(const MxContextProperties& ctx) {
    PropertiesNode properties;
    AddContextProperties(ctx, MxEventType::Activity, properties);
    properties.Merge(ActivityProperties(options_, os_));
    Sdk::TrackInstallation("MxEventActivity", properties);

    ProfileVisitDates(NowMs());
    ProfileUserPropertyString("mx_os", os_.name);
    ProfileUserPropertyString("mx_os_version", os_.version);
    ProfileUserPropertyString("mx_app_store", options_.appStore);
    ProfileUserPropertyString("mx_app_platform", os_.name);
    ProfileUserPropertyString("mx_last_app_id", options_.appName);
    ProfileUserPropertyString("mx_last_app_version", options_.appVersion);
    ProfileUserPropertyString("$ios_install_source", kInstallSourceText);
    sends_.AddPending(9);
    sends_.Urgent();
}

void MxTrackerImpl::trackLaunch(const MxContextProperties& ctx) {
    PropertiesNode properties;
    if (AddContextProperties(ctx, MxEventType::PaLaunchPal, properties)) {
        Sdk::Track("MxEventLaunch", properties);
    } else {
        Sdk::Track("MxEventLaunch");
    }
    if (!CurrentIdentity().userId.empty()) {
        ProfileVisitDates(NowMs());
        sends_.AddPending(4);
    }
    sends_.Urgent();
}

void MxTrackerImpl::trackLogin(const MxUser& user, bool success, const std::string& reason,
                               const MxContextProperties& ctx) {
    PropertiesNode properties = LoginProperties(user, success, reason);
    AddContextProperties(ctx, MxEventType::Login, properties);
    Sdk::Track("MxEventLogin", properties);
    if (!user.id.empty()) {
        bool firstLogin = false;
        Identity identity;
        {
            std::lock_guard lock(stateMutex_);
            identity_.vipLevel = user.vipLevel;
            firstLogin = !identity_.loggedIn || identity_.userId.empty();
            if (firstLogin) {
                identity_.loggedIn = true;
                identity_.userId = user.id;
                identity_.distinctId = user.id;
            }
            identity = identity_;
        }
        if (firstLogin) {
            Sdk::Login(user.id);
            PropertiesNode userId;
            userId.SetString("mx_user_id", user.id);
            Sdk::RegisterSuperProperties(userId);
        }
        StoreIdentity(identity);
    }
    sends_.AddPending(1);
    sends_.Urgent();
}

void MxTrackerImpl::trackClick(const MxEventClick& click, const MxContextProperties& ctx) {
    PropertiesNode properties = ClickProperties(click);
    AddContextProperties(ctx, MxEventType::Click, properties);
    Sdk::Track("MxEventClick", properties);
    sends_.AddPending(1);
    sends_.NonUrgent();
}

void MxTrackerImpl::trackView(const MxEventView& view, const MxContextProperties& ctx) {
    PropertiesNode properties = ViewProperties(view);
    AddContextProperties(ctx, MxEventType::View, properties);
    Sdk::Track("MxEventView", properties);
    sends_.AddPending(1);
    sends_.NonUrgent();
}

void MxTrackerImpl::trackCashier(const MxEventCashier& cashier, const MxContextProperties& ctx) {
    PropertiesNode properties = CashierProperties(cashier);
    AddContextProperties(ctx, MxEventType::Cashier, properties);
    Sdk::Track("MxEventCashier", properties);
    sends_.AddPending(1);
    sends_.NonUrgent();
}

void MxTrackerImpl::trackShare(const MxEventShare& share, const MxContextProperties& ctx) {
    PropertiesNode properties = ShareProperties(share);
    AddContextProperties(ctx, MxEventType::Share, properties);
    Sdk::Track("MxEventShare", properties);
    sends_.AddPending(1);
    sends_.NonUrgent();
}

void MxTrackerImpl::trackTask(const MxEventTask& task, const MxContextProperties& ctx) {
    PropertiesNode properties = TaskProperties(task);
    AddContextProperties(ctx, MxEventType::Task, properties);
    Sdk::Track("MxEventTask", properties);
    sends_.NonUrgent();
}

void MxTrackerImpl::trackFile(const MxEventFile& file, const MxContextProperties& ctx) {
    PropertiesNode properties = FileProperties(file);
    AddContextProperties(ctx, MxEventType::File, properties);
    Sdk::Track("MxEventFile", properties);
    sends_.AddPending(1);
    sends_.NonUrgent();
}

void MxTrackerImpl::trackOrder(const MxEventOrder& order, const MxContextProperties& ctx) {
    PropertiesNode properties = OrderProperties(order);
    AddContextProperties(ctx, MxEventType::Order, properties);
    Sdk::Track("MxEventOrder", properties);
    sends_.AddPending(1);
    sends_.NonUrgent();
}

void MxTrackerImpl::trackPayment(const MxEventPayment& payment, const MxContextProperties& ctx) {
    PropertiesNode properties = PaymentProperties(payment);
    AddContextProperties(ctx, MxEventType::Payment, properties);
    Sdk::Track("MxEventPayment", properties);

    ProfileUserPropertyNumber("mx_paid_count", int32_t{1});
    ProfileUserPropertyNumber("mx_consumption", static_cast<double>(payment.paidAmount));
    const int64_t now = NowMs();
    ProfileUserPropertyDateTime("mx_first_paid_date", now);
    ProfileUserPropertyDateTime("mx_last_paid_date", now);
    sends_.AddPending(4);

    if (*payment.result == MxResult::Success) {
        Identity identity;
        {
            std::lock_guard lock(stateMutex_);
            identity_.vipLevel = 1;
            identity = identity_;
        }
        StoreIdentity(identity);
    }
    sends_.Urgent();
}

void MxTrackerImpl::trackUninstall(const std::string& reason, const MxContextProperties& ctx) {
    PropertiesNode properties = UninstallProperties(reason);
    AddContextProperties(ctx, MxEventType::Uninstall, properties);
    Sdk::Track("MxEventUninstall", properties);
    sends_.AddPending(1);
    sends_.Urgent();
}

void MxTrackerImpl::trackCrash(const std::string& reason) {
    Sdk::Track("AppCrashed", CrashProperties(reason));
    sends_.AddPending(1);
    sends_.UrgentHere();
}

void MxTrackerImpl::trackUpdate(const MxEventUpdate& update, const MxContextProperties& ctx) {
    PropertiesNode properties = UpdateProperties(update);
    AddContextProperties(ctx, MxEventType::Update, properties);
    Sdk::Track("MxEventUpdate", properties);
    sends_.AddPending(1);
    sends_.Urgent();
}

void MxTrackerImpl::trackAppOpenNotification(const AppOpenNotification* notification,
                                             const MxContextProperties& ctx) {
    PropertiesNode properties = AppOpenNotificationProperties(notification);
    AddContextProperties(ctx, MxEventType::AppOpenNotification, properties);
    Sdk::Track("AppOpenNotification", properties);
    sends_.NonUrgent();
}

void MxTrackerImpl::setLocale(const std::string& locale) {
    {
        std::lock_guard lock(stateMutex_);
        locale_ = locale;
    }
    RegisterLocale();
}

std::string MxTrackerImpl::getPrimaryDistinctId() {
    return CurrentIdentity().primaryDistinctId;
}

bool MxTrackerImpl::hasTrackLogger() {
    return logger_ != nullptr;
}

void MxTrackerImpl::RegisterLocale() {
    Sdk::RegisterSuperProperties(
        LocaleProperties(ResolveLocale(CurrentLocale(), platform::UserLocaleNames())));
}

std::string MxTrackerImpl::CurrentLocale() const {
    std::lock_guard lock(stateMutex_);
    return locale_;
}

Identity MxTrackerImpl::CurrentIdentity() const {
    std::lock_guard lock(stateMutex_);
    return identity_;
}

void MxTrackerImpl::StoreIdentity(const Identity& identity) const {
    WriteIdentity(paths_.settingsPath, identity);
}

}  // namespace marlix::tracking
