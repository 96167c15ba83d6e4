#pragma once

#include <string>

namespace platform {

// Full path of the running executable (POSIX: /proc/self/exe); empty when unknown.
std::string ExecutablePath();

}  // namespace platform
