#include "download/mt_curl_downloader.h"

#include <chrono>
#include <utility>

#include "app/log.h"
#include "download/curl_handles.h"
#include "download/digest_check.h"
#include "download/download_codes.h"
#include "download/file_io.h"

namespace {

constexpr long kConnectTimeoutSeconds = 60;
constexpr int64_t kMinimumLength = 256;
constexpr int kMaxParts = 2;
constexpr auto kPartStartPause = std::chrono::milliseconds(100);

size_t DiscardBody(char*, size_t size, size_t count, void*) {
    return size * count;
}

}  // namespace

CMTCurlDownloader::CMTCurlDownloader(StatusCallback callback, std::string address,
                                     std::string targetPath, download::DownloadSettings settings)
    : callback_(std::move(callback)),
      targetPath_(std::move(targetPath)),
      address_(std::move(address)),
      settings_(std::move(settings)),
      threads_(settings_.allowThread) {
    download::RemoveFile(targetPath_);
    RemovePartFiles();
}

CMTCurlDownloader::~CMTCurlDownloader() {
    stop_.Stop();
    threads_.Close();
    releaseParts();
}

void CMTCurlDownloader::Start() {
    threads_.JoinOthers();
    if (!threads_.Launch("ABDEF", [this] { Start_Down(); })) {
        Report(DL_CODE_FAIL, 1.0, "");
    }
}

std::string CMTCurlDownloader::PartPath(int index) const {
    return targetPath_ + "_" + std::to_string(index);
}

void CMTCurlDownloader::Start_Down() {
    Report(DL_CODE_START, 1.0, "");
    WRITE_LOG("start download\r\n");
    download::RemoveFile(targetPath_);
    if (LastPercent() == 0.0) {
        RemovePartFiles();
    }
    if (realAddress_.empty() || length_ < kMinimumLength) {
        if (!getRealDownloadUrl(address_)) {
            Report(DL_CODE_FAIL, 0.0, "LibCurl");
            return;
        }
    }
    CreateParts();
    if (!StartPartThreads() || !threads_.Launch("ABDEF", [this] { waitForFinishThreadFun(); })) {
        AbortRun();
    }
}

bool CMTCurlDownloader::getRealDownloadUrl(const std::string& address) {
    realAddress_.clear();
    expectedDigest_.clear();
    length_ = 0;
    if (!settings_.curlAvailable) {
        return false;
    }
    download::ScopedCurl handle(curl_easy_init());
    download::ScopedCurlList headers = download::MakeHeaderList("Connection: keep-alive");
    if (!handle || !headers) {
        return false;
    }
    CURL* h = handle.get();
    // Peer and host verification stay on: a forged package must never be accepted.
    int r = curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    r |= curl_easy_setopt(h, CURLOPT_URL, address.c_str());
    r |= curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    r |= curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
    r |= curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &DiscardBody);
    r |= curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    r |= curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    r |= curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &CMTCurlDownloader::AbortWhenStopped);
    r |= curl_easy_setopt(h, CURLOPT_XFERINFODATA, this);
    if (!settings_.caFile.empty()) {
        r |= curl_easy_setopt(h, CURLOPT_CAINFO, settings_.caFile.c_str());
    }
    if (r != CURLE_OK || curl_easy_perform(h) != CURLE_OK) {
        return false;
    }

    char* effective = nullptr;
    if (curl_easy_getinfo(h, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK &&
        effective != nullptr && *effective != '\0') {
        realAddress_ = effective;
        WRITE_LOG("Download File real url %s\r\n", realAddress_);
        expectedDigest_ = download::ExpectedDigest(realAddress_);
    }
    curl_off_t length = -1;
    long status = 0;
    if (curl_easy_getinfo(h, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK &&
        curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK && status >= 200 &&
        status <= 399) {
        length_ = static_cast<int64_t>(length);
        WRITE_LOG("Download File Length %lld\r\n", length_);
    }
    return !realAddress_.empty() && length_ >= kMinimumLength;
}

void CMTCurlDownloader::CreateParts() {
    const std::vector<download::ByteRange> ranges = download::PlanRanges(length_);
    for (size_t i = 0; i < ranges.size(); ++i) {
        auto part = std::make_unique<DownloadPartNode>();
        part->partPath = PartPath(static_cast<int>(i));
        const int64_t size = ranges[i].last - ranges[i].first + 1;
        int64_t have = std::max<int64_t>(download::FileSize(part->partPath), 0);
        if (have > size) {
            // More than the range holds: not ours to resume.
            download::RemoveFile(part->partPath);
            have = 0;
        }
        part->firstOffset = ranges[i].first;
        part->nextOffset = ranges[i].first + have;
        part->endOffset = ranges[i].last;
        part->received = have;
        part->wholeFileRange = ranges.size() == 1;
        part->handle.reset(curl_easy_init());
        part->address = realAddress_;
        if (part->nextOffset > part->endOffset) {
            part->status = DownloadPartNode::kComplete;
        } else {
            part->file = download::File::Open(part->partPath, download::File::Mode::kAppend);
            part->status =
                part->file.IsOpen() ? DownloadPartNode::kPending : DownloadPartNode::kFileError;
        }
        parts_.push_back(std::move(part));
    }
}

bool CMTCurlDownloader::StartPartThreads() {
    for (auto& part : parts_) {
        if (part->status != DownloadPartNode::kPending) {
            continue;
        }
        ++runningParts_;
        DownloadPartNode* node = part.get();
        if (!threads_.Launch("ABDEF", [this, node] { downloadThreadFun(*node); })) {
            {
                std::lock_guard<std::mutex> lock(partsMutex_);
                --runningParts_;
            }
            return false;
        }
        download::Pause(settings_, stop_, kPartStartPause);
    }
    return true;
}

void CMTCurlDownloader::WaitForParts() {
    std::unique_lock<std::mutex> lock(partsMutex_);
    partsDone_.wait(lock, [this] { return runningParts_ == 0; });
}

void CMTCurlDownloader::AbortRun() {
    // Ranges already started end at their next progress check.
    runAborted_ = true;
    WaitForParts();
    runAborted_ = false;
    releaseParts();
    Report(DL_CODE_FAIL, 1.0, "");
}

void CMTCurlDownloader::releaseParts() {
    parts_.clear();
}

void CMTCurlDownloader::RemovePartFiles() const {
    for (int i = 0; i < kMaxParts; ++i) {
        download::RemoveFile(PartPath(i));
    }
}

double CMTCurlDownloader::LastPercent() {
    std::lock_guard<std::mutex> lock(lock_);
    return lastPercent_;
}

void CMTCurlDownloader::SetLastPercent(double percent) {
    std::lock_guard<std::mutex> lock(lock_);
    lastPercent_ = percent;
}

void CMTCurlDownloader::Report(int32_t code, double value, const std::string& text) {
    if (!stop_.Stopped() && callback_) {
        callback_(code, value, text);
    }
}
