#pragma once

// How the tracker names the system in its records ("$os", "$os_version", "$user_agent").

#include <cstdint>
#include <string>

namespace marlix::tracking {

// The tracker's version name for NT version numbers (pure).
std::string TrackerOsVersionText(uint32_t major, uint32_t minor, uint32_t build, bool is64Bit,
                                 bool serverR2);

// "Mozilla/5.0(" + os + " " + version + "; Win64;)" ("Win32;)" on a 32-bit system) (pure).
std::string UserAgent(const std::string& os, const std::string& version, bool is64Bit);

struct OsDescription {
    std::string name;     // "$os": "Windows"; elsewhere the system's own name ("Linux")
    std::string version;  // "$os_version": the table's name; elsewhere the kernel release
    bool is64Bit = false;
};

// The running system. On Windows a version that cannot be read is named "XP-".
OsDescription DescribeOs();

}  // namespace marlix::tracking
