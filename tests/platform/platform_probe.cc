// A second process for the platform tests:
//   platform_probe lock NAME   exit 0 when it took the instance lock, 3 when it is held
//   platform_probe admin NAME  exit 0 when NAME is an administrator, 4 when not
//   platform_probe exe         prints its own executable path

#include <cstdio>
#include <string_view>

#include "platform/accounts.h"
#include "platform/executable.h"
#include "platform/instance_lock.h"

int main(int argc, char** argv) {
    const std::string_view command = argc > 1 ? argv[1] : "";
    if (command == "lock" && argc == 3) {
        return platform::InstanceLock::TryAcquire(argv[2]) ? 0 : 3;
    }
    if (command == "admin" && argc == 3) {
        return platform::UserIsAdministrator(argv[2]) ? 0 : 4;
    }
    if (command == "exe" && argc == 2) {
        std::fputs(platform::ExecutablePath().c_str(), stdout);
        return 0;
    }
    std::fputs("usage: platform_probe lock NAME | admin NAME | exe\n", stderr);
    return 2;
}
