#pragma once

#include <string_view>

namespace platform {

// Hands one finished diagnostic line to the debugger output in a single call, so that
// lines written by different threads never interleave. POSIX: one write(2) to standard
// error. Never fails visibly.
void WriteDebugOutput(std::string_view line);

}  // namespace platform
