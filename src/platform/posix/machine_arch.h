#pragma once

#include <string_view>

namespace platform::detail {

// Whether a kernel machine name (uname -m) names a 64-bit architecture: x86_64, aarch64,
// ppc64le, riscv64, s390x and the like. A 32-bit personality (i686, armv8l) is not 64-bit.
bool IsMachine64Bit(std::string_view machine);

}  // namespace platform::detail
