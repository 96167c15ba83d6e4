#include "download/win_downloader.h"

#include <chrono>
#include <utility>

#include "app/utils.h"
#include "download/download_codes.h"

namespace {

constexpr int kAttempts = 3;
constexpr auto kRetryPause = std::chrono::seconds(1);
const char kMethod[] = "URLDownloadToFile";

}  // namespace

void CWinDownloader::CBindCallback::SetCallback(StatusCallback callback) {
    callback_ = std::move(callback);
}

bool CWinDownloader::CBindCallback::OnProgress(uint64_t progress, uint64_t progressMax) {
    if (abort_) {
        return false;
    }
    if (progressMax != 0 && callback_) {
        callback_(DL_CODE_PROGRESS,
                  static_cast<double>(progress) / static_cast<double>(progressMax), "");
    }
    return true;
}

CWinDownloader::CWinDownloader(StatusCallback callback, std::string address, std::string targetPath,
                               download::DownloadSettings settings)
    : callback_(std::move(callback)),
      targetPath_(std::move(targetPath)),
      address_(std::move(address)),
      settings_(std::move(settings)),
      service_(settings_.caFile),
      threads_(settings_.allowThread) {}

CWinDownloader::~CWinDownloader() {
    stop_.Stop();
    bindCallback_.Abort();
    service_.Cancel();
    threads_.Close();
}

void CWinDownloader::Start() {
    threads_.JoinOthers();
    bindCallback_.SetCallback(callback_);
    if (!threads_.Launch("ABDEF", [this] { Worker(); })) {
        Report(DL_CODE_FAIL, 1.0, "");
    }
}

void CWinDownloader::Worker() {
    Report(DL_CODE_START, 1.0, "");
    if (targetPath_.empty()) {
        Report(DL_CODE_FAIL, 1.0, "");
        return;
    }
    const std::string address =
        address_.rfind("file:///", 0) == 0 ? address_ : Utils::EncodeAddress(address_);
    int result = 0;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        result = service_.Download(address, targetPath_, [this](uint64_t done, uint64_t total) {
            return bindCallback_.OnProgress(done, total);
        });
        if (result == 0) {
            Report(DL_CODE_SUCCESS, 0.0, kMethod);
            return;
        }
        if (!download::Pause(settings_, stop_, kRetryPause)) {
            return;
        }
    }
    Report(DL_CODE_FAIL, result, kMethod);
}

void CWinDownloader::Report(int32_t code, double value, const std::string& text) {
    if (!stop_.Stopped() && callback_) {
        callback_(code, value, text);
    }
}
