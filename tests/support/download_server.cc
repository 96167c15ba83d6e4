#include "support/download_server.h"

#include <fcntl.h>
#include <httplib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "support/test_authority.h"

namespace testsupport {
namespace {

constexpr size_t kChunk = 64 * 1024;

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

// "bytes=FIRST-" or "bytes=FIRST-LAST"; false for anything else (served whole).
bool ParseRange(const std::string& header, int64_t& first, int64_t& last) {
    const std::string prefix = "bytes=";
    if (header.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    const std::string ranges = header.substr(prefix.size());
    const size_t dash = ranges.find('-');
    if (dash == std::string::npos || dash == 0 || ranges.find(',') != std::string::npos) {
        return false;
    }
    first = std::stoll(ranges.substr(0, dash));
    last = dash + 1 < ranges.size() ? std::stoll(ranges.substr(dash + 1)) : -1;
    return true;
}

}  // namespace

DownloadServer::DownloadServer(Scheme scheme) {
    if (scheme == Scheme::kHttps) {
        char folder[] = "/tmp/quorvex-tls-XXXXXX";
        if (mkdtemp(folder) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        certificateFolder_ = folder;
        const TestAuthority authority = MakeTestAuthority();
        authorityFile_ = certificateFolder_ + "/authority.pem";
        WriteText(authorityFile_, authority.authorityPem);
        WriteText(certificateFolder_ + "/server.pem", authority.serverCertificatePem);
        WriteText(certificateFolder_ + "/server.key", authority.serverKeyPem);
        server_ =
            std::make_unique<httplib::SSLServer>((certificateFolder_ + "/server.pem").c_str(),
                                                 (certificateFolder_ + "/server.key").c_str());
        scheme_ = "https";
    } else {
        server_ = std::make_unique<httplib::Server>();
        scheme_ = "http";
    }
    if (!server_->is_valid()) {
        throw std::runtime_error("download server cannot be set up");
    }
    // Connections the client keeps open must not hold the server's threads for long.
    server_->set_keep_alive_timeout(1);
    auto handler = [this](const httplib::Request& request, httplib::Response& response) {
        Handle(request, response);
    };
    server_->Get(".*", handler);
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0) {
        throw std::runtime_error("download server cannot bind");
    }
    listener_ = std::thread([this] { server_->listen_after_bind(); });
    // A stop() that came before the accept loop started would be lost.
    while (!server_->is_running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

DownloadServer::~DownloadServer() {
    ReleaseStalls();
    server_->stop();
    listener_.join();
    server_.reset();
    if (!certificateFolder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(certificateFolder_, ignored);
    }
}

std::string DownloadServer::BaseUrl() const {
    return scheme_ + "://127.0.0.1:" + std::to_string(port_);
}

void DownloadServer::ServeFile(const std::string& path, const std::string& localFile) {
    std::lock_guard<std::mutex> lock(mutex_);
    files_[path] = localFile;
}

void DownloadServer::Redirect(const std::string& path, const std::string& target, int status) {
    std::lock_guard<std::mutex> lock(mutex_);
    redirects_[path] = {target, status};
}

void DownloadServer::SetReply(const std::string& path, const Reply& reply) {
    std::lock_guard<std::mutex> lock(mutex_);
    replies_[path] = reply;
}

void DownloadServer::QueueReplies(const std::string& path, std::vector<Reply> replies,
                                  const std::string& range) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto& queue = queued_[path + "\n" + range];
    queue.insert(queue.end(), replies.begin(), replies.end());
}

void DownloadServer::ReleaseStalls() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stallsReleased_ = true;
    }
    stallEnded_.notify_all();
}

std::vector<RecordedRequest> DownloadServer::Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

std::vector<RecordedRequest> DownloadServer::Requests(const std::string& method,
                                                      const std::string& path) const {
    std::vector<RecordedRequest> matching;
    for (const RecordedRequest& request : Requests()) {
        if (request.method == method && request.path == path) {
            matching.push_back(request);
        }
    }
    return matching;
}

Reply DownloadServer::TakeReply(const std::string& method, const std::string& path,
                                const std::string& range) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const std::string& key : {path + "\n" + range, path + "\n"}) {
        auto queue = queued_.find(key);
        if (method == "GET" && queue != queued_.end() && !queue->second.empty()) {
            Reply reply = queue->second.front();
            queue->second.pop_front();
            return reply;
        }
    }
    auto found = replies_.find(path);
    return found != replies_.end() ? found->second : Reply{};
}

