// quorvex-diag config: the configuration record as the installer resolves it here.

#include <fmt/printf.h>

#include "app/installer_config.h"
#include "commands.h"

namespace diag {
namespace {

const char* BoolText(bool value) {
    return value ? "true" : "false";
}

}  // namespace

int RunConfig(const std::vector<std::string>& arguments) {
    InstallerConfig& config = Config();
    config.ReadCommandLine(arguments);

    fmt::printf("AppName=%s\n", config.AppName);
    fmt::printf("AppVersion=%s\n", config.AppVersion);
    fmt::printf("ExeName=%s\n", config.ExeName);
    fmt::printf("DlAppNameSuffix=%s\n", config.DlAppNameSuffix);
    fmt::printf("DlAppVersion=%s\n", config.DlAppVersion);
    fmt::printf("InstCmd=%s\n", config.InstCmd);
    fmt::printf("DownloadUrl=%s\n", config.DownloadUrl);
    fmt::printf("DownloadType=%d\n", config.DownloadType);
    fmt::printf("IsCheckNet=%s\n", BoolText(config.IsCheckNet));
    fmt::printf("IsEnableAppAnalytics=%s\n", BoolText(config.IsEnableAppAnalytics));
    fmt::printf("DownloadScale=%g\n", config.DownloadScale);
    fmt::printf("CurlAvailable=%s\n", BoolText(config.CurlAvailable));
    fmt::printf("Language=%d\n", config.Language);
    fmt::printf("InsNew=%s\n", BoolText(config.InsNew));
    return 0;
}

}  // namespace diag
