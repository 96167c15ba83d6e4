#pragma once

// Runs a program as a real child process for the platform tests and collects its result.

#include <string>
#include <vector>

namespace platformtest {

struct ChildResult {
    int exitCode = -1;   // -1 when the child did not exit normally or could not start
    std::string output;  // its standard output
};

// Runs `argv` (argv[0] is the program's path) with this process's environment plus
// `extraEnvironment` ("NAME=value" entries, which win over inherited ones) and waits for it.
ChildResult RunChild(const std::vector<std::string>& argv,
                     const std::vector<std::string>& extraEnvironment = {});

}  // namespace platformtest
