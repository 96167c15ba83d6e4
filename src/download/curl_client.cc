#include "download/curl_client.h"

#include <utility>

#include "app/log.h"
#include "download/stop_signal.h"

namespace {

constexpr long kConnectTimeoutSeconds = 60;
constexpr long kKeepAliveSeconds = 10;
// As large as the receive buffer of the curl command-line tool, so that a single stream
// keeps pace with it.
constexpr long kReceiveBufferBytes = 102400;

size_t DiscardBody(char*, size_t size, size_t count, void*) {
    return size * count;
}

bool IsSuccessStatus(long status) {
    return status >= 200 && status <= 399;
}

}  // namespace

CurlClient::CurlClient(std::string address, std::string targetPath, ProgressSink sink,
                       download::DownloadSettings settings)
    : address_(std::move(address)),
      targetPath_(std::move(targetPath)),
      progressSink_(std::move(sink)),
      settings_(std::move(settings)) {}

CurlClient::~CurlClient() {
    cancelled_ = true;
    partFile_.Close();
    download::RemoveFile(PartPath());
}

std::string CurlClient::PartPath(bool part) const {
    return part ? targetPath_ + ".part" : targetPath_;
}

int CurlClient::Start() {
    WRITE_LOG("start download\r\n");
    int result = Attempt();
    WRITE_LOG("error:%d:%s\r\n", result, curl_easy_strerror(static_cast<CURLcode>(result)));
    partFile_.Close();
    if (result == CURLE_RANGE_ERROR) {
        // The server will not resume this part file; the next attempt starts from zero
        // instead of failing the same way until the budget is spent.
        download::RemoveFile(PartPath());
    }
    if (result == CURLE_OK && !download::RenameFile(PartPath(), PartPath(false))) {
        result = kRenameFailed;
        WRITE_LOG("error:%d:%s\r\n", result, "the part file cannot be renamed to the target");
    }
    WRITE_LOG("end download\r\n");
    return result;
}

int CurlClient::Attempt() {
    if (realUrl_.empty() || totalLength_ < kMinimumLength) {
        Resolve();
    }
    if (totalLength_ < kMinimumLength) {
        return kLengthUnknown;
    }
    download::ScopedCurl transfer(curl_easy_init());
    if (!transfer) {
        return kNoHandle;
    }
    int openError = 0;
    partFile_ = download::File::Open(PartPath(), download::File::Mode::kAppend, &openError);
    if (!partFile_.IsOpen()) {
        errorText_ = download::SystemErrorText(openError);
        return kPartFileError;
    }
    resumeOffset_ = partFile_.Size();
    const auto total = static_cast<int64_t>(totalLength_);
    if (resumeOffset_ == total) {
        // Complete already (an earlier attempt failed at the rename); a server answers a
        // range past the end with an error, so nothing is asked of it.
        return CURLE_OK;
    }
    if (resumeOffset_ > total && partFile_.Truncate(0)) {
        resumeOffset_ = 0;
    }

    download::ScopedCurlList headers = download::MakeHeaderList("Connection: keep-alive");
    int result = headers ? SetTransferOptions(transfer.get(), headers.get()) : CURLE_OUT_OF_MEMORY;
    if (resumeOffset_ > 0) {
        result |= curl_easy_setopt(transfer.get(), CURLOPT_RESUME_FROM_LARGE,
                                   static_cast<curl_off_t>(resumeOffset_));
    }
    if (result == CURLE_OK) {
        transfer_ = transfer.get();
        result = curl_easy_perform(transfer.get());
        transfer_ = nullptr;
    }
    return result;
}

void CurlClient::Resolve() {
    if (download::ScopedCurl head = Head(address_)) {
        char* effective = nullptr;
        curl_easy_getinfo(head.get(), CURLINFO_EFFECTIVE_URL, &effective);
        realUrl_ = effective != nullptr ? effective : "";
        totalLength_ = GetDownloadFileLength(head.get());
    }
    if (realUrl_.empty() || totalLength_ < kMinimumLength) {
        realUrl_ = GetRealUrl_Str(address_);
        if (!realUrl_.empty()) {
            totalLength_ = GetDownloadFileLength_Str(realUrl_);
        }
    }
}

