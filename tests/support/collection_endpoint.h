#pragma once

// An in-process analytics collection endpoint on 127.0.0.1 (plain HTTP, or HTTPS with a
// given certificate). It accepts POSTs on "/sa?project=pc", decodes each body exactly
// (form value, URL decoding, Base64, gunzip, JSON array) and keeps what it received. It can
// be told to answer another status, to hold its answer for a while, or to stop listening so
// that connections are refused.

#include <json/value.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace testsupport {

struct ReceivedUpload {
    std::string body;         // as posted
    std::string userAgent;    // the User-Agent header
    std::string contentType;  // the Content-Type header
    bool decoded = false;     // the body decoded exactly to a JSON array
    std::string error;        // why it did not
    std::string batchText;    // the decoded JSON text
    Json::Value records;      // the parsed array
};

// Decodes an upload body: "data_list=" + URL-encoded Base64 of a gzip stream + "&gzip=1".
// Strict: every byte outside the unreserved set must be "%XX" with upper-case digits, the
// Base64 must be canonical and the gzip stream complete with nothing after it.
bool DecodeUploadBody(const std::string& body, std::string& batchText, std::string& error);

class CollectionEndpoint {
  public:
    // Plain HTTP.
    CollectionEndpoint();
    // HTTPS with the certificate and key in these PEM files.
    CollectionEndpoint(const std::string& certificateFile, const std::string& privateKeyFile);
    ~CollectionEndpoint();
    CollectionEndpoint(const CollectionEndpoint&) = delete;
    CollectionEndpoint& operator=(const CollectionEndpoint&) = delete;

    // "http://127.0.0.1:<port>/sa?project=pc" (https for the TLS endpoint).
    std::string Url() const;
    // The same address under another host name (which the certificate does not name).
    std::string UrlWithHost(const std::string& host) const;
    int port() const { return port_; }

    // The status later uploads get (200 at first).
    void SetStatus(int status);
    // How long the endpoint holds each answer (0 at first).
    void SetDelay(std::chrono::milliseconds delay);
    // Holds every answer from now on until ReleaseAnswers (or the endpoint stops).
    void HoldAnswers();
    void ReleaseAnswers();
    // Stops listening; later connections to the port are refused.
    void RefuseConnections();

    std::vector<ReceivedUpload> Uploads() const;
    // Every record of every decoded upload, in arrival order.
    std::vector<Json::Value> Records() const;
    // Waits until `count` uploads have arrived or `timeout` passes; true when they did.
    bool WaitForUploads(size_t count, std::chrono::milliseconds timeout) const;

  private:
    void Start();
    void Stop();

    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;
    std::string scheme_;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    int status_ = 200;
    std::chrono::milliseconds delay_{0};
    bool holding_ = false;
    bool stopping_ = false;
    std::vector<ReceivedUpload> uploads_;
};

}  // namespace testsupport
