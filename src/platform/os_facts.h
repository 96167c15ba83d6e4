#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// The NT version numbers of a Windows system.
struct NtVersion {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;  // low 16 bits only
};

// The running system's NT version numbers; nullopt when the system is not Windows
// (always on POSIX) or the numbers cannot be read.
std::optional<NtVersion> QueryNtVersion();

// True on a Windows Server 2003 R2 system (GetSystemMetrics(SM_SERVERR2)); false elsewhere.
bool IsServerR2();

// True when the operating system is 64-bit (on Windows: the 32-bit process runs under WOW64;
// on POSIX: the kernel's machine name, uname -m, is a 64-bit architecture).
bool Is64BitSystem();

// The kernel's release text (POSIX: uname -r); used as the OS version name off Windows.
std::string OsReleaseText();

// The operating system's family name as users know it (POSIX: uname -s, "Linux"; "Windows"
// there).
std::string OsFamilyName();

}  // namespace platform
