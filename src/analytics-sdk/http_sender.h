#pragma once

// Uploads a batch to the collection endpoint: gzip, Base64, URL-encoding, one POST.

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "analytics-sdk/send_flag.h"
#include "analytics-sdk/transport.h"

namespace analytics_sdk {

using HeaderPairs = std::vector<std::pair<std::string, std::string>>;

struct PostResult {
    long status = -1;  // the response code, or -1 when no response arrived
    std::string body;  // the response body, or the error text when none arrived
};

struct SenderOptions {
    std::chrono::seconds timeout{3};
    // A PEM file of certificate authorities to trust instead of the system's (tests use a
    // private one). Peer and host are verified either way.
    std::string caFile;
};

// One POST of `body` to `url` on a fresh easy handle. Never throws.
PostResult PostForm(const std::string& url, const std::string& body, const HeaderPairs& headers,
                    const SenderOptions& options);

class HttpSender : public Transport {
  public:
    // `flag` records every upload's outcome and must outlive the sender.
    HttpSender(std::string serverUrl, HeaderPairs headers, SendFlag& flag,
               SenderOptions options = {});

    bool Send(const std::string& batchText) override;

  private:
    std::string serverUrl_;
    HeaderPairs headers_;
    SendFlag& flag_;
    SenderOptions options_;
};

}  // namespace analytics_sdk
