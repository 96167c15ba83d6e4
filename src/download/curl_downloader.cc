#include "download/curl_downloader.h"

#include <chrono>
#include <utility>

#include "app/log.h"
#include "download/digest_check.h"
#include "download/download_codes.h"
#include "download/file_io.h"

namespace {

constexpr int kAttemptBudget = 12;
constexpr auto kRetryPause = std::chrono::milliseconds(500);
const char kMethod[] = "LibCurl";

}  // namespace

CCurlDownloader::CCurlDownloader(StatusCallback callback, std::string address,
                                 std::string targetPath, download::DownloadSettings settings)
    : callback_(std::move(callback)),
      targetPath_(std::move(targetPath)),
      address_(std::move(address)),
      settings_(std::move(settings)),
      client_(
          address_, targetPath_,
          [this](double speed, double, double percent) { OnProgress(speed, percent); }, settings_),
      threads_(settings_.allowThread) {
    download::RemoveFile(client_.PartPath());
}

CCurlDownloader::~CCurlDownloader() {
    stop_.Stop();
    client_.Cancel();
    threads_.Close();
}

void CCurlDownloader::Start() {
    threads_.JoinOthers();
    if (!threads_.Launch("ABDEF", [this] { dlThreadFun(); })) {
        Report(DL_CODE_FAIL, 1.0, "");
    }
}

void CCurlDownloader::dlThreadFun() {
    Report(DL_CODE_START, 1.0, "");
    if (targetPath_.empty()) {
        Report(DL_CODE_FAIL, 1.0, "");
        return;
    }
    int budget = kAttemptBudget;
    int result = client_.Start();
    while (result != 0) {
        budget -= result == CURLE_PARTIAL_FILE ? 1 : 2;
        if (budget <= 0) {
            Report(DL_CODE_FAIL, result, kMethod);
            return;
        }
        WRITE_LOG("CurlDownLoader Code=%d\r\n", result);
        if (!download::Pause(settings_, stop_, kRetryPause)) {
            return;
        }
        result = client_.Start();
    }

    // A run that reported success must have left the file it claims.
    if (!download::FileExists(targetPath_)) {
        ReportDigestMismatch();
        return;
    }
    const std::string expected = download::ExpectedDigest(client_.RealUrl());
    if (expected.empty()) {
        Report(DL_CODE_MD5, 0.0, "curl获取url-md5失败");
    } else if (!download::FileMatchesDigest(settings_, targetPath_, expected)) {
        ReportDigestMismatch();
        return;
    }
    Report(DL_CODE_SUCCESS, 0.0, kMethod);
}

void CCurlDownloader::ReportDigestMismatch() {
    Report(DL_CODE_MD5, 0.0, "curl文件md5校验失败");
    if (retried_) {
        Report(DL_CODE_FAIL, 0.0, kMethod);
        return;
    }
    retried_ = true;
    Report(DL_CODE_RETRY, 0.0, kMethod);
}

void CCurlDownloader::OnProgress(double speed, double percent) {
    if (speed > 0 && percent <= 100) {
        Report(DL_CODE_PROGRESS, percent / 100, "");
    }
}

void CCurlDownloader::Report(int32_t code, double value, const std::string& text) {
    if (!stop_.Stopped() && callback_) {
        callback_(code, value, text);
    }
}
