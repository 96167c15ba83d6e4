#pragma once

// The downloader of download type 2: the whole transfer is handed to the system's URL
// download service (url_download.h), tried three times with one-second pauses. No digest
// check, no DL_CODE_RETRY.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "download/download_settings.h"
#include "download/downloader.h"
#include "download/status_callback.h"
#include "download/stop_signal.h"
#include "download/url_download.h"
#include "download/worker_threads.h"

class CWinDownloader : public CDownloader {
  public:
    // The service's status object: turns its progress into DL_CODE_PROGRESS and aborts
    // the transfer once the downloader is going away. Runs on the worker thread; Abort on
    // any thread.
    class CBindCallback {
      public:
        void SetCallback(StatusCallback callback);
        // False aborts the transfer. A maximum of 0 reports nothing.
        bool OnProgress(uint64_t progress, uint64_t progressMax);
        void Abort() { abort_ = true; }

      private:
        StatusCallback callback_;
        std::atomic<bool> abort_{false};
    };

    CWinDownloader(StatusCallback callback, std::string address, std::string targetPath,
                   download::DownloadSettings settings = {});
    // Aborts the transfer and waits for the worker; no report is sent once destruction has
    // begun. Must not run inside one of its own reports.
    ~CWinDownloader() override;

    // Runs the whole download once more each time it is called.
    void Start() override;

  private:
    void Worker();
    void Report(int32_t code, double value, const std::string& text);

    CBindCallback bindCallback_;
    StatusCallback callback_;
    std::string targetPath_;
    std::string address_;
    download::DownloadSettings settings_;
    download::StopSignal stop_;
    download::UrlDownloadSession service_;
    download::WorkerThreads threads_;
};