CURLcode CurlClient::SetTransferOptions(CURL* handle, curl_slist* headers) {
    // The body is stored as received, so no content encoding is announced.
    int r = curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers);
    r |= curl_easy_setopt(handle, CURLOPT_TCP_KEEPALIVE, 1L);
    r |= curl_easy_setopt(handle, CURLOPT_TCP_KEEPIDLE, kKeepAliveSeconds);
    r |= curl_easy_setopt(handle, CURLOPT_TCP_KEEPINTVL, kKeepAliveSeconds);
    r |= curl_easy_setopt(handle, CURLOPT_TIMEOUT, 0L);
    r |= curl_easy_setopt(handle, CURLOPT_URL, realUrl_.c_str());
    r |= curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    r |= curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &CurlClient::WriteCallback);
    r |= curl_easy_setopt(handle, CURLOPT_WRITEDATA, this);
    r |= curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    r |= curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &CurlClient::ProgressCallback);
    r |= curl_easy_setopt(handle, CURLOPT_XFERINFODATA, this);
    r |= curl_easy_setopt(handle, CURLOPT_FAILONERROR, 1L);
    r |= curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    // A stalled stream fails like any other attempt instead of hanging for ever.
    r |= curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    r |= curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, settings_.singleStreamStallSeconds);
    r |= curl_easy_setopt(handle, CURLOPT_BUFFERSIZE, kReceiveBufferBytes);
    if (!settings_.caFile.empty()) {
        r |= curl_easy_setopt(handle, CURLOPT_CAINFO, settings_.caFile.c_str());
    }
    return static_cast<CURLcode>(r);
}

CURLcode CurlClient::SetHeaderRequestOptions(CURL* handle, const std::string& address,
                                             HeaderRequest kind) {
    int r = curl_easy_setopt(handle, CURLOPT_URL, address.c_str());
    if (kind == HeaderRequest::kFollowRedirects) {
        r |= curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    } else {
        r |= curl_easy_setopt(handle, CURLOPT_HEADER, 1L);
    }
    r |= curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    r |= curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &DiscardBody);
    r |= curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    // Lets Cancel end a header request that waits for a slow server.
    r |= curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    r |= curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &CurlClient::AbortWhenCancelled);
    r |= curl_easy_setopt(handle, CURLOPT_XFERINFODATA, this);
    if (!settings_.caFile.empty()) {
        r |= curl_easy_setopt(handle, CURLOPT_CAINFO, settings_.caFile.c_str());
    }
    return static_cast<CURLcode>(r);
}

download::ScopedCurl CurlClient::Head(const std::string& address) {
    download::ScopedCurl handle(curl_easy_init());
    if (!handle) {
        return handle;
    }
    int r = SetHeaderRequestOptions(handle.get(), address, HeaderRequest::kFollowRedirects);
    if (r == CURLE_OK) {
        r = curl_easy_perform(handle.get());
        if (r != CURLE_OK) {
            WRITE_LOG("error:%d:%s\r\n", r, curl_easy_strerror(static_cast<CURLcode>(r)));
        }
    }
    WRITE_LOG("error:%d:%s\r\n", r, curl_easy_strerror(static_cast<CURLcode>(r)));
    return handle;
}

double CurlClient::GetDownloadFileLength(CURL* handle) {
    curl_off_t length = -1;
    CURLcode query = curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    WRITE_LOG("error:%d:%s\r\n", static_cast<int>(query), curl_easy_strerror(query));
    long status = 0;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    if (query == CURLE_OK && IsSuccessStatus(status)) {
        return static_cast<double>(length);
    }
    ReportLengthStatus(status);
    return -1.0;
}

