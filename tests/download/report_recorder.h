#pragma once

// Collects a downloader's reports the way the install driver receives them, restarts the
// downloader on DL_CODE_RETRY as the driver does, and lets a test wait for the end.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "download/downloader.h"
#include "download/status_callback.h"

namespace dltest {

struct Report {
    int32_t code;
    double value;
    std::string text;

    bool operator==(const Report& other) const = default;
};

void PrintTo(const Report& report, std::ostream* out);

class ReportRecorder {
  public:
    // The callback to build the downloader with.
    StatusCallback Callback();

    // The downloader restarted on DL_CODE_RETRY (none: retries are only recorded).
    void RestartOnRetry(CDownloader* downloader);

    // Waits until the last report is DL_CODE_SUCCESS or DL_CODE_FAIL.
    bool WaitForEnd(std::chrono::seconds timeout = std::chrono::seconds(60));
    // Waits until `count` reports with `code` have arrived.
    bool WaitForCode(int32_t code, size_t count = 1,
                     std::chrono::seconds timeout = std::chrono::seconds(60));

    std::vector<Report> All() const;
    // Every report but DL_CODE_PROGRESS, in order.
    std::vector<Report> Milestones() const;
    std::vector<double> ProgressValues() const;

  private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Report> reports_;
    CDownloader* restart_ = nullptr;
};

// A pause seam that records each requested pause and returns at once.
class PauseLog {
  public:
    std::function<void(std::chrono::milliseconds)> Seam();
    std::vector<int64_t> Milliseconds() const;

  private:
    mutable std::mutex mutex_;
    std::vector<int64_t> pauses_;
};

}  // namespace dltest
