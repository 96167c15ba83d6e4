#include "app/log.h"
#include "app/utils.h"
#include "platform/accounts.h"
#include "platform/files.h"
#include "platform/network.h"
#include "platform/os_facts.h"

namespace Utils {

OsVersionName GetOsVersionName() {
    const std::optional<platform::NtVersion> nt = platform::QueryNtVersion();
    if (!nt) {
        return {platform::OsFamilyName(), platform::OsReleaseText()};
    }
    return {platform::OsFamilyName(),
            OsVersionText(nt->major, nt->minor, nt->build, platform::IsServerR2())};
}

std::string OsVersionText(uint32_t major, uint32_t minor, uint32_t build, bool serverR2) {
    switch (major) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 4:
            return "XP-";
        case 5:
            switch (minor) {
                case 0:
                    return "2K";
                case 1:
                    return "XP";
                case 2:
                    return serverR2 ? "Server 2003 R2" : "Server 2003";
                default:
                    return "XP+";
            }
        case 6:
            switch (minor) {
                case 0:
                    return "Vista";
                case 1:
                    return "7";
                case 2:
                    return "8";
                case 3:
                    return "8.1";
                default:
                    return "8.1+";
            }
        case 10:
            return minor == 0 ? "10" : "10+";
        default:
            return std::to_string(major) + "." + std::to_string(minor) + "." +
                   std::to_string(build);
    }
}

bool IsXpClass(uint32_t major, uint32_t minor) {
    return major <= 4 || (major == 5 && (minor == 1 || minor >= 3));
}

uint32_t CheckNetwork() {
    return CheckNetwork(platform::QueryConnectivity());
}

uint32_t CheckNetwork(const std::optional<platform::Connectivity>& connectivity) {
    if (!connectivity) {
        return 0;
    }
    uint32_t verdict = 0;
    if (connectivity->flags == 0) {
        WRITE_LOG("GetConnectivity %d", connectivity->flags);
        verdict = 1;
    } else if (!connectivity->connectedToInternet) {
        WRITE_LOG("get_IsConnectedToInternet:%d", 0);
        verdict = 2;
    }
    return connectivity->flags | (verdict << 16);
}

bool HardDiskManager::CheckFreeSpace(const std::string& folder) {
    platform::DiskSpace space;
    long errorCode = 0;
    if (!platform::QueryDiskSpace(folder, space, errorCode)) {
        WRITE_LOG("HardDiskManager::CheckFreeSpace FAIL code=%ld\r\n", errorCode);
        return false;
    }
    freeBytesForCaller = space.freeForCaller;
    totalBytes = space.total;
    totalFreeBytes = space.totalFree;
    return true;
}

bool GetConsoleUserName(std::string& name) {
    return platform::ConsoleUserName(name);
}

bool IsUserAdministrator(std::string_view userName) {
    return platform::UserIsAdministrator(userName);
}

bool IsProcessElevated() {
    return platform::ProcessIsElevated();
}

}  // namespace Utils
