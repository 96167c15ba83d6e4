#pragma once

// The working tracker: identity and files, preset and context properties, the event records
// and their upload moments. Its operations throw MxException; MxTrackerWrapper catches them.
// Construct, call init once before sharing the object, then call the track operations from
// any thread. The destructor stores the identity, uploads what is pending, stages what is
// left and waits for every send thread it started.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "source/src/mx_tracker.h"
#include "source/src/os_names.h"
#include "source/src/send_steps.h"
#include "source/src/tracker_files.h"

namespace marlix::tracking {

class MxTrackerImpl final : public MxTracker {
  public:
    explicit MxTrackerImpl(TrackerOptions options, TrackerEnvironment environment = {});
    ~MxTrackerImpl() override;
    MxTrackerImpl(const MxTrackerImpl&) = delete;
    MxTrackerImpl& operator=(const MxTrackerImpl&) = delete;

    // Checks the options, loads or creates the identity, opens the log, starts the SDK and
    // registers the preset properties. Throws MxException when any of that fails.
    void init();

    void trackActivity(const MxContextProperties& ctx) override;
    void trackLaunch(const MxContextProperties& ctx) override;
    void trackLogin(const MxUser& user, bool success, const std::string& reason,
                    const MxContextProperties& ctx) override;
    void trackClick(const MxEventClick& click, const MxContextProperties& ctx) override;
    void trackView(const MxEventView& view, const MxContextProperties& ctx) override;
    void trackCashier(const MxEventCashier& cashier, const MxContextProperties& ctx) override;
    void trackShare(const MxEventShare& share, const MxContextProperties& ctx) override;
    void trackTask(const MxEventTask& task, const MxContextProperties& ctx) override;
    void trackFile(const MxEventFile& file, const MxContextProperties& ctx) override;
    void trackOrder(const MxEventOrder& order, const MxContextProperties& ctx) override;
    void trackPayment(const MxEventPayment& payment, const MxContextProperties& ctx) override;
    void trackUninstall(const std::string& reason, const MxContextProperties& ctx) override;
    // Uploads on the calling thread: a crashing process may end as soon as this returns.
    void trackCrash(const std::string& reason) override;
    void trackUpdate(const MxEventUpdate& update, const MxContextProperties& ctx) override;
    void trackAppOpenNotification(const AppOpenNotification* notification,
                                  const MxContextProperties& ctx) override;
    void setLocale(const std::string& locale) override;
    std::string getPrimaryDistinctId() override;
    bool hasTrackLogger() override;

    // Records queued since the last successful upload, as the send steps count them.
    int32_t pendingCount() const { return sends_.pending(); }

  private:
    void RegisterLocale();
    std::string CurrentLocale() const;
    Identity CurrentIdentity() const;
    void StoreIdentity(const Identity& identity) const;

    const TrackerOptions options_;
    const TrackerEnvironment environment_;
    const OsDescription os_;

    // Set by init, before the tracker is shared; read-only afterwards.
    TrackerPaths paths_;
    std::unique_ptr<NativeTrackLogger> logger_;
    bool sdkStarted_ = false;

    mutable std::mutex stateMutex_;  // guards identity_ and locale_
    Identity identity_;
    std::string locale_;

    SendSteps sends_;
};

}  // namespace marlix::tracking
