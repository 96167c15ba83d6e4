// quorvex-diag os: the system facts the installer decides with.

#include <fmt/printf.h>

#include "app/utils.h"
#include "commands.h"

namespace diag {
namespace {

const char* BoolText(bool value) {
    return value ? "true" : "false";
}

}  // namespace

int RunOs(const std::vector<std::string>& arguments) {
    if (arguments.size() > 1) {
        fmt::fprintf(stderr, "usage: quorvex-diag os [folder]\n");
        return kUsageError;
    }
    const std::string folder = arguments.empty() ? std::string(".") : arguments[0];

    const Utils::OsVersionName os = Utils::GetOsVersionName();
    fmt::printf("OsVersion=%s %s\n", os.family, os.version);
    fmt::printf("Network=%u\n", Utils::CheckNetwork());

    // An unreadable folder leaves the value empty; the log line on standard error says why.
    Utils::HardDiskManager disk;
    const bool spaceKnown = disk.CheckFreeSpace(folder);
    fmt::printf("FreeSpace=%s\n", spaceKnown ? std::to_string(disk.freeBytesForCaller) : "");

    std::string user;
    Utils::GetConsoleUserName(user);
    fmt::printf("ConsoleUser=%s\n", user);
    fmt::printf("Administrator=%s\n", BoolText(Utils::IsUserAdministrator(user)));
    fmt::printf("Elevated=%s\n", BoolText(Utils::IsProcessElevated()));
    fmt::printf("TempFolder=%s\n", Utils::GetInstallerTempFolder());
    return spaceKnown ? 0 : 1;
}

}  // namespace diag
