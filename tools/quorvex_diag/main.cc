// quorvex-diag: shows support engineers what the installer sees on this machine.

#include <fmt/printf.h>

#include <string>
#include <vector>

#include "commands.h"

namespace {

constexpr diag::Command kCommands[] = {
    {"config", "[-key=value ...]", diag::RunConfig},
    {"os", "[folder]", diag::RunOs},
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
