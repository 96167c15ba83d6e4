#pragma once

// Owning handles for libcurl objects.

#include <curl/curl.h>

#include <memory>

namespace download {

struct CurlEasyCleanup {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using ScopedCurl = std::unique_ptr<CURL, CurlEasyCleanup>;

struct CurlListFree {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using ScopedCurlList = std::unique_ptr<curl_slist, CurlListFree>;

// A list holding the given header lines, or none when memory ran out.
template <typename... Lines>
ScopedCurlList MakeHeaderList(const Lines&... lines) {
    curl_slist* list = nullptr;
    for (const char* line : {lines...}) {
        curl_slist* grown = curl_slist_append(list, line);
        if (grown == nullptr) {
            curl_slist_free_all(list);
            return nullptr;
        }
        list = grown;
    }
    return ScopedCurlList(list);
}

}  // namespace download
