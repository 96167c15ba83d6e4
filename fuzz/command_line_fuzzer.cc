// Any command line: splitting and applying it never faults, and the progress split stays a
// finite number whatever "-downloadscale" says.

#include <cmath>
#include <cstdlib>
#include <string>

#include "app/command_line_options.h"
#include "app/installer_config.h"
#include "platform/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string commandLine(reinterpret_cast<const char*>(data), size);
    const auto arguments = platform::SplitCommandLine(commandLine);

    InstallerConfig config;
    config.ApplyOptions(app::CommandLineOptions(arguments), std::nullopt);
    if (!std::isfinite(config.DownloadScale)) {
        std::abort();
    }
    return 0;
}
