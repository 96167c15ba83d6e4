#include "source/src/os_names.h"

#include "platform/os_facts.h"

namespace marlix::tracking {
namespace {

std::string Pick(bool is64Bit, const char* name64, const char* name32) {
    return is64Bit ? name64 : name32;
}

std::string NumberedVersion(uint32_t major, uint32_t minor, uint32_t build) {
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(build);
}

std::string Version5(uint32_t minor, bool is64Bit, bool serverR2) {
    switch (minor) {
        case 0:
            return "2K";
        case 1:
            return "XP";
        case 2:
            if (is64Bit) {
                return "XP64";
            }
            return serverR2 ? "Server 2003 R2" : "Server 2003";
        default:
            return "XP+";
    }
}

std::string Version6(uint32_t minor, bool is64Bit) {
    switch (minor) {
        case 0:
            return Pick(is64Bit, "Vista64", "Vista");
        case 1:
            return Pick(is64Bit, "7", "7-32");
        case 2:
            return Pick(is64Bit, "8", "8-32");
        case 3:
            return "8.1";
        default:
            return "8.1+";
    }
}

}  // namespace

std::string TrackerOsVersionText(uint32_t major, uint32_t minor, uint32_t build, bool is64Bit,
                                 bool serverR2) {
    build &= 0xFFFF;
    if (major <= 4) {
        return "XP-";
    }
    if (major == 5) {
        return Version5(minor, is64Bit, serverR2);
    }
    if (major == 6) {
        return Version6(minor, is64Bit);
    }
    if (major == 10) {
        if (minor >= 1) {
            return "11+";
        }
        return build < 22000 ? "10" : "11";
    }
    return NumberedVersion(major, minor, build);
}

std::string UserAgent(const std::string& os, const std::string& version, bool is64Bit) {
    return "Mozilla/5.0(" + os + " " + version + "; Win" + (is64Bit ? "64;)" : "32;)");
}

OsDescription DescribeOs() {
    OsDescription os;
    os.name = platform::OsFamilyName();
    os.is64Bit = platform::Is64BitSystem();
    const std::optional<platform::NtVersion> nt = platform::QueryNtVersion();
    if (nt) {
        os.version = TrackerOsVersionText(nt->major, nt->minor, nt->build, os.is64Bit,
                                          platform::IsServerR2());
    } else if (os.name == "Windows") {
        os.version = "XP-";
    } else {
        os.version = platform::OsReleaseText();
    }
    return os;
}

}  // namespace marlix::tracking
