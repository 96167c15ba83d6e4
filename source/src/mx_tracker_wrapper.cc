#include "source/src/mx_tracker_wrapper.h"

#include <cstdio>

namespace marlix::tracking {

MxTrackerWrapper::MxTrackerWrapper(std::unique_ptr<MxTracker> tracker)
    : tracker_(std::move(tracker)) {}

template <typename Call>
void MxTrackerWrapper::Guarded(const char* operation, Call&& call) {
    if (!tracker_) {
        return;
    }
    try {
        call(*tracker_);
    } catch (...) {
        try {
            if (tracker_->hasTrackLogger()) {
                const std::string line = std::string("Failed to ") + operation + "\n";
                std::fputs(line.c_str(), stdout);
                std::fflush(stdout);
            }
        } catch (...) {
            // Nothing may leave the facade, not even a failure to report a failure.
        }
    }
}

void MxTrackerWrapper::trackActivity(const MxContextProperties& ctx) {
    Guarded("trackActivity", [&](MxTracker& t) { t.trackActivity(ctx); });
}

void MxTrackerWrapper::trackLaunch(const MxContextProperties& ctx) {
    Guarded("trackLaunch", [&](MxTracker& t) { t.trackLaunch(ctx); });
}

void MxTrackerWrapper::trackLogin(const MxUser& user, bool success, const std::string& reason,
                                  const MxContextProperties& ctx) {
    Guarded("trackLogin", [&](MxTracker& t) { t.trackLogin(user, success, reason, ctx); });
}

void MxTrackerWrapper::trackClick(const MxEventClick& click, const MxContextProperties& ctx) {
    Guarded("trackClick", [&](MxTracker& t) { t.trackClick(click, ctx); });
}

void MxTrackerWrapper::trackView(const MxEventView& view, const MxContextProperties& ctx) {
    Guarded("trackView", [&](MxTracker& t) { t.trackView(view, ctx); });
}

void MxTrackerWrapper::trackCashier(const MxEventCashier& cashier, const MxContextProperties& ctx) {
    Guarded("trackCashier", [&](MxTracker& t) { t.trackCashier(cashier, ctx); });
}

void MxTrackerWrapper::trackShare(const MxEventShare& share, const MxContextProperties& ctx) {
    Guarded("trackShare", [&](MxTracker& t) { t.trackShare(share, ctx); });
}

void MxTrackerWrapper::trackTask(const MxEventTask& task, const MxContextProperties& ctx) {
    Guarded("trackTask", [&](MxTracker& t) { t.trackTask(task, ctx); });
}

void MxTrackerWrapper::trackFile(const MxEventFile& file, const MxContextProperties& ctx) {
    Guarded("trackFile", [&](MxTracker& t) { t.trackFile(file, ctx); });
}

void MxTrackerWrapper::trackOrder(const MxEventOrder& order, const MxContextProperties& ctx) {
    Guarded("trackOrder", [&](MxTracker& t) { t.trackOrder(order, ctx); });
}

void MxTrackerWrapper::trackPayment(const MxEventPayment& payment, const MxContextProperties& ctx) {
    Guarded("trackPayment", [&](MxTracker& t) { t.trackPayment(payment, ctx); });
}

void MxTrackerWrapper::trackUninstall(const std::string& reason, const MxContextProperties& ctx) {
    Guarded("trackUninstall", [&](MxTracker& t) { t.trackUninstall(reason, ctx); });
}

void MxTrackerWrapper::trackCrash(const std::string& reason) {
    Guarded("trackCrash", [&](MxTracker& t) { t.trackCrash(reason); });
}

void MxTrackerWrapper::trackUpdate(const MxEventUpdate& update, const MxContextProperties& ctx) {
    Guarded("trackUpdate", [&](MxTracker& t) { t.trackUpdate(update, ctx); });
}

void MxTrackerWrapper::trackAppOpenNotification(const AppOpenNotification* notification,
                                                const MxContextProperties& ctx) {
    Guarded("trackAppOpenNotification",
            [&](MxTracker& t) { t.trackAppOpenNotification(notification, ctx); });
}

void MxTrackerWrapper::setLocale(const std::string& locale) {
    if (tracker_) {
        tracker_->setLocale(locale);
    }
}

std::string MxTrackerWrapper::getPrimaryDistinctId() {
    return tracker_ ? tracker_->getPrimaryDistinctId() : std::string();
}

bool MxTrackerWrapper::hasTrackLogger() {
    return false;
}

}  // namespace marlix::tracking
