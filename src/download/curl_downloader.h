#pragma once

// The default downloader: one resumable stream through CurlClient, retried on its worker
// thread, then checked against the MD5 digest carried in the final address.

#include <string>

#include "download/curl_client.h"
#include "download/download_settings.h"
#include "download/downloader.h"
#include "download/status_callback.h"
#include "download/stop_signal.h"
#include "download/worker_threads.h"

class CCurlDownloader : public CDownloader {
  public:
    // Deletes the part file an earlier run left, so every new downloader starts from zero.
    CCurlDownloader(StatusCallback callback, std::string address, std::string targetPath,
                    download::DownloadSettings settings = {});
    // Cancels the transfer, waits for the worker and deletes the part file; no report is
    // sent once destruction has begun. Must not run inside one of its own reports.
    ~CCurlDownloader() override;

    void Start() override;

  private:
    void dlThreadFun();
    void OnProgress(double speed, double percent);
    void ReportDigestMismatch();
    void Report(int32_t code, double value, const std::string& text);

    StatusCallback callback_;
    std::string targetPath_;
    std::string address_;
    download::DownloadSettings settings_;
    download::StopSignal stop_;
    CurlClient client_;
    bool retried_ = false;  // one run at a time reads and writes it
    download::WorkerThreads threads_;
};
