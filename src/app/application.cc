#include "app/application.h"

#include <curl/curl.h>

#include "app/installer_analytics.h"
#include "app/installer_config.h"
#include "platform/crash_hook.h"

namespace app {

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

    // Runs on the crashing thread, before the system ends the process.
    platform::InstallCrashHook(&ReportCrashExit);

    if (curl_global_init(CURL_GLOBAL_ALL) != CURLE_OK) {
        // Only the multi-part downloader needs libcurl's global state; the run goes on.
        // StartTracker reports the failure once the tracker exists.
        config.CurlAvailable = false;
    }

    SingleInstance instance;
    if (!instance.Take()) {
        curl_global_cleanup();
        return -1;
    }

    // Read before the tracker starts, so that its switch, name suffix and version options
    // reach it.
    config.ReadCommandLine(arguments);

    StartTracker(config);

    // The UI framework is set up and the main window runs modally here (main-window issue).

    // Shut-down. The tracker is released whenever one was created, then the main window
    // object is destroyed (main-window issue): it owns the install driver and its
    // transfers, so it goes before libcurl's clean-up.
    StopTracker();
    curl_global_cleanup();
    instance.Release();
    return 0;
}

}  // namespace app
