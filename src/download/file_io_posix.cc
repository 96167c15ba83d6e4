#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <utility>
#include <vector>

#include "download/file_io.h"

namespace download {

File::~File() {
    Close();
}

File::File(File&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

File File::Open(const std::string& path, Mode mode, int* error) {
    int flags = O_CLOEXEC;
    switch (mode) {
        case Mode::kRead:
            flags |= O_RDONLY;
            break;
        case Mode::kAppend:
            flags |= O_RDWR | O_CREAT | O_APPEND;
            break;
        case Mode::kUpdate:
            flags |= O_RDWR | O_CREAT;
            break;
        case Mode::kReplace:
            flags |= O_WRONLY | O_CREAT | O_TRUNC;
            break;
    }
    int fd;
    do {
        fd = ::open(path.c_str(), flags, 0644);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0 && error != nullptr) {
        *error = errno;
    }
    return File(fd);
}

void File::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

int64_t File::Size() const {
    struct stat info;
    if (fd_ < 0 || ::fstat(fd_, &info) != 0) {
        return -1;
    }
    return static_cast<int64_t>(info.st_size);
}

bool File::WriteAll(const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t written = ::write(fd_, p, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        p += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

int64_t File::Read(void* buffer, size_t size) {
    for (;;) {
        ssize_t got = ::read(fd_, buffer, size);
        if (got >= 0 || errno != EINTR) {
            return got;
        }
    }
}

bool File::Truncate(int64_t size) {
    return fd_ >= 0 && ::ftruncate(fd_, size) == 0;
}

bool File::AppendFrom(File& source) {
    int64_t size = Size();
    if (size < 0 || source.fd_ < 0) {
        return false;
    }
    off_t in = 0;
    off_t out = static_cast<off_t>(size);
    for (;;) {
        ssize_t copied = ::copy_file_range(source.fd_, &in, fd_, &out, 1 << 30, 0);
        if (copied == 0) {
            return true;
        }
        if (copied > 0) {
            continue;
        }
        if (errno == EINTR) {
            continue;
        }
        // Across file systems on older kernels, or on file systems without the call: copy
        // through user space from where the kernel stopped.
        if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) {
            break;
        }
        return false;
    }
    std::vector<char> buffer(1 << 20);
    for (;;) {
        ssize_t got = ::pread(source.fd_, buffer.data(), buffer.size(), in);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return got == 0;
        }
        in += got;
        for (ssize_t done = 0; done < got;) {
            ssize_t written = ::pwrite(fd_, buffer.data() + done, got - done, out);
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written < 0) {
                return false;
            }
            done += written;
            out += written;
        }
    }
}

void File::AdviseSequential() {
    if (fd_ >= 0) {
        ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    }
}

bool FileExists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

int64_t FileSize(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) {
        return -1;
    }
    return static_cast<int64_t>(info.st_size);
}

bool RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool RenameFile(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

std::string SystemErrorText(int error) {
    char buffer[256];
    // The GNU variant may return a static text instead of filling the buffer.
    const char* text = ::strerror_r(error, buffer, sizeof buffer);
    return text != nullptr ? std::string(text) : std::string();
}

}  // namespace download
