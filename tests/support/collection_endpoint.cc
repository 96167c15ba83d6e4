#include "support/collection_endpoint.h"

#include <httplib.h>
#include <json/reader.h>
#include <zlib.h>

#include <stdexcept>

namespace testsupport {
namespace {

constexpr char kPrefix[] = "data_list=";
constexpr char kSuffix[] = "&gzip=1";

bool IsUnreserved(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

int UpperHexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool UrlDecode(const std::string& text, std::string& out, std::string& error) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsUnreserved(text[i])) {
            out.push_back(text[i]);
            continue;
        }
        const bool room = i + 2 < text.size();
        const int high = room ? UpperHexDigit(text[i + 1]) : -1;
        const int low = room ? UpperHexDigit(text[i + 2]) : -1;
        if (text[i] != '%' || high < 0 || low < 0) {
            error = "bad URL encoding at " + std::to_string(i);
            return false;
        }
        out.push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return true;
}

int Base64Value(char c) {
    static const std::string kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const size_t at = kAlphabet.find(c);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

bool Base64Decode(const std::string& text, std::string& out, std::string& error) {
    if (text.size() % 4 != 0) {
        error = "Base64 length is not a multiple of 4";
        return false;
    }
    for (size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        int values[4];
        int padding = 0;
        for (int j = 0; j < 4; ++j) {
            const char c = text[i + j];
            if (c == '=' && last && j >= 2) {
                ++padding;
                values[j] = 0;
                continue;
            }
            values[j] = Base64Value(c);
            if (values[j] < 0 || padding > 0) {
                error = "bad Base64 at " + std::to_string(i + j);
                return false;
            }
        }
        const uint32_t group = values[0] << 18 | values[1] << 12 | values[2] << 6 | values[3];
        out.push_back(static_cast<char>(group >> 16));
        if (padding < 2) {
            out.push_back(static_cast<char>(group >> 8 & 0xFF));
        }
        if (padding < 1) {
            out.push_back(static_cast<char>(group & 0xFF));
        }
    }
    return true;
}

bool Gunzip(const std::string& data, std::string& out, std::string& error) {
    z_stream stream = {};
    if (inflateInit2(&stream, 31) != Z_OK) {
        error = "inflateInit2 failed";
        return false;
    }
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    int result = Z_OK;
    char chunk[16384];
    while (result == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        result = inflate(&stream, Z_NO_FLUSH);
        out.append(chunk, sizeof chunk - stream.avail_out);
    }
    const bool complete = result == Z_STREAM_END && stream.avail_in == 0;
    inflateEnd(&stream);
    if (!complete) {
        error = "gzip stream incomplete or followed by data (zlib " + std::to_string(result) + ")";
    }
    return complete;
}

bool ParseArray(const std::string& text, Json::Value& array, std::string& error) {
    Json::CharReaderBuilder builder;
    Json::CharReaderBuilder::strictMode(&builder.settings_);
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    if (!reader->parse(text.data(), text.data() + text.size(), &array, &error)) {
        return false;
    }
    if (!array.isArray()) {
        error = "not a JSON array";
        return false;
    }
    return true;
}

}  // namespace

bool DecodeUploadBody(const std::string& body, std::string& batchText, std::string& error) {
    const std::string prefix = kPrefix;
    const std::string suffix = kSuffix;
    if (body.size() < prefix.size() + suffix.size() ||
        body.compare(0, prefix.size(), prefix) != 0 ||
        body.compare(body.size() - suffix.size(), suffix.size(), suffix) != 0) {
        error = "body is not data_list=...&gzip=1";
        return false;
    }
    const std::string value =
        body.substr(prefix.size(), body.size() - prefix.size() - suffix.size());
    std::string base64;
    std::string compressed;
    batchText.clear();
    return UrlDecode(value, base64, error) && Base64Decode(base64, compressed, error) &&
           Gunzip(compressed, batchText, error);
}

CollectionEndpoint::CollectionEndpoint() : server_(std::make_unique<httplib::Server>()) {
    scheme_ = "http";
    Start();
}

CollectionEndpoint::CollectionEndpoint(const std::string& certificateFile,
                                       const std::string& privateKeyFile)
    : server_(
          std::make_unique<httplib::SSLServer>(certificateFile.c_str(), privateKeyFile.c_str())) {
    if (!server_->is_valid()) {
        throw std::runtime_error("TLS endpoint could not load its certificate");
    }
    scheme_ = "https";
    Start();
}

CollectionEndpoint::~CollectionEndpoint() {
    Stop();
}

void CollectionEndpoint::Start() {
    server_->Post("/sa", [this](const httplib::Request& request, httplib::Response& response) {
        ReceivedUpload upload;
        upload.body = request.body;
        upload.userAgent = request.get_header_value("User-Agent");
        upload.contentType = request.get_header_value("Content-Type");
        upload.decoded = request.get_param_value("project") == "pc" &&
                         DecodeUploadBody(request.body, upload.batchText, upload.error) &&
                         ParseArray(upload.batchText, upload.records, upload.error);
        std::unique_lock lock(mutex_);
        uploads_.push_back(std::move(upload));
        changed_.notify_all();
        changed_.wait_for(lock, delay_, [this] { return stopping_; });
        changed_.wait(lock, [this] { return stopping_ || !holding_; });
        response.status = status_;
        response.set_content(status_ == 200 ? "{\"code\":0}" : "rejected", "text/plain");
    });
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0) {
        throw std::runtime_error("endpoint could not bind");
    }
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    // stop() only reaches a server whose accept loop runs.
    while (!server_->is_running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void CollectionEndpoint::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        changed_.notify_all();
    }
    server_->stop();
    if (thread_.joinable()) {
        thread_.join();
    }
}

std::string CollectionEndpoint::Url() const {
    return UrlWithHost("127.0.0.1");
}

std::string CollectionEndpoint::UrlWithHost(const std::string& host) const {
    return scheme_ + "://" + host + ":" + std::to_string(port_) + "/sa?project=pc";
}

void CollectionEndpoint::SetStatus(int status) {
    std::lock_guard lock(mutex_);
    status_ = status;
}

void CollectionEndpoint::SetDelay(std::chrono::milliseconds delay) {
    std::lock_guard lock(mutex_);
    delay_ = delay;
}

void CollectionEndpoint::HoldAnswers() {
    std::lock_guard lock(mutex_);
    holding_ = true;
}

void CollectionEndpoint::ReleaseAnswers() {
    std::lock_guard lock(mutex_);
    holding_ = false;
    changed_.notify_all();
}

void CollectionEndpoint::RefuseConnections() {
    Stop();
}

std::vector<ReceivedUpload> CollectionEndpoint::Uploads() const {
    std::lock_guard lock(mutex_);
    return uploads_;
}

std::vector<Json::Value> CollectionEndpoint::Records() const {
    std::vector<Json::Value> records;
    for (const ReceivedUpload& upload : Uploads()) {
        for (const Json::Value& record : upload.records) {
            records.push_back(record);
        }
    }
    return records;
}

bool CollectionEndpoint::WaitForUploads(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return uploads_.size() >= count; });
}

}  // namespace testsupport
