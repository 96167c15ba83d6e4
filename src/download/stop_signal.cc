#include "download/stop_signal.h"

#include <ctime>

namespace download {

void StopSignal::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
    }
    wake_.notify_all();
}

bool StopSignal::WaitFor(std::chrono::milliseconds duration) {
    std::unique_lock<std::mutex> lock(mutex_);
    return !wake_.wait_for(lock, duration, [this] { return stopped_.load(); });
}

bool Pause(const DownloadSettings& settings, StopSignal& stop, std::chrono::milliseconds duration) {
    if (settings.pause) {
        settings.pause(duration);
        return !stop.Stopped();
    }
    return stop.WaitFor(duration);
}

int64_t CalendarSecond(const DownloadSettings& settings) {
    if (settings.calendarSecond) {
        return settings.calendarSecond();
    }
    return static_cast<int64_t>(std::time(nullptr));
}

}  // namespace download
