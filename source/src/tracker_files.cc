#include "source/src/tracker_files.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "platform/files.h"
#include "platform/ini_profile.h"
#include "platform/os_facts.h"
#include "platform/known_folders.h"
#include "source/src/distinct_id.h"

namespace marlix::tracking {
namespace {

namespace ini = platform::ini;
constexpr char kSep = platform::kPathSeparator;
constexpr char kBase[] = "Base";

// Set.ini is written by hand or by other tools, so either separator may appear in it.
std::string WithSystemSeparators(std::string path) {
    for (char& c : path) {
        if (c == '/' || c == '\\') {
            c = kSep;
        }
    }
    return path;
}

std::string FolderOf(const std::string& path) {
    std::string folder = WithSystemSeparators(path);
    const size_t last = folder.rfind(kSep);
    if (last == std::string::npos) {
        folder.push_back(kSep);
    } else {
        folder.resize(last + 1);
    }
    return folder;
}

std::string RedirectedSettingsPath(const std::string& executablePath) {
    const std::string redirectFile = FolderOf(executablePath) + "Set.ini";
    std::error_code error;
    if (!std::filesystem::exists(redirectFile, error)) {
        return "";
    }
    return WithSystemSeparators(ini::GetString(redirectFile, "Install", "MXAnalyticsIni", ""));
}

// Windows 7 and later keep per-user data in the local application-data folder; older
// systems used the shared documents. A system that is not Windows is never an old Windows.
std::string BaseFolder() {
    const std::optional<platform::NtVersion> nt = platform::QueryNtVersion();
    bool local = nt ? (nt->major > 6 || (nt->major == 6 && nt->minor >= 1))
                    : platform::OsFamilyName() != "Windows";
    const std::string folder =
        local ? platform::folders::LocalAppData() : platform::folders::CommonDocuments();
    return folder.empty() ? "" : platform::folders::ShortPath(folder);
}

// GetPrivateProfileInt: an optional sign and the leading decimal digits; 0 without digits.
int32_t ReadInt(const std::string& file, const char* key) {
    const std::string text = ini::GetString(file, kBase, key, "");
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (end == text.c_str() || errno == ERANGE || value < INT32_MIN || value > INT32_MAX) {
        return 0;
    }
    return static_cast<int32_t>(value);
}

}  // namespace

bool CreateFolders(const std::string& path) {
    std::error_code error;
    for (size_t end = path.find(kSep, 1); end != std::string::npos;
         end = path.find(kSep, end + 1)) {
        const std::string prefix = path.substr(0, end);
        if (std::filesystem::is_directory(prefix, error)) {
            continue;
        }
        if (!std::filesystem::create_directory(prefix, error) &&
            !std::filesystem::is_directory(prefix, error)) {
            return false;
        }
    }
    return true;
}

TrackerPaths ResolveTrackerPaths(const std::string& appName, const std::string& executablePath) {
    TrackerPaths paths;
    paths.settingsPath = RedirectedSettingsPath(executablePath);
    if (!paths.settingsPath.empty() && paths.settingsPath.find(kSep) != std::string::npos) {
        paths.directory = FolderOf(paths.settingsPath);
        CreateFolders(paths.directory);
        return paths;
    }
    paths.directory = BaseFolder() + kSep + "MXLocal" + kSep;
    CreateFolders(paths.directory);
    paths.directory += appName + kSep;
    CreateFolders(paths.directory);
    paths.settingsPath = TrackerFile(paths, appName, kSettingsSuffix);
    return paths;
}

std::string TrackerFile(const TrackerPaths& paths, const std::string& appName,
                        const std::string& suffix) {
    return paths.directory + appName + "_" + suffix;
}

Identity LoadIdentity(const std::string& settingsPath) {
    Identity identity;
    std::error_code error;
    if (std::filesystem::exists(settingsPath, error)) {
        identity.distinctId = ini::GetString(settingsPath, kBase, "DistinctId", "");
        identity.primaryDistinctId = ini::GetString(settingsPath, kBase, "PrimaryDistinctId", "");
        if (identity.primaryDistinctId.empty()) {
            identity.primaryDistinctId = identity.distinctId;
        }
        identity.userId = ini::GetString(settingsPath, kBase, "UserId", "");
        identity.vipLevel = ReadInt(settingsPath, "UserVipLevel");
        identity.loggedIn = ini::GetString(settingsPath, kBase, "isLogined", "") == "OK";
        identity.savedServerUrl = ini::GetString(settingsPath, kBase, "URL", "");
    }
    if (identity.distinctId.empty()) {
        identity.distinctId = NewDistinctId();
        WriteIdentity(settingsPath, identity);
    }
    return identity;
}

void WriteIdentity(const std::string& settingsPath, const Identity& identity) {
    ini::WriteString(settingsPath, kBase, "DistinctId", identity.distinctId);
    ini::WriteString(settingsPath, kBase, "PrimaryDistinctId", identity.primaryDistinctId);
    ini::WriteString(settingsPath, kBase, "UserId", identity.userId);
    ini::WriteString(settingsPath, kBase, "UserVipLevel", std::to_string(identity.vipLevel));
    ini::WriteString(settingsPath, kBase, "URL", identity.savedServerUrl);
    ini::WriteString(settingsPath, kBase, "isLogined", identity.loggedIn ? "OK" : "NG");
}

void WriteApplicationKeys(const std::string& settingsPath, const std::string& appStore,
                          const std::string& appName, const std::string& appVersion) {
    ini::WriteString(settingsPath, "UninstallInfo", "AppStore", appStore);
    ini::WriteString(settingsPath, "UninstallInfo", "AppName", appName);
    ini::WriteString(settingsPath, "UninstallInfo", "AppVersion", appVersion);
}

bool NativeTrackLogger::Open(const std::string& path) {
    if (file_ && path == path_) {
        return true;
    }
    Close();
    // "a+" creates a missing file empty and never truncates an existing one.
    file_.reset(std::fopen(path.c_str(), "a+"));
    path_ = file_ ? path : "";
    return file_ != nullptr;
}

void NativeTrackLogger::Close() {
    file_.reset();
    path_.clear();
}

}  // namespace marlix::tracking
