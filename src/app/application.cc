#include "app/application.h"

#include <curl/curl.h>

#include "app/installer_config.h"
#include "platform/crash_hook.h"

namespace app {
namespace {

// Runs on the crashing thread, before the system ends the process.
void ReportCrash() {
    if (!Config().IsEnableAppAnalytics) {
        return;
    }
    // The tracker issue reports "崩溃退出" and the tracker's crash event "崩溃" here.
}

}  // namespace

bool SingleInstance::Take() {
    if (!lock_) {
        lock_ = platform::InstanceLock::TryAcquire(LockName());
    }
    return Held();
}

std::string SingleInstance::LockName() const {
    return std::string(kInstanceLockPrefix) + baseName_;
}

int RunInstaller(const std::vector<std::string>& arguments) {
    // Defaults and the INI file are in place before anything else runs.
    InstallerConfig& config = Config();

    // Hardening the DLL search order has no POSIX counterpart: the dynamic loader never
    // searches the current folder.

    platform::InstallCrashHook(&ReportCrash);

    if (curl_global_init(CURL_GLOBAL_ALL) != CURLE_OK) {
        // Only the multi-part downloader needs libcurl's global state; the run goes on.
        config.CurlAvailable = false;
        // The tracker issue reports "libcurl初始化失败" here.
    }

    SingleInstance instance;
    if (!instance.Take()) {
        curl_global_cleanup();
        return -1;
    }

    // Read before the tracker starts, so that its switch, name suffix and version options
    // reach it.
    config.ReadCommandLine(arguments);

    // The analytics tracker starts here when IsEnableAppAnalytics is set (tracker issue).

    // The UI framework is set up and the main window runs modally here (main-window issue).

    // Shut-down. The tracker is released here whenever one was created (tracker issue),
    // then the main window object is destroyed (main-window issue): it owns the install
    // driver and its transfers, so it goes before libcurl's clean-up.
    curl_global_cleanup();
    instance.Release();
    return 0;
}

}  // namespace app
