#include "platform/os_facts.h"

#include <sys/utsname.h>

#include "platform/posix/machine_arch.h"

namespace platform {

namespace detail {

bool IsMachine64Bit(std::string_view machine) {
    // Every 64-bit Linux architecture carries "64" in its machine name except these two.
    return machine.find("64") != std::string_view::npos || machine == "s390x" || machine == "alpha";
}

}  // namespace detail

namespace {

bool QueryUname(utsname& names) {
    return ::uname(&names) == 0;
}

}  // namespace

std::optional<NtVersion> QueryNtVersion() {
    return std::nullopt;
}

bool IsServerR2() {
    return false;
}

bool Is64BitSystem() {
    utsname names{};
    return QueryUname(names) && detail::IsMachine64Bit(names.machine);
}

std::string OsReleaseText() {
    utsname names{};
    return QueryUname(names) ? names.release : "";
}

std::string OsFamilyName() {
    utsname names{};
    return QueryUname(names) && names.sysname[0] != '\0' ? names.sysname : "Linux";
}

}  // namespace platform
