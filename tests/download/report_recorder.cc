#include "report_recorder.h"

#include "download/download_codes.h"

namespace dltest {

void PrintTo(const Report& report, std::ostream* out) {
    *out << "(" << report.code << ", " << report.value << ", \"" << report.text << "\")";
}

StatusCallback ReportRecorder::Callback() {
    return [this](int32_t code, double value, const std::string& text) {
        CDownloader* restart = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            reports_.push_back({code, value, text});
            restart = code == DL_CODE_RETRY ? restart_ : nullptr;
        }
        changed_.notify_all();
        if (restart != nullptr) {
            restart->Start();
        }
    };
}

void ReportRecorder::RestartOnRetry(CDownloader* downloader) {
    std::lock_guard<std::mutex> lock(mutex_);
    restart_ = downloader;
}

bool ReportRecorder::WaitForEnd(std::chrono::seconds timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] {
        return !reports_.empty() &&
               (reports_.back().code == DL_CODE_SUCCESS || reports_.back().code == DL_CODE_FAIL);
    });
}

bool ReportRecorder::WaitForCode(int32_t code, size_t count, std::chrono::seconds timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] {
        size_t seen = 0;
        for (const Report& report : reports_) {
            seen += report.code == code ? 1 : 0;
        }
        return seen >= count;
    });
}

std::vector<Report> ReportRecorder::All() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return reports_;
}

std::vector<Report> ReportRecorder::Milestones() const {
    std::vector<Report> milestones;
    for (const Report& report : All()) {
        if (report.code != DL_CODE_PROGRESS) {
            milestones.push_back(report);
        }
    }
    return milestones;
}

std::vector<double> ReportRecorder::ProgressValues() const {
    std::vector<double> values;
    for (const Report& report : All()) {
        if (report.code == DL_CODE_PROGRESS) {
            values.push_back(report.value);
        }
    }
    return values;
}

std::function<void(std::chrono::milliseconds)> PauseLog::Seam() {
    return [this](std::chrono::milliseconds duration) {
        std::lock_guard<std::mutex> lock(mutex_);
        pauses_.push_back(duration.count());
    };
}

std::vector<int64_t> PauseLog::Milliseconds() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return pauses_;
}

}  // namespace dltest
