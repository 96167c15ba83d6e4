#pragma once

// The analytics tracker's interface. A process keeps one tracker behind a shared pointer; it
// comes from CreateTracker (tracker_factory.h), whose facade never lets an exception out of
// a track operation. Every operation may be called from any thread. Texts are UTF-8.

#include <cstdint>
#include <string>

#include "source/src/mx_context_properties.h"
#include "source/src/mx_events.h"
#include "source/src/mx_types.h"

namespace marlix::tracking {

struct TrackerOptions {
    std::string appName;       // "mx_app_id" and "$app_id"; also names the tracker's files
    std::string appVersion;    // "$app_version"
    std::string appStore;      // "mx_app_store"
    std::string dlAppId;       // "mx_dlapp_id"; may be empty
    std::string dlAppVersion;  // "mx_dlapp_version"; may be empty
    std::string logPath;       // the tracker log; empty: beside the settings file
    int32_t edition = static_cast<int32_t>(MxEdition::China);
    std::string serverUrl;  // the collection endpoint; empty: the built-in one
};

// Facts of the running program that tests and tools may replace.
struct TrackerEnvironment {
    // Where the redirect file "Set.ini" is looked for; empty: the running executable.
    std::string executablePath;
};

// The endpoint used when TrackerOptions::serverUrl is empty.
inline constexpr char kBuiltInServerUrl[] = "https://collect.marlix.example/sa?project=pc";

// Operations in their fixed slot order.
class MxTracker {
  public:
    virtual ~MxTracker() = default;

    virtual void trackActivity(const MxContextProperties& ctx) = 0;
    virtual void trackLaunch(const MxContextProperties& ctx) = 0;
    virtual void trackLogin(const MxUser& user, bool success, const std::string& reason,
                            const MxContextProperties& ctx) = 0;
    virtual void trackClick(const MxEventClick& click, const MxContextProperties& ctx) = 0;
    virtual void trackView(const MxEventView& view, const MxContextProperties& ctx) = 0;
    virtual void trackCashier(const MxEventCashier& cashier, const MxContextProperties& ctx) = 0;
    virtual void trackShare(const MxEventShare& share, const MxContextProperties& ctx) = 0;
    virtual void trackTask(const MxEventTask& task, const MxContextProperties& ctx) = 0;
    virtual void trackFile(const MxEventFile& file, const MxContextProperties& ctx) = 0;
    virtual void trackOrder(const MxEventOrder& order, const MxContextProperties& ctx) = 0;
    virtual void trackPayment(const MxEventPayment& payment, const MxContextProperties& ctx) = 0;
    virtual void trackUninstall(const std::string& reason, const MxContextProperties& ctx) = 0;
    virtual void trackCrash(const std::string& reason) = 0;
    virtual void trackUpdate(const MxEventUpdate& update, const MxContextProperties& ctx) = 0;
    // `notification` may be null.
    virtual void trackAppOpenNotification(const AppOpenNotification* notification,
                                          const MxContextProperties& ctx) = 0;
    virtual void setLocale(const std::string& locale) = 0;
    virtual std::string getPrimaryDistinctId() = 0;
    virtual bool hasTrackLogger() = 0;
};

}  // namespace marlix::tracking
