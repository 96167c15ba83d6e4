// quorvex-diag track: sends the installer's analytics events to a chosen collection
// endpoint, through the tracker the installer itself creates and releases.

#include <curl/curl.h>
#include <fmt/printf.h>

#include <optional>
#include <string>
#include <string_view>

#include "app/installer_analytics.h"
#include "app/installer_config.h"
#include "commands.h"

namespace diag {
namespace {

constexpr char kUsage[] = "usage: quorvex-diag track --server=URL [--events=N] [-key=value ...]\n";
constexpr int kMaxEvents = 100000;

struct TrackArguments {
    std::string server;
    int events = 1;
    std::vector<std::string> options;  // the installer's own command line
};

std::optional<int> ParseCount(const std::string& text) {
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != text.npos) {
        return std::nullopt;
    }
    const int count = std::stoi(text);
    return count <= kMaxEvents ? std::optional<int>(count) : std::nullopt;
}

std::optional<TrackArguments> ParseArguments(const std::vector<std::string>& arguments) {
    constexpr std::string_view kServer = "--server=";
    constexpr std::string_view kEvents = "--events=";
    TrackArguments parsed;
    for (const std::string& argument : arguments) {
        if (argument.compare(0, kServer.size(), kServer) == 0) {
            parsed.server = argument.substr(kServer.size());
        } else if (argument.compare(0, kEvents.size(), kEvents) == 0) {
            const std::optional<int> count = ParseCount(argument.substr(kEvents.size()));
            if (!count) {
                return std::nullopt;
            }
            parsed.events = *count;
        } else if (argument.compare(0, 2, "--") == 0) {
            return std::nullopt;
        } else {
            parsed.options.push_back(argument);
        }
    }
    if (parsed.server.empty()) {
        return std::nullopt;
    }
    return parsed;
}

}  // namespace

int RunTrack(const std::vector<std::string>& arguments) {
    const std::optional<TrackArguments> parsed = ParseArguments(arguments);
    if (!parsed) {
        fmt::fprintf(stderr, "%s", kUsage);
        return kUsageError;
    }
    // The installer's start-up order: libcurl, the command line, then the tracker.
    InstallerConfig& config = Config();
    if (curl_global_init(CURL_GLOBAL_ALL) != CURLE_OK) {
        config.CurlAvailable = false;
    }
    config.ReadCommandLine(parsed->options);
    app::StartTracker(config, parsed->server);

    const app::AnalyticsProperties group = {{app::kAbGroupKey, app::kStartUpAbGroup}};
    for (int i = 0; i < parsed->events; ++i) {
        app::ReportTask("开始下载大包", 0, "", group);
    }
    app::ReportClick("立即安装", group);
    app::ReportView(group);

    // The shut-down's release uploads what is pending before it returns.
    app::StopTracker();
    curl_global_cleanup();
    return 0;
}

}  // namespace diag