double CurlClient::GetDownloadFileLength_Str(const std::string& address) {
    download::ScopedCurl handle(curl_easy_init());
    if (!handle) {
        return -1.0;
    }
    curl_off_t length = -1;
    int r = SetHeaderRequestOptions(handle.get(), address, HeaderRequest::kHeadersOnly);
    if (r == CURLE_OK) {
        curl_easy_perform(handle.get());
        curl_easy_getinfo(handle.get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        long status = 0;
        r = curl_easy_getinfo(handle.get(), CURLINFO_RESPONSE_CODE, &status);
        if (r != CURLE_OK || !IsSuccessStatus(status)) {
            ReportLengthStatus(status);
        }
    }
    WRITE_LOG("error:%d:%s\r\n", r, curl_easy_strerror(static_cast<CURLcode>(r)));
    return static_cast<double>(length);
}

std::string CurlClient::GetRealUrl_Str(const std::string& address) {
    std::string effective;
    download::ScopedCurl handle(curl_easy_init());
    if (handle) {
        int r = SetHeaderRequestOptions(handle.get(), address, HeaderRequest::kFollowRedirects);
        if (r == CURLE_OK) {
            r = curl_easy_perform(handle.get());
        }
        if (r != CURLE_OK) {
            WRITE_LOG("error:%d:%s\r\n", r, curl_easy_strerror(static_cast<CURLcode>(r)));
        } else {
            char* url = nullptr;
            curl_easy_getinfo(handle.get(), CURLINFO_EFFECTIVE_URL, &url);
            effective = url != nullptr ? url : "";
        }
    }
    return effective.empty() ? address : effective;
}

void CurlClient::ReportLengthStatus(long status) {
    if (settings_.reportTask) {
        settings_.reportTask("下载失败原因",
                             fmt::sprintf("1.获取文件大小的状态码为=%ld；", status));
    }
}

int CurlClient::ProgressCallback(void* clientp, curl_off_t dltotal, curl_off_t dlnow, curl_off_t,
                                 curl_off_t) {
    auto* self = static_cast<CurlClient*>(clientp);
    if (self->cancelled_) {
        return 1;
    }
    const int64_t now = download::CalendarSecond(self->settings_);
    if (now < self->lastProgressSecond_ + 1) {
        return 0;
    }
    self->lastProgressSecond_ = now;

    curl_off_t speedBytes = 0;
    if (self->transfer_ != nullptr) {
        curl_easy_getinfo(self->transfer_, CURLINFO_SPEED_DOWNLOAD_T, &speedBytes);
    }
    const double speed = static_cast<double>(speedBytes);
    double percent;
    if (self->totalLength_ > kMinimumLength) {
        percent = static_cast<double>(dlnow + self->resumeOffset_) / self->totalLength_ * 100.0;
    } else if (dltotal > 0 && dlnow > 0) {
        percent = static_cast<double>(dlnow) * 100.0 / static_cast<double>(dltotal);
    } else {
        return 0;
    }
    if (percent == 0.0) {
        return 0;
    }
    if (self->progressSink_) {
        self->progressSink_(speed, 0.0, percent);
    }
    if (dltotal != 0) {
        WRITE_LOG(" %dM %dM   progress:%f%%  speed:%f \n", static_cast<int>(dlnow / 1048576),
                  static_cast<int>(dltotal / 1048576), static_cast<float>(percent),
                  static_cast<float>(speed / 1024));
    }
    return 0;
}

int CurlClient::AbortWhenCancelled(void* clientp, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<CurlClient*>(clientp)->cancelled_ ? 1 : 0;
}

size_t CurlClient::WriteCallback(char* data, size_t size, size_t count, void* userdata) {
    auto* self = static_cast<CurlClient*>(userdata);
    const size_t bytes = size * count;
    return self->partFile_.WriteAll(data, bytes) ? bytes : 0;
}
