#pragma once

// Where the product is and was installed: the two registry values of the last successful
// installation, the default and custom install folders, the override rule of the installed
// copy's "set.ini", and the files written for the installed product. Every function may
// run on any thread; the window calls them on its own.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace install {

inline constexpr std::string_view kProductName = "Quorvex";
inline constexpr std::string_view kUninstallRecordName = "uninst.ep";
inline constexpr std::string_view kSetIniName = "set.ini";

struct PreviousInstallation {
    std::string folder;       // "InstallPath"; empty on a first installation
    std::string uninstaller;  // "UnInstallEp", else folder + "uninst.ep"; empty without folder
};

struct AccountFlags {
    bool consoleUserIsAdmin = false;  // handed to the package as "-adminact"
    bool processIsElevated = false;   // "-authorizationact"
};

// What the default install folder depends on.
struct FolderFacts {
    AccountFlags account;
    bool previousUninstallerExists = false;
    std::optional<std::string> appData;  // the environment variable APPDATA
    std::string programFiles;
};

struct DefaultFolder {
    std::string folder;
    AccountFlags account;
};

// Reads "InstallPath" and "UnInstallEp" of the installer's registry key.
PreviousInstallation ReadPreviousInstallation();

// The account facts of this process and of the user at the active console.
AccountFlags ReadAccountFlags();

// The previous folder while its uninstaller exists; else "Vantorel/Quorvex" under APPDATA
// for an administrator in an elevated process, "Quorvex" under the program files elsewhere.
std::string ChooseDefaultInstallFolder(const PreviousInstallation& previous,
                                       const FolderFacts& facts);

// ChooseDefaultInstallFolder() with the facts of this system, and the account flags.
DefaultFolder DefaultInstallFolder(const PreviousInstallation& previous);

// Whether two folder texts name the same folder (see platform::SameFolder).
bool SameFolder(std::string_view a, std::string_view b);

// The folder for a typed folder text: the default folder when the text names it, else
// "Quorvex" inside the typed folder. A result over 260 characters is returned whole; the
// folder creation refuses it.
std::string CustomInstallFolder(std::string_view typed, const std::string& defaultFolder);

// True when the old copy must not be uninstalled before installing into `targetFolder`:
// the target is the previous folder and its "set.ini" says [Uninstall] IsOverride=false.
bool KeepOldInstallation(const std::string& targetFolder, const PreviousInstallation& previous);

// After a successful installation: "InstallPath" = `targetFolder`; "UnInstallEp" = the
// uninstaller record the package reported (empty: the folder's "uninst.ep"), only when
// that file exists. Failed writes are not reported.
void SaveInstallation(const std::string& targetFolder, std::string uninstallerRecord);

// Writes the analytics keys for the product ("MXAnalyticsIni" into the given set.ini and
// what goes with it); supplied by the analytics side.
using AnalyticsKeysWriter = std::function<void(const std::string& setIniPath)>;

// Writes "APPStore", "AppName" and a new "DeviceID" into section "Install" of
// `targetFolder`/set.ini, keeping the rest of the file, then hands the file to
// `analyticsKeys` when given.
void WriteSetIni(const std::string& targetFolder, const AnalyticsKeysWriter& analyticsKeys = {});

// `folder` and `name` joined by one separator.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace install
