#pragma once

// Creating the process's tracker.
//
//   std::shared_ptr<MxTracker> tracker = CreateTracker(options);
//   tracker->trackTask(task, context);
//   tracker.reset();  // uploads what is pending, stages the rest

#include <memory>

#include "source/src/mx_tracker.h"

namespace marlix::tracking {

// An initialised MxTrackerImpl inside its MxTrackerWrapper. A failed init is ignored: the
// tracker then sends nothing, and every call stays harmless. Never throws, except
// std::bad_alloc.
std::shared_ptr<MxTracker> CreateTracker(const TrackerOptions& options,
                                         const TrackerEnvironment& environment = {});

}  // namespace marlix::tracking
