#pragma once

#include <cstdint>

namespace platform {

// A GUID in its Windows field layout.
struct Guid {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    uint8_t data4[8] = {};
};

// A new random (version 4) GUID; POSIX: 16 bytes from getrandom.
Guid NewGuid();

}  // namespace platform
