#pragma once

// Where the tracker keeps its files, and the identity in its settings file.
//
// Files (appName is TrackerOptions::appName): the settings file appName + "_MXSConfigure.ini",
// the tracker log appName + "_MXSLog.txt" and the SDK's staging file appName +
// "_MXSStaging.txt", all in the tracker directory. A "Set.ini" beside the executable may name
// another settings file (section "Install", key "MXAnalyticsIni"); its folder then becomes the
// tracker directory. Paths use the system's separator.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace marlix::tracking {

struct TrackerPaths {
    std::string directory;     // ends with a separator
    std::string settingsPath;  // the settings file
};

// Resolves the tracker directory and the settings file for `appName`, creating the directory
// with its missing parents. `executablePath` locates the redirect file.
TrackerPaths ResolveTrackerPaths(const std::string& appName, const std::string& executablePath);

// directory + appName + "_" + suffix.
std::string TrackerFile(const TrackerPaths& paths, const std::string& appName,
                        const std::string& suffix);
inline constexpr char kSettingsSuffix[] = "MXSConfigure.ini";
inline constexpr char kLogSuffix[] = "MXSLog.txt";
inline constexpr char kStagingSuffix[] = "MXSStaging.txt";

// Creates every missing folder of `path` from its start (each prefix ending at a separator);
// stops at the first folder that cannot be created. False then.
bool CreateFolders(const std::string& path);

struct Identity {
    bool loggedIn = false;
    std::string userId;
    std::string distinctId;
    std::string primaryDistinctId;
    int32_t vipLevel = 0;
    std::string savedServerUrl;

    friend bool operator==(const Identity&, const Identity&) = default;
};

// Reads the identity from the settings file (values whole); a missing file gives an empty
// one. When no distinct id is stored, a new one is made and the identity written.
Identity LoadIdentity(const std::string& settingsPath);

// Writes the six "Base" keys in their fixed order.
void WriteIdentity(const std::string& settingsPath, const Identity& identity);

// Writes "AppStore", "AppName" and "AppVersion" into section "UninstallInfo".
void WriteApplicationKeys(const std::string& settingsPath, const std::string& appStore,
                          const std::string& appName, const std::string& appVersion);

// The tracker log: created empty when missing and held open for reading and appending until
// Close. The tracker writes no lines into it.
class NativeTrackLogger {
  public:
    // Opens `path` unless it is open already; false when it cannot be opened.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }

  private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, FileCloser> file_;
    std::string path_;
};

}  // namespace marlix::tracking
