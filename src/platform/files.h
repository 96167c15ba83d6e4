#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The path separator the system uses in the paths it hands out ('/' on POSIX, '\' on Windows).
inline constexpr char kPathSeparator =
#ifdef _WIN32
    '\\';
#else
    '/';
#endif

struct DiskSpace {
    uint64_t freeForCaller = 0;
    uint64_t total = 0;
    uint64_t totalFree = 0;
};

// Fills `space` for the volume holding `path` (POSIX: statvfs). On failure returns false
// and sets `errorCode` to the system error number.
bool QueryDiskSpace(const std::string& path, DiskSpace& space, long& errorCode);

// The root of the volume that holds `path` or, when `path` does not exist yet, its nearest
// existing ancestor: the "drive component" (POSIX: that volume's mount point, "/" at least,
// after symbolic links; a relative path starts from the working folder).
std::string VolumeRoot(const std::string& path);

}  // namespace platform
