#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <random>
#include <system_error>
#include <utility>

namespace platform {
namespace {

class UniqueFd {
  public:
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

    // Closes now; a failed close can mean lost data, so the caller sees it.
    bool Close() {
        const int fd = std::exchange(fd_, -1);
        return fd < 0 || ::close(fd) == 0;
    }

  private:
    int fd_;
};

// A new file that is removed again unless Keep() is called.
class TemporaryFile {
  public:
    TemporaryFile(std::filesystem::path path, int fd) : path_(std::move(path)), fd_(fd) {}
    ~TemporaryFile() {
        fd_.Close();
        if (!kept_) {
            ::unlink(path_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::filesystem::path& path() const { return path_; }
    UniqueFd& fd() { return fd_; }
    void Keep() { kept_ = true; }

  private:
    std::filesystem::path path_;
    UniqueFd fd_;
    bool kept_ = false;
};

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// The file a write to `file` lands in: a symbolic link is followed, as an in-place write
// would follow it.
std::filesystem::path WriteTarget(const std::filesystem::path& file) {
    std::error_code error;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(file, error))) {
        std::filesystem::path target = std::filesystem::weakly_canonical(file, error);
        if (!error) {
            return target;
        }
    }
    return file;
}

std::unique_ptr<TemporaryFile> CreateBeside(const std::filesystem::path& target, mode_t mode) {
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const uint64_t tag = (static_cast<uint64_t>(random()) << 32) | random();
        std::filesystem::path path = target;
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(tag));
        path.replace_filename("." + target.filename().string() + suffix);
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            return std::make_unique<TemporaryFile>(std::move(path), fd);
        }
        if (errno != EEXIST) {
            return nullptr;
        }
    }
    return nullptr;
}

// Makes the rename itself durable; a failure here leaves a complete file either way.
void SyncFolderOf(const std::filesystem::path& file) {
    std::filesystem::path folder = file.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid()) {
        ::fsync(fd.get());
    }
}

}  // namespace

FileReadResult ReadWholeFile(const std::filesystem::path& file, std::string& content) {
    UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        return (errno == ENOENT || errno == ENOTDIR) ? FileReadResult::kMissing
                                                     : FileReadResult::kFailed;
    }
    content.clear();
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return FileReadResult::kFailed;
        }
        if (got == 0) {
            return FileReadResult::kRead;
        }
        content.append(buffer, static_cast<size_t>(got));
    }
}

bool ReplaceFileAtomically(const std::filesystem::path& file, std::string_view content) {
    const std::filesystem::path target = WriteTarget(file);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    // A new file gets the usual 0666 less the umask, like any file the program creates.
    const mode_t mode = exists ? (existing.st_mode & 07777) : 0666;
    const std::unique_ptr<TemporaryFile> temporary = CreateBeside(target, mode);
    if (!temporary) {
        return false;
    }
    const int fd = temporary->fd().get();
    if ((exists && ::fchmod(fd, mode) != 0) || !WriteAll(fd, content) || ::fsync(fd) != 0 ||
        !temporary->fd().Close()) {
        return false;
    }
    if (::rename(temporary->path().c_str(), target.c_str()) != 0) {
        return false;
    }
    temporary->Keep();
    SyncFolderOf(target);
    return true;
}

}  // namespace platform
