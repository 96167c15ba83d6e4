#pragma once

// Fetches one file over HTTP, HTTPS or "file:///" with libcurl into "<target>.part",
// resuming what an earlier attempt of the same client left there, and renames the part
// file to the target when the transfer is complete. One call of Start is one attempt;
// the owner retries. All methods but Cancel run on the owner's worker thread.

#include <curl/curl.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "download/curl_handles.h"
#include "download/download_settings.h"
#include "download/file_io.h"

class CurlClient {
  public:
    // Results of Start besides 0 (complete) and libcurl's own codes.
    static constexpr int kLengthUnknown = -998;  // no length, or one below kMinimumLength
    static constexpr int kNoHandle = -997;
    static constexpr int kPartFileError = -996;  // ErrorText() holds the system's message
    static constexpr int kRenameFailed = -995;   // transfer complete, part file kept

    static constexpr double kMinimumLength = 1048576.0;

    // Called at most once a second during a transfer with (speed in bytes per second,
    // reserved 0.0, percent of the whole file done).
    using ProgressSink = std::function<void(double speed, double reserved, double percent)>;

    // Touches no file.
    CurlClient(std::string address, std::string targetPath, ProgressSink sink,
               download::DownloadSettings settings = {});
    // Deletes the part file. The owner cancels and waits for a running attempt first.
    ~CurlClient();
    CurlClient(const CurlClient&) = delete;
    CurlClient& operator=(const CurlClient&) = delete;

    // The target path with ".part" appended, or the target path itself.
    std::string PartPath(bool part = true) const;

    // One attempt: 0, kLengthUnknown, kNoHandle, kPartFileError, kRenameFailed or a
    // libcurl result. Address and length found by the first attempt are reused.
    int Start();

    // Any thread: aborts the running request and every later one.
    void Cancel() { cancelled_ = true; }

    const std::string& RealUrl() const { return realUrl_; }
    double TotalLength() const { return totalLength_; }
    const std::string& ErrorText() const { return errorText_; }

    // Header-only request following redirects; the caller queries the handle.
    download::ScopedCurl Head(const std::string& address);
    // Content length of a finished header request, -1.0 when unknown or not 200 to 399.
    double GetDownloadFileLength(CURL* handle);
    // Content length reported for `address` without following redirects.
    double GetDownloadFileLength_Str(const std::string& address);
    // The address after redirects, or `address` itself when none could be had.
    std::string GetRealUrl_Str(const std::string& address);

    static int ProgressCallback(void* clientp, curl_off_t dltotal, curl_off_t dlnow,
                                curl_off_t ultotal, curl_off_t ulnow);

  private:
    static size_t WriteCallback(char* data, size_t size, size_t count, void* userdata);
    static int AbortWhenCancelled(void* clientp, curl_off_t, curl_off_t, curl_off_t, curl_off_t);

    enum class HeaderRequest { kFollowRedirects, kHeadersOnly };

    void Resolve();
    CURLcode SetHeaderRequestOptions(CURL* handle, const std::string& address, HeaderRequest kind);
    CURLcode SetTransferOptions(CURL* handle, curl_slist* headers);
    void ReportLengthStatus(long status);
    int Attempt();

    std::string address_;
    std::string targetPath_;
    ProgressSink progressSink_;
    download::DownloadSettings settings_;
    CURL* transfer_ = nullptr;  // the running transfer, owned by Start
    double totalLength_ = -1.0;
    int64_t resumeOffset_ = -1;
    int64_t lastProgressSecond_ = 0;
    std::atomic<bool> cancelled_{false};
    std::string errorText_;
    std::string realUrl_;
    download::File partFile_;
};
