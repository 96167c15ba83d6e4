#pragma once

#include <cstdint>

namespace platform {

struct LocalTime {
    int year = 0;
    int month = 0;  // 1-12
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// The current local date and time with milliseconds.
LocalTime NowLocal();

// Milliseconds since an arbitrary fixed point (monotonic), like GetTickCount.
uint64_t TickCountMs();

}  // namespace platform
