#include "source/src/tracker_factory.h"

#include "source/src/mx_tracker_impl.h"
#include "source/src/mx_tracker_wrapper.h"

namespace marlix::tracking {

std::shared_ptr<MxTracker> CreateTracker(const TrackerOptions& options,
                                         const TrackerEnvironment& environment) {
    auto tracker = std::make_unique<MxTrackerImpl>(options, environment);
    try {
        tracker->init();
    } catch (...) {
        // A tracker that could not start must not keep the installer from running.
    }
    return std::make_shared<MxTrackerWrapper>(std::move(tracker));
}

}  // namespace marlix::tracking
