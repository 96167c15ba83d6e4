// A program that starts the installer's tracker, reports some tasks and then crashes, with
// the installer's crash filter installed. Arguments: the collection endpoint, the number of
// task reports.

#include <csignal>
#include <string>

#include "app/installer_analytics.h"
#include "platform/crash_hook.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        return 2;
    }
    app::StartTracker(Config(), argv[1]);
    platform::InstallCrashHook([] { app::ReportCrashExit(); });
    for (int i = std::stoi(argv[2]); i > 0; --i) {
        app::ReportTask("开始下载大包", 0, "", {{app::kAbGroupKey, app::kStartUpAbGroup}});
    }
    std::raise(SIGSEGV);
    return 0;
}
