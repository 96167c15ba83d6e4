// quorvex-diag install: one run of the install driver without the window, every report of
// it on standard output.

#include <curl/curl.h>
#include <fmt/printf.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "app/installer_config.h"
#include "app/utils.h"
#include "commands.h"
#include "download/download_codes.h"
#include "install/download_installer.h"
#include "install/install_codes.h"

namespace diag {
namespace {

constexpr char kUsage[] =
    "usage: quorvex-diag install --folder=DIR [--old-uninstaller=PATH] [--desktop=true|false]"
    " [--quicklaunch=true|false] [--language=CODE] [-key=value ...]\n";

struct InstallArguments {
    std::string folder;
    std::string oldUninstaller;
    bool desktop = true;
    bool quickLaunch = true;
    std::string language;
    std::vector<std::string> options;  // the installer's own command line
};

std::optional<bool> ParseBool(std::string_view text) {
    if (text == "true") {
        return true;
    }
    if (text == "false") {
        return false;
    }
    return std::nullopt;
}

// The value after `prefix` when `argument` starts with it.
std::optional<std::string> ValueOf(const std::string& argument, std::string_view prefix) {
    if (argument.compare(0, prefix.size(), prefix) != 0) {
        return std::nullopt;
    }
    return argument.substr(prefix.size());
}

std::optional<InstallArguments> ParseArguments(const std::vector<std::string>& arguments) {
    InstallArguments parsed;
    bool haveFolder = false;
    for (const std::string& argument : arguments) {
        if (auto value = ValueOf(argument, "--folder=")) {
            parsed.folder = *value;
            haveFolder = true;
        } else if (auto value = ValueOf(argument, "--old-uninstaller=")) {
            parsed.oldUninstaller = *value;
        } else if (auto value = ValueOf(argument, "--desktop=")) {
            const std::optional<bool> flag = ParseBool(*value);
            if (!flag) {
                return std::nullopt;
            }
            parsed.desktop = *flag;
        } else if (auto value = ValueOf(argument, "--quicklaunch=")) {
            const std::optional<bool> flag = ParseBool(*value);
            if (!flag) {
                return std::nullopt;
            }
            parsed.quickLaunch = *flag;
        } else if (auto value = ValueOf(argument, "--language=")) {
            parsed.language = *value;
        } else if (argument.compare(0, 2, "--") == 0) {
            return std::nullopt;
        } else {
            parsed.options.push_back(argument);
        }
    }
    if (!haveFolder) {
        return std::nullopt;
    }
    return parsed;
}

// Prints the reports as they come, on whichever thread sends them, and holds the exit code
// of the first report that ends the sequence.
class ReportPrinter {
  public:
    StatusCallback Callback() {
        return [this](int32_t code, double value, const std::string& text) {
            Print(code, value, text);
        };
    }

    int WaitForEnd() {
        std::unique_lock lock(mutex_);
        ended_.wait(lock, [this] { return exitCode_.has_value(); });
        return *exitCode_;
    }

  private:
    static std::optional<int> ExitCodeAfter(int32_t code) {
        switch (code) {
            case INSTALL_SUCCESS:
                return 0;
            case DL_CODE_FAIL:
            case IST_CODE_FAIL:
            case UNIST_CODE_FAIL:
            case UNIST_CODE_ERROR:
                return 1;
            default:
                return std::nullopt;
        }
    }

    void Print(int32_t code, double value, const std::string& text) {
        std::lock_guard lock(mutex_);
        // Reports after the end belong to no step the caller waits for.
        if (exitCode_) {
            return;
        }
        fmt::printf("%d\t%g\t%s\n", code, value, text);
        std::fflush(stdout);
        exitCode_ = ExitCodeAfter(code);
        if (exitCode_) {
            ended_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable ended_;
    std::optional<int> exitCode_;
};

int RunSequence(const InstallArguments& arguments) {
    InstallerConfig& config = Config();
    config.ReadCommandLine(arguments.options);

    std::string user;
    Utils::GetConsoleUserName(user);
    const bool consoleUserIsAdmin = Utils::IsUserAdministrator(user);

    ReportPrinter printer;
    // Destroyed before the printer: the driver's threads report into it until they end.
    CDownloadInstaller driver(printer.Callback(), config.DownloadUrl, arguments.oldUninstaller,
                              arguments.folder, arguments.desktop, arguments.quickLaunch,
                              consoleUserIsAdmin, DriverSettings::FromConfig(config));
    driver.SetParameters(config.DownloadUrl, arguments.oldUninstaller, arguments.folder,
                         arguments.desktop, arguments.quickLaunch, consoleUserIsAdmin,
                         Utils::IsProcessElevated(), arguments.language);
    driver.Start();
    return printer.WaitForEnd();
}

}  // namespace

int RunInstall(const std::vector<std::string>& arguments) {
    const std::optional<InstallArguments> parsed = ParseArguments(arguments);
    if (!parsed) {
        fmt::fprintf(stderr, "%s", kUsage);
        return kUsageError;
    }
    // As at the installer's start-up: only the multi-part downloader needs libcurl.
    if (curl_global_init(CURL_GLOBAL_ALL) != CURLE_OK) {
        Config().CurlAvailable = false;
    }
    const int exitCode = RunSequence(*parsed);
    curl_global_cleanup();
    return exitCode;
}

}  // namespace diag
