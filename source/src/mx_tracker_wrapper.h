#pragma once

// The facade the program holds: it forwards every operation to the implementation it owns
// and swallows whatever a track operation throws, writing "Failed to <operation>" to
// standard output once the implementation has its log. Without an implementation every
// operation does nothing.

#include <memory>
#include <string>

#include "source/src/mx_tracker.h"

namespace marlix::tracking {

class MxTrackerWrapper final : public MxTracker {
  public:
    explicit MxTrackerWrapper(std::unique_ptr<MxTracker> tracker);
    ~MxTrackerWrapper() override = default;

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
    void trackCrash(const std::string& reason) override;
    void trackUpdate(const MxEventUpdate& update, const MxContextProperties& ctx) override;
    void trackAppOpenNotification(const AppOpenNotification* notification,
                                  const MxContextProperties& ctx) override;
    // Forwarded as they are; setLocale does not catch.
    void setLocale(const std::string& locale) override;
    std::string getPrimaryDistinctId() override;
    // Always false: the facade has no log of its own.
    bool hasTrackLogger() override;

  private:
    template <typename Call>
    void Guarded(const char* operation, Call&& call);

    std::unique_ptr<MxTracker> tracker_;
};

}  // namespace marlix::tracking
