#pragma once

// The downloader of download type 3: one header request for the final address and length,
// then one or two byte ranges fetched in parallel into "<target>_0" and "<target>_1", merged
// into the target and checked against the MD5 digest carried in the final address. One
// restart (DL_CODE_RETRY) per downloader resumes the part files when progress was reported.
//
// Threads: a worker per Start, one thread per pending range and a waiter that merges and
// reports the end; all are joined by this object (a restart requested from the waiter
// leaves the waiter to be joined later).

#include <curl/curl.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "download/download_settings.h"
#include "download/downloader.h"
#include "download/mt_download_part.h"
#include "download/status_callback.h"
#include "download/stop_signal.h"
#include "download/worker_threads.h"

class CMTCurlDownloader : public CDownloader {
  public:
    // Deletes the target file and both part files.
    CMTCurlDownloader(StatusCallback callback, std::string address, std::string targetPath,
                      download::DownloadSettings settings = {});
    // Cancels the transfers and joins every thread; no report is sent once destruction has
    // begun. Must not run inside one of its own reports.
    ~CMTCurlDownloader() override;

    void Start() override;

    // "<target>_<index>".
    std::string PartPath(int index) const;

  private:
    using DownloadPartNode = download::DownloadPartNode;

    // Worker.
    void Start_Down();
    bool getRealDownloadUrl(const std::string& address);
    void CreateParts();
    bool StartPartThreads();
    // Range threads.
    int downloadExe(DownloadPartNode& part);
    void downloadThreadFun(DownloadPartNode& part);
    static size_t WriteCallback(char* data, size_t size, size_t count, void* userdata);
    static int ProgressCallback(void* clientp, curl_off_t, curl_off_t, curl_off_t, curl_off_t);
    static int AbortWhenStopped(void* clientp, curl_off_t, curl_off_t, curl_off_t, curl_off_t);
    CURLcode SetRangeOptions(DownloadPartNode& part, const std::string& range);
    // Waiter.
    void waitForFinishThreadFun();
    bool MergeParts();
    void FailRange(int status, bool keepPartFiles);
    // Shared.
    void WaitForParts();
    void AbortRun();
    void releaseParts();
    void RemovePartFiles() const;
    double LastPercent();
    void SetLastPercent(double percent);
    void Report(int32_t code, double value, const std::string& text);

    std::vector<std::unique_ptr<DownloadPartNode>> parts_;
    StatusCallback callback_;
    std::string targetPath_;
    std::string address_;
    std::string realAddress_;
    int64_t length_ = -1;
    std::string expectedDigest_;
    double lastPercent_ = 0.0;  // guarded by lock_
    std::atomic<int> runningParts_{0};
    std::mutex lock_;
    int64_t lastProgressSecond_ = 0;  // guarded by lock_
    bool retried_ = false;
    download::DownloadSettings settings_;
    download::StopSignal stop_;
    std::atomic<bool> runAborted_{false};
    std::mutex partsMutex_;
    std::condition_variable partsDone_;
    download::WorkerThreads threads_;
};
