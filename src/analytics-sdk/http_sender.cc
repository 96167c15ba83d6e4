#include "analytics-sdk/http_sender.h"

#include <curl/curl.h>

#include <memory>
#include <stdexcept>

#include "analytics-sdk/diagnostics.h"
#include "analytics-sdk/form_encoding.h"
#include "analytics-sdk/gzip.h"
#include "platform/debug_output.h"

namespace analytics_sdk {
namespace {

constexpr char kUserAgent[] = "MxAnalytics CPP SDK 0.9";

struct EasyCleanup {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using ScopedCurl = std::unique_ptr<CURL, EasyCleanup>;

struct SlistFree {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using ScopedSlist = std::unique_ptr<curl_slist, SlistFree>;

size_t AppendBody(char* data, size_t size, size_t count, void* target) {
    try {
        static_cast<std::string*>(target)->append(data, size * count);
        return size * count;
    } catch (...) {
        return 0;  // aborts the transfer; an exception must not cross libcurl
    }
}

ScopedSlist HeaderList(const HeaderPairs& headers) {
    ScopedSlist list;
    for (const auto& [name, value] : headers) {
        const std::string line = name + ": " + value;
        curl_slist* extended = curl_slist_append(list.get(), line.c_str());
        if (extended == nullptr) {
            throw std::runtime_error("Couldn't build the header list");
        }
        list.release();
        list.reset(extended);
    }
    return list;
}

PostResult Perform(const std::string& url, const std::string& body, const HeaderPairs& headers,
                   const SenderOptions& options) {
    ScopedCurl curl(curl_easy_init());
    if (!curl) {
        throw std::runtime_error("Couldn't initialize curl handle");
    }
    CURL* handle = curl.get();
    PostResult result;
    std::string response;
    char errorText[CURL_ERROR_SIZE] = {};
    ScopedSlist headerList = HeaderList(headers);

    curl_easy_setopt(handle, CURLOPT_POST, 1L);
    curl_easy_setopt(handle, CURLOPT_POSTFIELDS, body.c_str());
    curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    // User identifiers travel in the body: the peer and its host name are always verified.
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!options.caFile.empty()) {
        curl_easy_setopt(handle, CURLOPT_CAINFO, options.caFile.c_str());
    }
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, AppendBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &response);
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headerList.get());
    curl_easy_setopt(handle, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(handle, CURLOPT_TIMEOUT, static_cast<long>(options.timeout.count()));
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errorText);

    const CURLcode code = curl_easy_perform(handle);
    if (code != CURLE_OK) {
        result.body = errorText[0] != '\0' ? errorText : curl_easy_strerror(code);
        return result;
    }
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &result.status);
    result.body = std::move(response);
    return result;
}

}  // namespace

PostResult PostForm(const std::string& url, const std::string& body, const HeaderPairs& headers,
                    const SenderOptions& options) {
    try {
        return Perform(url, body, headers, options);
    } catch (const std::exception& e) {
        WriteError(std::string(e.what()) + "\n");
        return PostResult{-1, e.what()};
    }
}

HttpSender::HttpSender(std::string serverUrl, HeaderPairs headers, SendFlag& flag,
                       SenderOptions options)
    : serverUrl_(std::move(serverUrl)),
      headers_(std::move(headers)),
      flag_(flag),
      options_(std::move(options)) {}

bool HttpSender::Send(const std::string& batchText) {
    const std::optional<std::string> compressed = GzipCompress(batchText);
    if (!compressed) {
        return false;
    }
    const PostResult result = PostForm(serverUrl_, UploadBody(*compressed), headers_, options_);
    const bool succeeded = result.status == 200;
    if (!succeeded) {
        platform::WriteDebugOutput("[analytics] Analytics SDK send failed\n");
        WriteError("Analytics SDK send failed: " + result.body + "\n");
    }
    flag_.Set(succeeded);
    return succeeded;
}

}  // namespace analytics_sdk