void DownloadServer::Handle(const httplib::Request& request, httplib::Response& response) {
    // The library would cut every ranged answer itself (and mis-sizes ranges past the end);
    // this server decides about ranges on its own. The request object is not const itself.
    const_cast<httplib::Request&>(request).ranges.clear();

    std::string localFile;
    std::pair<std::string, int> redirect;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back({request.method, request.path, request.get_header_value("Range"),
                             request.get_header_value("Accept-Encoding"),
                             request.get_header_value("Connection")});
        auto r = redirects_.find(request.path);
        if (r != redirects_.end()) {
            redirect = r->second;
        }
        auto f = files_.find(request.path);
        if (f != files_.end()) {
            localFile = f->second;
        }
    }
    if (!redirect.first.empty()) {
        const std::string& target = redirect.first;
        response.set_redirect(target.front() == '/' ? Url(target) : target, redirect.second);
        return;
    }
    if (localFile.empty()) {
        response.status = 404;
        response.set_content("not found", "text/plain");
        return;
    }
    const Reply reply = TakeReply(request.method, request.path, request.get_header_value("Range"));
    if (reply.status != 0 && (request.method == "GET" || reply.statusOnHead)) {
        response.status = reply.status;
        response.set_content("scripted failure", "text/plain");
        return;
    }
    ServeBody(localFile, reply, request, response);
}

void DownloadServer::ServeBody(const std::string& localFile, const Reply& reply,
                               const httplib::Request& request, httplib::Response& response) {
    struct stat info;
    if (::stat(localFile.c_str(), &info) != 0) {
        response.status = 500;
        return;
    }
    const int64_t size = info.st_size;
    int64_t first = 0;
    int64_t last = size - 1;
    response.status = 200;
    if (!reply.ignoreRange && ParseRange(request.get_header_value("Range"), first, last)) {
        if (first >= size) {
            response.status = 416;
            response.set_header("Content-Range", "bytes */" + std::to_string(size));
            return;
        }
        last = (last < 0 || last >= size) ? size - 1 : last;
        response.status = 206;
        response.set_header("Content-Range", "bytes " + std::to_string(first) + "-" +
                                                 std::to_string(last) + "/" + std::to_string(size));
    } else {
        first = 0;
        last = size - 1;
    }
    const int64_t length = last - first + 1;

    auto fd =
        std::shared_ptr<int>(new int(::open(localFile.c_str(), O_RDONLY | O_CLOEXEC)), [](int* p) {
            if (*p >= 0) {
                ::close(*p);
            }
            delete p;
        });
    // Sends [offset, offset + wanted) of the answer, honouring the body limit.
    auto send = [this, fd, first, length, reply](size_t offset, httplib::DataSink& sink) {
        const int64_t done = static_cast<int64_t>(offset);
        if (reply.bodyLimit >= 0 && done >= reply.bodyLimit) {
            if (reply.stallAtLimit) {
                WaitWhileStalled();
            }
            return false;
        }
        int64_t wanted = std::min<int64_t>(length - done, kChunk);
        if (reply.bodyLimit >= 0) {
            wanted = std::min(wanted, reply.bodyLimit - done);
        }
        if (wanted <= 0) {
            return true;
        }
        std::vector<char> buffer(static_cast<size_t>(wanted));
        ssize_t got = ::pread(*fd, buffer.data(), buffer.size(), first + done);
        return got > 0 && sink.write(buffer.data(), static_cast<size_t>(got));
    };

    if (reply.noLength) {
        response.set_chunked_content_provider(
            "application/octet-stream", [send, length](size_t offset, httplib::DataSink& sink) {
                if (static_cast<int64_t>(offset) >= length) {
                    sink.done();
                    return true;
                }
                return send(offset, sink);
            });
    } else {
        response.set_content_provider(
            static_cast<size_t>(length), "application/octet-stream",
            [send](size_t offset, size_t, httplib::DataSink& sink) { return send(offset, sink); });
    }
}

bool DownloadServer::WaitWhileStalled() {
    std::unique_lock<std::mutex> lock(mutex_);
    stallEnded_.wait(lock, [this] { return stallsReleased_; });
    return true;
}

void WriteRandomFile(const std::string& path, int64_t size, uint64_t seed) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::vector<uint64_t> block(8192);
    uint64_t state = seed * 0x9E3779B97F4A7C15ull + 1;
    for (int64_t written = 0; written < size;) {
        for (uint64_t& word : block) {
            // xorshift64*: fast, and plenty for test content.
            state ^= state >> 12;
            state ^= state << 25;
            state ^= state >> 27;
            word = state * 0x2545F4914F6CDD1Dull;
        }
        const int64_t bytes = std::min<int64_t>(size - written, block.size() * sizeof(uint64_t));
        out.write(reinterpret_cast<const char*>(block.data()), bytes);
        written += bytes;
    }
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace testsupport
