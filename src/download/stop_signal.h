#pragma once

// A one-way "stop now" flag that also wakes pauses, so that destroying a downloader never
// waits out a pause between attempts.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "download/download_settings.h"

namespace download {

class StopSignal {
  public:
    void Stop();
    bool Stopped() const { return stopped_.load(); }

    // Waits `duration`, or less when stopped; false when stopped.
    bool WaitFor(std::chrono::milliseconds duration);

  private:
    std::atomic<bool> stopped_{false};
    std::mutex mutex_;
    std::condition_variable wake_;
};

// A pause between attempts through the settings' seam or `stop`; false when stopped.
bool Pause(const DownloadSettings& settings, StopSignal& stop, std::chrono::milliseconds duration);

// The calendar second through the settings' seam.
int64_t CalendarSecond(const DownloadSettings& settings);

}  // namespace download
