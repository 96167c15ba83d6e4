#pragma once

// The installer side's small system services. Every function may run on any thread.
// Texts are UTF-8; code pages are named only where bytes of another encoding cross in or out.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/network.h"

namespace Utils {

// --- OS version name ---------------------------------------------------------------

struct OsVersionName {
    std::string family;   // "Windows"; on POSIX the OS family ("Linux")
    std::string version;  // "XP", "7", "10", "Server 2003 R2", ...; on POSIX the kernel release
};

// The running system's name. POSIX has no NT numbers: the kernel release text.
OsVersionName GetOsVersionName();

// The version text of the naming table for NT version numbers (pure).
std::string OsVersionText(uint32_t major, uint32_t minor, uint32_t build, bool serverR2);

// True for the systems whose version text contains "XP" ("XP-", "XP", "XP+") (pure).
bool IsXpClass(uint32_t major, uint32_t minor);

// --- Network -------------------------------------------------------------------------

// Connectivity flags in the low 16 bits, verdict shifted left by 16: 0 connected to the
// internet (or no network manager), 1 no connectivity, 2 a network without internet.
uint32_t CheckNetwork();

// The same for what the network manager said (nullopt: no manager), with the log lines.
uint32_t CheckNetwork(const std::optional<platform::Connectivity>& connectivity);

// --- Disk space ----------------------------------------------------------------------

class HardDiskManager {
public:
    virtual ~HardDiskManager() = default;

    // Fills the three fields for the volume of `folder`; false (after a log line) on failure.
    bool CheckFreeSpace(const std::string& folder);

    uint64_t freeBytesForCaller = 0;
    uint64_t totalBytes = 0;
    uint64_t totalFreeBytes = 0;
};

// --- Account facts ---------------------------------------------------------------------

bool GetConsoleUserName(std::string& name);
bool IsUserAdministrator(std::string_view userName);
bool IsProcessElevated();

// --- Files, folders, registry ------------------------------------------------------------

// The installer's temp folder (system temp + "~MarlixTemp.92482B06FB471E17" + separator),
// created one level deep when missing; empty when it cannot be created.
std::string GetInstallerTempFolder();

// Creates every missing folder of `path`; false for a path over 260 characters or at the
// first folder that can neither be found nor created.
bool CreateFolderTree(const std::string& path);

// Values under the installer's key "Software\MarlixSoft\Quorvex" of the current user.
inline constexpr std::string_view kRegistryKey = "Software\\MarlixSoft\\Quorvex";
bool WriteRegistryValue(std::string_view name, std::string_view value);
bool ReadRegistryValue(std::string_view name, std::string& value);

// --- Identifiers and texts ---------------------------------------------------------------

// A new GUID as 32 hexadecimal digits, upper case but for the third group.
std::string NewGuidText();

// The address's path segment before the last one ("…/abc/def/setup.exe" -> "def"); empty
// when the address has fewer than two "/".
std::string AddressDigestSegment(std::string_view address);

// Bytes of code page `codePage` to UTF-8 (the Windows build's "to wide"); empty on failure.
std::string ToUtf8(std::string_view bytes, uint32_t codePage);
// UTF-8 to bytes of code page `codePage` (the Windows build's "to narrow"); empty on failure.
std::string FromUtf8(std::string_view text, uint32_t codePage);

// Percent-encodes every byte outside 33..126 ("%XX", upper-case hex), a space as "+".
std::string EncodeAddress(std::string_view text);

// Removes space, tab, LF, VT, FF and CR at the end, then at the start.
std::string Trim(std::string_view text);

// Replaces every occurrence of `pattern`. A shorter replacement is searched again from the
// start, so runs collapse; a replacement as long as the pattern or longer is not searched
// again (that could go on forever). An empty pattern, or a replacement containing the
// pattern, returns `text` unchanged.
std::string ReplaceAll(std::string text, std::string_view pattern, std::string_view replacement);

std::string NumberToText(uint32_t value);

// (now - startTick) / 1000 when running, else 0.
float ElapsedSeconds(uint64_t startTickMs, bool running);

}  // namespace Utils
