#pragma once

// An in-process download service on 127.0.0.1 for the downloader tests: HEAD and GET of
// files on disk, single byte ranges (206 with Content-Range), redirects, and per-path
// faults chosen by the test. It records every request it was asked.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace testsupport {

// How the server answers a request for one path. The default answer serves the file.
struct Reply {
    int status = 0;             // non-zero: answer GET with this status and a short text body
    bool statusOnHead = false;  // ... and HEAD too
    bool ignoreRange = false;   // answer a range request with 200 and the whole file
    int64_t bodyLimit = -1;     // send this many body bytes, then drop the connection
    bool stallAtLimit = false;  // at bodyLimit keep the connection open and send nothing more
    bool noLength = false;      // chunked body without Content-Length, in HEAD answers too
};

struct RecordedRequest {
    std::string method;
    std::string path;
    std::string range;           // the Range header, empty when none
    std::string acceptEncoding;  // the Accept-Encoding header, empty when none
    std::string connection;      // the Connection header
};

class DownloadServer {
  public:
    enum class Scheme { kHttp, kHttps };

    // Starts listening on an ephemeral port of 127.0.0.1. HTTPS uses a certificate issued
    // by a test authority made for this server (AuthorityFile()).
    explicit DownloadServer(Scheme scheme = Scheme::kHttp);
    // Ends stalls, stops the server and removes its certificate files.
    ~DownloadServer();
    DownloadServer(const DownloadServer&) = delete;
    DownloadServer& operator=(const DownloadServer&) = delete;

    // "http://127.0.0.1:PORT" or "https://127.0.0.1:PORT".
    std::string BaseUrl() const;
    std::string Url(const std::string& path) const { return BaseUrl() + path; }
    int Port() const { return port_; }
    // PEM file of the authority that issued the HTTPS certificate; empty for HTTP.
    const std::string& AuthorityFile() const { return authorityFile_; }

    void ServeFile(const std::string& path, const std::string& localFile);
    // `target` may be a path of this server or a whole address.
    void Redirect(const std::string& path, const std::string& target, int status = 302);

    // The answer for every request of `path` from now on.
    void SetReply(const std::string& path, const Reply& reply);
    // Answers for the next GET requests of `path`, one each, before the default answer.
    // With `range`, only for requests whose Range header is exactly that text (checked
    // before the queue without one).
    void QueueReplies(const std::string& path, std::vector<Reply> replies,
                      const std::string& range = "");

    // Lets stalled answers end (they drop their connection).
    void ReleaseStalls();

    std::vector<RecordedRequest> Requests() const;
    std::vector<RecordedRequest> Requests(const std::string& method, const std::string& path) const;

  private:
    void Handle(const httplib::Request& request, httplib::Response& response);
    Reply TakeReply(const std::string& method, const std::string& path, const std::string& range);
    void ServeBody(const std::string& localFile, const Reply& reply,
                   const httplib::Request& request, httplib::Response& response);
    bool WaitWhileStalled();

    std::unique_ptr<httplib::Server> server_;
    std::thread listener_;
    std::string scheme_;
    int port_ = 0;
    std::string certificateFolder_;
    std::string authorityFile_;

    mutable std::mutex mutex_;
    std::map<std::string, std::string> files_;
    std::map<std::string, std::pair<std::string, int>> redirects_;
    std::map<std::string, Reply> replies_;
    std::map<std::string, std::deque<Reply>> queued_;
    std::vector<RecordedRequest> requests_;
    bool stallsReleased_ = false;
    std::condition_variable stallEnded_;
};

// Writes `size` pseudo-random bytes chosen by `seed` to `path`; throws on failure.
void WriteRandomFile(const std::string& path, int64_t size, uint64_t seed);

}  // namespace testsupport
