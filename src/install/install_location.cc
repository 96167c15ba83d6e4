#include "install/install_location.h"

#include <filesystem>
#include <system_error>

#include "app/utils.h"
#include "platform/environment.h"
#include "platform/executable.h"
#include "platform/files.h"
#include "platform/ini_profile.h"
#include "platform/path_compare.h"
#include "platform/known_folders.h"

namespace install {

namespace {

constexpr std::string_view kInstallPathValue = "InstallPath";
constexpr std::string_view kUninstallerValue = "UnInstallEp";
constexpr std::string_view kMakerFolder = "Vantorel";
// "IsOverride" is read into a buffer of 20 characters.
constexpr size_t kOverrideBufferChars = 20;

bool IsSeparator(char c) {
    return c == platform::kPathSeparator || c == '/';
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::exists(path, error);
}

std::string FileName(const std::string& path) {
    size_t at = path.size();
    while (at > 0 && !IsSeparator(path[at - 1])) {
        --at;
    }
    return path.substr(at);
}

}  // namespace

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && !IsSeparator(path.back())) {
        path.push_back(platform::kPathSeparator);
    }
    path.append(name);
    return path;
}

PreviousInstallation ReadPreviousInstallation() {
    PreviousInstallation previous;
    Utils::ReadRegistryValue(kInstallPathValue, previous.folder);
    Utils::ReadRegistryValue(kUninstallerValue, previous.uninstaller);
    if (previous.uninstaller.empty() && !previous.folder.empty()) {
        previous.uninstaller = JoinPath(previous.folder, kUninstallRecordName);
    }
    return previous;
}

AccountFlags ReadAccountFlags() {
    AccountFlags flags;
    std::string user;
    flags.consoleUserIsAdmin = Utils::GetConsoleUserName(user) && Utils::IsUserAdministrator(user);
    flags.processIsElevated = Utils::IsProcessElevated();
    return flags;
}

std::string ChooseDefaultInstallFolder(const PreviousInstallation& previous,
                                       const FolderFacts& facts) {
    if (!previous.folder.empty() && facts.previousUninstallerExists) {
        return previous.folder;
    }
    const bool underAppData =
        facts.account.consoleUserIsAdmin && facts.account.processIsElevated && facts.appData;
    const std::string base =
        underAppData ? JoinPath(*facts.appData, kMakerFolder) : facts.programFiles;
    return JoinPath(base, kProductName);
}

DefaultFolder DefaultInstallFolder(const PreviousInstallation& previous) {
    FolderFacts facts;
    facts.account = ReadAccountFlags();
    facts.previousUninstallerExists = FileExists(previous.uninstaller);
    facts.appData = platform::EnvironmentVariable("APPDATA");
    facts.programFiles = platform::folders::ProgramFiles();
    return {ChooseDefaultInstallFolder(previous, facts), facts.account};
}

bool SameFolder(std::string_view a, std::string_view b) {
    return platform::SameFolder(a, b);
}

std::string CustomInstallFolder(std::string_view typed, const std::string& defaultFolder) {
    if (SameFolder(typed, defaultFolder)) {
        return defaultFolder;
    }
    std::string folder(typed);
    if (platform::kPathSeparator != '/') {
        folder = Utils::ReplaceAll(folder, "/", std::string(1, platform::kPathSeparator));
    }
    return JoinPath(folder, kProductName);
}

bool KeepOldInstallation(const std::string& targetFolder, const PreviousInstallation& previous) {
    if (!SameFolder(targetFolder, previous.folder)) {
        return false;
    }
    const std::string isOverride =
        platform::ini::GetString(JoinPath(targetFolder, kSetIniName), "Uninstall", "IsOverride",
                                 "true", kOverrideBufferChars);
    return isOverride == "false";
}

void SaveInstallation(const std::string& targetFolder, std::string uninstallerRecord) {
    Utils::WriteRegistryValue(kInstallPathValue, targetFolder);
    if (uninstallerRecord.empty()) {
        uninstallerRecord = JoinPath(targetFolder, kUninstallRecordName);
    }
    if (FileExists(uninstallerRecord)) {
        Utils::WriteRegistryValue(kUninstallerValue, uninstallerRecord);
    }
}

void WriteSetIni(const std::string& targetFolder, const AnalyticsKeysWriter& analyticsKeys) {
    // The INI layer writes UTF-8 on POSIX, so the process-wide C locale needs no switch
    // before writing; the Windows build switches it on the window thread.
    const std::string setIni = JoinPath(targetFolder, kSetIniName);
    platform::ini::WriteString(setIni, "Install", "APPStore", FileName(platform::ExecutablePath()));
    platform::ini::WriteString(setIni, "Install", "AppName", kProductName);
    platform::ini::WriteString(setIni, "Install", "DeviceID", Utils::NewGuidText());
    if (analyticsKeys) {
        analyticsKeys(setIni);
    }
}

}  // namespace install
