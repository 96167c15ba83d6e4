// quorvex-diag: shows support engineers what the installer sees on this machine.

#include <fmt/printf.h>

#include <string>
#include <vector>

#include "commands.h"

namespace {

constexpr diag::Command kCommands[] = {
    {"config", "[-key=value ...]", diag::RunConfig},
    {"os", "[folder]", diag::RunOs},
    {"layout", "LAYOUT", diag::RunLayout},
    {"render",
     "LAYOUT OUT.png [--page=N] [--hot=NAME] [--pushed=NAME] [--tab=NAME=N] [--text=NAME=TEXT]"
     " [--value=NAME=N] [--visible=NAME=0|1] [--time=MS] [--no-shadow]",
     diag::RunRender},
    {"show", "LAYOUT [--page=N]", diag::RunShow},
    {"download", "TYPE URL TARGET", diag::RunDownload},
    {"install",
     "--folder=DIR [--old-uninstaller=PATH] [--desktop=true|false] [--quicklaunch=true|false]"
     " [--language=CODE] [-key=value ...]",
     diag::RunInstall},
    {"track", "--server=URL [--events=N] [-key=value ...]", diag::RunTrack},
};

int PrintUsage() {
    fmt::fprintf(stderr, "usage:\n");
    for (const diag::Command& command : kCommands) {
        fmt::fprintf(stderr, "  quorvex-diag %s %s\n", command.name, command.usage);
    }
    return diag::kUsageError;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return PrintUsage();
    }
    const std::string name = argv[1];
    for (const diag::Command& command : kCommands) {
        if (command.name == name) {
            return command.run(std::vector<std::string>(argv + 2, argv + argc));
        }
    }
    return PrintUsage();
}
