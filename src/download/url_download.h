#pragma once

// The system's URL download service as the system downloader uses it: an address is
// downloaded synchronously into a file, with (done, total) progress through a callback
// that can abort. The POSIX build uses libsoup (HTTP, HTTPS, honouring the desktop's
// proxy settings) and GIO ("file:///" addresses).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace download {

class UrlDownloadSession {
  public:
    // Results of Download besides 0 (complete) and an HTTP status of an unsuccessful answer.
    static constexpr int kAborted = -1;       // the progress callback or Cancel stopped it
    static constexpr int kFileError = -2;     // the target file cannot be written
    static constexpr int kNetworkError = -3;  // no answer, or the body broke off
    static constexpr int kTlsError = -4;      // the server's certificate is not trusted
    static constexpr int kBadAddress = -5;

    // Called with the bytes done and the total (0 when unknown); false aborts.
    using Progress = std::function<bool(uint64_t done, uint64_t total)>;

    // `authorityFile`: PEM file of the authorities trusted for HTTPS instead of the system's
    // store; empty for the system's store.
    explicit UrlDownloadSession(std::string authorityFile = "");
    ~UrlDownloadSession();
    UrlDownloadSession(const UrlDownloadSession&) = delete;
    UrlDownloadSession& operator=(const UrlDownloadSession&) = delete;

    // Downloads `address` into `path` (replaced). Blocks; one call at a time.
    int Download(const std::string& address, const std::string& path, const Progress& progress);

    // Any thread: ends the running download and every later one with kAborted.
    void Cancel();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace download
