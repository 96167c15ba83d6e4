#pragma once

// The installer's one configuration record. It is filled from the built-in defaults, then
// the INI file "MarlixInstallerConfig.ini" beside the executable (section "Install"), then
// the command line. Only the start-up sequence writes it; afterwards every thread reads it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os_facts.h"

namespace app {
class CommandLineOptions;
}

// The download service's address for the product's full package.
inline constexpr std::string_view kBuiltInDownloadUrl = "http://dl.marlix.example/software/370";

inline constexpr std::string_view kConfigFileName = "MarlixInstallerConfig.ini";
inline constexpr std::string_view kConfigSection = "Install";

struct InstallerConfig {
    std::string AppName = "Quorvex";
    std::string AppVersion = "1.7.9";
    std::string ExeName = "NULL";
    std::string DlAppNameSuffix = ".downloader";
    std::string DlAppVersion;
    std::string InstCmd;
    // The built-in address holds no "${ROUTE}" marker, so it needs no substitution.
    std::string DownloadUrl = std::string(kBuiltInDownloadUrl);
    // 2 the system downloader, 3 the multi-part downloader, else the single-stream one.
    int32_t DownloadType = 1;
    bool IsCheckNet = false;
    bool IsEnableAppAnalytics = true;
    // The download's share of the progress bar; the package installation fills the rest.
    double DownloadScale = 0.7;
    // Cleared when libcurl's global initialisation fails.
    bool CurlAvailable = true;
    int32_t Language = 0;
    bool InsNew = false;

    friend bool operator==(const InstallerConfig&, const InstallerConfig&) = default;

    // Defaults, then the INI file beside `executablePath`. `ntVersion` decides the route of
    // a "${ROUTE}" address (nullopt: not Windows).
    static InstallerConfig Load(const std::string& executablePath,
                                std::optional<platform::NtVersion> ntVersion);

    // Writes the fields that have an option, in the options' fixed order; an absent option
    // leaves its field as it is.
    void ApplyOptions(const app::CommandLineOptions& options,
                      std::optional<platform::NtVersion> ntVersion);

    // Reads the process's command line (`arguments` is argv) into the record.
    void ReadCommandLine(const std::vector<std::string>& arguments);
};

// Replaces every "${ROUTE}" in `address` by "download_silent_xp" on an XP-class Windows and
// by "download_silent" elsewhere (nullopt: not Windows).
std::string SubstituteRoute(std::string_view address, std::optional<platform::NtVersion> ntVersion);

// The process-wide record, loaded for the running executable on first use. The entry point
// touches it before anything else, so it is complete before start-up begins.
InstallerConfig& Config();
