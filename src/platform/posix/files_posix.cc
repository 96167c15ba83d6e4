#include "platform/files.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace platform {
namespace {

// `path` made absolute and cut back to its nearest ancestor that exists ("/" at least).
std::filesystem::path NearestExisting(const std::string& path) {
    std::error_code error;
    std::filesystem::path current =
        std::filesystem::absolute(path.empty() ? "." : path, error).lexically_normal();
    if (error) {
        return "/";
    }
    struct stat info {};
    while (::stat(current.c_str(), &info) != 0) {
        std::filesystem::path parent = current.parent_path();
        if (parent == current || parent.empty()) {
            return "/";
        }
        current = std::move(parent);
    }
    return current;
}

}  // namespace

bool QueryDiskSpace(const std::string& path, DiskSpace& space, long& errorCode) {
    struct statvfs info {};
    if (::statvfs(path.c_str(), &info) != 0) {
        errorCode = errno;
        return false;
    }
    const uint64_t unit = info.f_frsize != 0 ? info.f_frsize : info.f_bsize;
    space.freeForCaller = static_cast<uint64_t>(info.f_bavail) * unit;
    space.total = static_cast<uint64_t>(info.f_blocks) * unit;
    space.totalFree = static_cast<uint64_t>(info.f_bfree) * unit;
    return true;
}

std::string VolumeRoot(const std::string& path) {
    std::filesystem::path current = NearestExisting(path);
    std::error_code error;
    // Symbolic links on the way lead to the volume the data really goes to.
    std::filesystem::path resolved = std::filesystem::canonical(current, error);
    if (!error) {
        current = std::move(resolved);
    }
    struct stat here {};
    if (::stat(current.c_str(), &here) != 0) {
        return "/";
    }
    // A mount point is the last folder on the way up that is still on the same device.
    for (;;) {
        const std::filesystem::path parent = current.parent_path();
        struct stat above {};
        if (parent == current || ::stat(parent.c_str(), &above) != 0 ||
            above.st_dev != here.st_dev) {
            return current.string();
        }
        current = parent;
    }
}

}  // namespace platform
