#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace platform {
namespace {

std::string LockDirectory() {
    // A relative or empty XDG_RUNTIME_DIR is invalid and must be ignored.
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeDir != nullptr && runtimeDir[0] == '/') {
        return runtimeDir;
    }
    return "/tmp";
}

std::string LockPath(std::string_view name) {
    // The name is one file name: a "/" would point into another folder.
    std::string fileName(name);
    for (char& c : fileName) {
        if (c == '/' || c == '\0') {
            c = '_';
        }
    }
    return LockDirectory() + "/" + fileName + ".lock";
}

}  // namespace

std::unique_ptr<InstanceLock> InstanceLock::TryAcquire(std::string_view name) {
    const std::string path = LockPath(name);
    // O_CLOEXEC: a child started later (the product, a package) must not keep the lock alive
    // after this process ends. O_NOFOLLOW: /tmp is shared, a planted symlink is refused.
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return nullptr;
    }
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<InstanceLock>(new InstanceLock(fd));
}

// The file stays: removing it would race with a process that has just opened it and would
// then lock an unlinked file that nobody else can see.
InstanceLock::~InstanceLock() {
    ::close(fd_);
}

}  // namespace platform
