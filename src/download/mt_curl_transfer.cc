// The range threads of CMTCurlDownloader: one attempt, the retry loop and the libcurl
// callbacks.

#include <fmt/printf.h>

#include <chrono>

#include "app/log.h"
#include "download/download_codes.h"
#include "download/mt_curl_downloader.h"

namespace {

constexpr int kAttemptBudget = 12;
constexpr long kConnectTimeoutSeconds = 60;
constexpr long kReceiveBufferBytes = 102400;
constexpr auto kRetryPause = std::chrono::milliseconds(400);

}  // namespace

void CMTCurlDownloader::downloadThreadFun(DownloadPartNode& part) {
    int budget = kAttemptBudget;
    int result = downloadExe(part);
    while (result != 0 && budget > 0 && !stop_.Stopped() && !runAborted_) {
        budget -= result == CURLE_PARTIAL_FILE ? 1 : 2;
        WRITE_LOG("CurlDownLoader Code=%d\r\n", result);
        if (!download::Pause(settings_, stop_, kRetryPause)) {
            break;
        }
        result = downloadExe(part);
    }
    part.file.Close();
    {
        std::lock_guard<std::mutex> lock(partsMutex_);
        --runningParts_;
    }
    partsDone_.notify_all();
}

int CMTCurlDownloader::downloadExe(DownloadPartNode& part) {
    if (part.nextOffset > part.endOffset) {
        // Complete already: an attempt that ended in an error after the last byte.
        part.file.Close();
        part.status = 0;
        return 0;
    }
    if (!part.handle) {
        part.status = CURLE_FAILED_INIT;
        return part.status;
    }
    const std::string range = fmt::sprintf("%ld-%ld", part.nextOffset, part.endOffset);
    part.answerChecked = false;
    const CURLcode options = SetRangeOptions(part, range);
    if (options != CURLE_OK) {
        return options;
    }
    int result = curl_easy_perform(part.handle.get());
    if (result != CURLE_OK) {
        WRITE_LOG("error:%d:%s\r\n", result, curl_easy_strerror(static_cast<CURLcode>(result)));
    } else {
        WRITE_LOG("curl_easy_cleanup\r\n");
    }
    curl_easy_reset(part.handle.get());
    if (result == CURLE_OK && part.nextOffset != part.endOffset + 1) {
        // The answer ended cleanly but short of the range.
        result = CURLE_PARTIAL_FILE;
    }
    if (result == CURLE_OK) {
        part.file.Close();
    }
    part.status = result;
    return result;
}

CURLcode CMTCurlDownloader::SetRangeOptions(DownloadPartNode& part, const std::string& range) {
    CURL* h = part.handle.get();
    int r = curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    r |= curl_easy_setopt(h, CURLOPT_URL, part.address.c_str());
    r |= curl_easy_setopt(h, CURLOPT_TIMEOUT, 0L);
    r |= curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    r |= curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &CMTCurlDownloader::WriteCallback);
    r |= curl_easy_setopt(h, CURLOPT_WRITEDATA, &part);
    r |= curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    r |= curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &CMTCurlDownloader::ProgressCallback);
    r |= curl_easy_setopt(h, CURLOPT_XFERINFODATA, this);
    r |= curl_easy_setopt(h, CURLOPT_FAILONERROR, 1L);
    r |= curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    // Peer and host verification stay at libcurl's default (on).
    r |= curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    r |= curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, settings_.rangeStallSeconds);
    r |= curl_easy_setopt(h, CURLOPT_RANGE, range.c_str());
    r |= curl_easy_setopt(h, CURLOPT_BUFFERSIZE, kReceiveBufferBytes);
    if (!settings_.caFile.empty()) {
        r |= curl_easy_setopt(h, CURLOPT_CAINFO, settings_.caFile.c_str());
    }
    return static_cast<CURLcode>(r);
}

size_t CMTCurlDownloader::WriteCallback(char* data, size_t size, size_t count, void* userdata) {
    auto& part = *static_cast<DownloadPartNode*>(userdata);
    if (!part.answerChecked) {
        part.answerChecked = true;
        long status = 0;
        curl_easy_getinfo(part.handle.get(), CURLINFO_RESPONSE_CODE, &status);
        if (status == 200 && !part.AcceptsWholeBody()) {
            // The whole file instead of the range: nothing of it belongs here, and the
            // next attempt starts the range over.
            part.Restart();
            return 0;
        }
    }
    return part.Append(data, size * count);
}

int CMTCurlDownloader::ProgressCallback(void* clientp, curl_off_t, curl_off_t, curl_off_t,
                                        curl_off_t) {
    auto* self = static_cast<CMTCurlDownloader*>(clientp);
    if (self->stop_.Stopped() || self->runAborted_) {
        return 1;
    }
    std::lock_guard<std::mutex> lock(self->lock_);
    const int64_t now = download::CalendarSecond(self->settings_);
    if (now < self->lastProgressSecond_ + 1) {
        return 0;
    }
    self->lastProgressSecond_ = now;
    double percent = 0.0;
    if (self->length_ >= 256) {
        for (const auto& part : self->parts_) {
            const int64_t received = part->received;
            if (received > 0) {
                percent += static_cast<double>(received) * 100 / static_cast<double>(self->length_);
            }
        }
    }
    if (percent > 100) {
        return 0;
    }
    if (percent - self->lastPercent_ >= 1.0) {
        self->lastPercent_ = percent;
        self->Report(DL_CODE_PROGRESS, percent / 100, "");
    }
    return 0;
}

int CMTCurlDownloader::AbortWhenStopped(void* clientp, curl_off_t, curl_off_t, curl_off_t,
                                        curl_off_t) {
    return static_cast<CMTCurlDownloader*>(clientp)->stop_.Stopped() ? 1 : 0;
}
