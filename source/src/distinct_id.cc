#include "source/src/distinct_id.h"

#include <fmt/printf.h>

namespace marlix::tracking {

std::string FormatDistinctId(const platform::Guid& guid) {
    const uint8_t* d = guid.data4;
    return fmt::sprintf("%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", guid.data1, guid.data2,
                        guid.data3, d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7]);
}

std::string NewDistinctId(const GuidSource& source) {
    source();
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (const std::optional<platform::Guid> guid = source()) {
            return FormatDistinctId(*guid);
        }
    }
    // Seeded from the system's random source: a fixed seed would give every device that gets
    // here the same id.
    std::random_device randomSource;
    std::mt19937 generator(randomSource());
    return RandomDistinctId(generator);
}

std::string NewDistinctId() {
    return NewDistinctId([] { return std::optional<platform::Guid>(platform::NewGuid()); });
}

std::string RandomDistinctId(std::mt19937& generator) {
    std::uniform_int_distribution<uint32_t> draw(0, 2147483646);
    uint32_t n[8];
    for (uint32_t& value : n) {
        value = draw(generator);
    }
    return fmt::sprintf("%x%x-%x-%x-%x-%x%x%x", n[0], n[1], n[2], (n[3] & 0xFFF) | 0x4000,
                        (n[4] % 0x3FFF) + 0x8000, n[5], n[6], n[7]);
}

}  // namespace marlix::tracking
