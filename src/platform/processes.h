#pragma once

#include <string_view>

namespace platform {

// The id of the first running process whose program file name (name and extension, no
// folder) equals `name` the way this system compares file names; 0 when there is none or
// the process list cannot be read. POSIX: every process in /proc, named by the target of
// /proc/PID/exe or, where that cannot be read (another user's process), by argv[0]; a
// process that has ended but was not yet reaped no longer counts. Any thread.
int FindProcessByName(std::string_view name);

}  // namespace platform
