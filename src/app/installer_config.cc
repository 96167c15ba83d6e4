#include "app/installer_config.h"

#include <filesystem>
#include <system_error>

#include "app/command_line_options.h"
#include "app/utils.h"
#include "platform/executable.h"
#include "platform/files.h"
#include "platform/ini_profile.h"

namespace {

std::string ReadIni(const std::filesystem::path& file, std::string_view key,
                    std::string_view defaultValue) {
    return platform::ini::GetString(file, kConfigSection, key, defaultValue);
}

void ApplyIniFile(InstallerConfig& config, const std::filesystem::path& file,
                  std::optional<platform::NtVersion> ntVersion) {
    config.DownloadUrl =
        SubstituteRoute(ReadIni(file, "DownloadUrl", kBuiltInDownloadUrl), ntVersion);
    config.DownloadType = app::ParseInteger(ReadIni(file, "DownloadType", "1"));
    // A present file without the key switches the network check on.
    config.IsCheckNet = app::ParseBool(ReadIni(file, "IsCheckNet", "true"));
    config.IsEnableAppAnalytics = app::ParseBool(ReadIni(file, "IsEnableAppAnalytics", "true"));
    config.DlAppNameSuffix = ReadIni(file, "DlAppNameSuffix", ".downloader");
    config.DlAppVersion = ReadIni(file, "m_DlAppVersion", "");
    config.DownloadScale = app::ParseDouble(ReadIni(file, "DownloadScale", "0.7")).value_or(0.0);
    config.InstCmd = ReadIni(file, "InstCmd", "");
}

}  // namespace

InstallerConfig InstallerConfig::Load(const std::string& executablePath,
                                      std::optional<platform::NtVersion> ntVersion) {
    InstallerConfig config;
    const size_t separator = executablePath.rfind(platform::kPathSeparator);
    if (separator != std::string::npos) {
        config.ExeName = executablePath.substr(separator + 1);
        std::string iniPath = executablePath.substr(0, separator + 1);
        iniPath.append(kConfigFileName);
        std::error_code error;
        if (std::filesystem::exists(iniPath, error)) {
            ApplyIniFile(config, iniPath, ntVersion);
        }
    }
    const InstallerConfig defaults;
    config.AppName = defaults.AppName;
    config.AppVersion = defaults.AppVersion;
    return config;
}

void InstallerConfig::ApplyOptions(const app::CommandLineOptions& options,
                                   std::optional<platform::NtVersion> ntVersion) {
    if (auto url = options.Text("-downloadurl")) {
        DownloadUrl = SubstituteRoute(*url, ntVersion);
    }
    DownloadType = options.Integer("-downloadtype").value_or(DownloadType);
    // An unusable scale keeps the current one: the progress display multiplies by it.
    DownloadScale = options.Double("-downloadscale").value_or(DownloadScale);
    IsCheckNet = options.Bool("-ischecknet").value_or(IsCheckNet);
    IsEnableAppAnalytics = options.Bool("-isenableappanalytics").value_or(IsEnableAppAnalytics);
    DlAppNameSuffix = options.Text("-dlappnamesuffix").value_or(DlAppNameSuffix);
    DlAppVersion = options.Text("-dlappversion").value_or(DlAppVersion);
    InstCmd = options.Text("-instcmd").value_or(InstCmd);
    Language = options.Integer("-language").value_or(Language);
    InsNew = options.Bool("-insnew").value_or(InsNew);
}

void InstallerConfig::ReadCommandLine(const std::vector<std::string>& arguments) {
    ApplyOptions(app::CommandLineOptions(arguments), platform::QueryNtVersion());
}

std::string SubstituteRoute(std::string_view address,
                            std::optional<platform::NtVersion> ntVersion) {
    const bool xpClass = ntVersion && Utils::IsXpClass(ntVersion->major, ntVersion->minor);
    return Utils::ReplaceAll(std::string(address), "${ROUTE}",
                             xpClass ? "download_silent_xp" : "download_silent");
}

InstallerConfig& Config() {
    static InstallerConfig config =
        InstallerConfig::Load(platform::ExecutablePath(), platform::QueryNtVersion());
    return config;
}
