#pragma once

// The subcommands of quorvex-diag. Each lives in its own file and is listed once in the
// table of main.cc; a subcommand writes its report to standard output.

#include <string>
#include <string_view>
#include <vector>

namespace diag {

// Gets the arguments after the subcommand's name; returns the process's exit code.
using CommandFunction = int (*)(const std::vector<std::string>& arguments);

struct Command {
    std::string_view name;
    std::string_view usage;  // the arguments, for the usage text
    CommandFunction run;
};

// Exit code for a malformed command line.
inline constexpr int kUsageError = 2;

int RunConfig(const std::vector<std::string>& arguments);
int RunOs(const std::vector<std::string>& arguments);
int RunLayout(const std::vector<std::string>& arguments);
int RunRender(const std::vector<std::string>& arguments);
int RunShow(const std::vector<std::string>& arguments);
int RunDownload(const std::vector<std::string>& arguments);
int RunInstall(const std::vector<std::string>& arguments);
int RunTrack(const std::vector<std::string>& arguments);

}  // namespace diag
