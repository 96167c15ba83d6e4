#include <gio/gio.h>
#include <libsoup/soup.h>

#include <memory>
#include <string>
#include <vector>

#include "download/file_io.h"
#include "download/url_download.h"

namespace download {
namespace {

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GPtr = std::unique_ptr<T, GObjectUnref>;

struct GErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
using ErrorPtr = std::unique_ptr<GError, GErrorFree>;

struct MainContextUnref {
    void operator()(GMainContext* context) const { g_main_context_unref(context); }
};

constexpr size_t kBlock = 256 * 1024;
constexpr guint kIdleTimeoutSeconds = 60;

int ErrorCode(const GError* error) {
    if (error == nullptr) {
        return UrlDownloadSession::kNetworkError;
    }
    if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED)) {
        return UrlDownloadSession::kAborted;
    }
    if (error->domain == G_TLS_ERROR) {
        return UrlDownloadSession::kTlsError;
    }
    return UrlDownloadSession::kNetworkError;
}

// Makes `context` the calling thread's default for the life of the object, so that the
// session's synchronous calls stay on this worker.
class ThreadDefaultContext {
  public:
    ThreadDefaultContext() : context_(g_main_context_new()) {
        g_main_context_push_thread_default(context_.get());
    }
    ~ThreadDefaultContext() { g_main_context_pop_thread_default(context_.get()); }
    ThreadDefaultContext(const ThreadDefaultContext&) = delete;
    ThreadDefaultContext& operator=(const ThreadDefaultContext&) = delete;

  private:
    std::unique_ptr<GMainContext, MainContextUnref> context_;
};

// Reports progress when a thousandth more is done (every mebibyte when the total is
// unknown) and at the end, so that a large file does not flood the owner.
class ProgressPacer {
  public:
    ProgressPacer(const UrlDownloadSession::Progress& progress, uint64_t total)
        : progress_(progress), total_(total) {}

    bool Advance(uint64_t done, bool finished) {
        const uint64_t step = total_ > 0 ? done * 1000 / total_ : done >> 20;
        if (!finished && step == lastStep_) {
            return true;
        }
        lastStep_ = step;
        return !progress_ || progress_(done, total_);
    }

  private:
    const UrlDownloadSession::Progress& progress_;
    uint64_t total_;
    uint64_t lastStep_ = ~uint64_t{0};
};

}  // namespace

struct UrlDownloadSession::Impl {
    std::string authorityFile;
    GPtr<GCancellable> cancellable{g_cancellable_new()};

    int Copy(GInputStream* in, uint64_t total, const std::string& path, const Progress& progress);
    int FromFile(const std::string& address, const std::string& path, const Progress& progress);
    int FromWeb(const std::string& address, const std::string& path, const Progress& progress);
};

UrlDownloadSession::UrlDownloadSession(std::string authorityFile)
    : impl_(std::make_unique<Impl>()) {
    impl_->authorityFile = std::move(authorityFile);
}

UrlDownloadSession::~UrlDownloadSession() = default;

void UrlDownloadSession::Cancel() {
    g_cancellable_cancel(impl_->cancellable.get());
}

int UrlDownloadSession::Download(const std::string& address, const std::string& path,
                                 const Progress& progress) {
    if (g_cancellable_is_cancelled(impl_->cancellable.get())) {
        return kAborted;
    }
    if (address.rfind("file:///", 0) == 0) {
        return impl_->FromFile(address, path, progress);
    }
    return impl_->FromWeb(address, path, progress);
}

int UrlDownloadSession::Impl::Copy(GInputStream* in, uint64_t total, const std::string& path,
                                   const Progress& progress) {
    File file = File::Open(path, File::Mode::kReplace);
    if (!file.IsOpen()) {
        return kFileError;
    }
    ProgressPacer pacer(progress, total);
    std::vector<char> buffer(kBlock);
    uint64_t done = 0;
    for (;;) {
        GError* rawError = nullptr;
        const gssize got =
            g_input_stream_read(in, buffer.data(), buffer.size(), cancellable.get(), &rawError);
        ErrorPtr error(rawError);
        if (got < 0) {
            return ErrorCode(error.get());
        }
        if (got == 0) {
            break;
        }
        if (!file.WriteAll(buffer.data(), static_cast<size_t>(got))) {
            return kFileError;
        }
        done += static_cast<uint64_t>(got);
        if (!pacer.Advance(done, false)) {
            return kAborted;
        }
    }
    if (total > 0 && done != total) {
        return kNetworkError;
    }
    return pacer.Advance(done, true) ? 0 : kAborted;
}

int UrlDownloadSession::Impl::FromFile(const std::string& address, const std::string& path,
                                       const Progress& progress) {
    GPtr<GFile> source(g_file_new_for_uri(address.c_str()));
    GError* rawError = nullptr;
    GPtr<GFileInputStream> in(g_file_read(source.get(), cancellable.get(), &rawError));
    ErrorPtr error(rawError);
    if (!in) {
        return g_error_matches(error.get(), G_IO_ERROR, G_IO_ERROR_CANCELLED) ? kAborted
                                                                              : kBadAddress;
    }
    uint64_t total = 0;
    GPtr<GFileInfo> info(g_file_input_stream_query_info(in.get(), G_FILE_ATTRIBUTE_STANDARD_SIZE,
                                                        cancellable.get(), nullptr));
    if (info) {
        total = static_cast<uint64_t>(g_file_info_get_size(info.get()));
    }
    return Copy(G_INPUT_STREAM(in.get()), total, path, progress);
}

int UrlDownloadSession::Impl::FromWeb(const std::string& address, const std::string& path,
                                      const Progress& progress) {
    ThreadDefaultContext context;
    GPtr<SoupSession> session(soup_session_new());
    soup_session_set_idle_timeout(session.get(), kIdleTimeoutSeconds);
    soup_session_set_timeout(session.get(), kIdleTimeoutSeconds);
    // The body is stored as received: nothing is announced that would have to be decoded.
    soup_session_remove_feature_by_type(session.get(), SOUP_TYPE_CONTENT_DECODER);
    if (!authorityFile.empty()) {
        GError* rawError = nullptr;
        GPtr<GTlsDatabase> database(g_tls_file_database_new(authorityFile.c_str(), &rawError));
        ErrorPtr error(rawError);
        if (!database) {
            return kTlsError;
        }
        soup_session_set_tls_database(session.get(), database.get());
    }
    GPtr<SoupMessage> message(soup_message_new("GET", address.c_str()));
    if (!message) {
        return kBadAddress;
    }
    GError* rawError = nullptr;
    GPtr<GInputStream> in(
        soup_session_send(session.get(), message.get(), cancellable.get(), &rawError));
    ErrorPtr error(rawError);
    if (!in) {
        return ErrorCode(error.get());
    }
    const unsigned status = soup_message_get_status(message.get());
    if (!SOUP_STATUS_IS_SUCCESSFUL(status)) {
        g_input_stream_close(in.get(), nullptr, nullptr);
        return static_cast<int>(status);
    }
    const goffset length =
        soup_message_headers_get_content_length(soup_message_get_response_headers(message.get()));
    const int result =
        Copy(in.get(), length > 0 ? static_cast<uint64_t>(length) : 0, path, progress);
    g_input_stream_close(in.get(), nullptr, nullptr);
    return result;
}

}  // namespace download
