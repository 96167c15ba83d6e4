#include "platform/guid.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <set>

namespace {

std::array<uint8_t, 16> Bytes(const platform::Guid& guid) {
    std::array<uint8_t, 16> bytes{};
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<uint8_t>(guid.data1 >> (24 - 8 * i));
    }
    bytes[4] = static_cast<uint8_t>(guid.data2 >> 8);
    bytes[5] = static_cast<uint8_t>(guid.data2);
    bytes[6] = static_cast<uint8_t>(guid.data3 >> 8);
    bytes[7] = static_cast<uint8_t>(guid.data3);
    std::memcpy(&bytes[8], guid.data4, 8);
    return bytes;
}

TEST(GuidTest, RandomVersionFourWithTheStandardVariantAndNoRepeats) {
    constexpr int kCount = 2000;
    std::set<std::array<uint8_t, 16>> seen;
    std::array<uint8_t, 16> everSet{};
    std::array<uint8_t, 16> everClear{};
    for (int i = 0; i < kCount; ++i) {
        const platform::Guid guid = platform::NewGuid();
        EXPECT_EQ(guid.data3 >> 12, 4);
        EXPECT_EQ(guid.data4[0] >> 6, 0b10);
        const auto bytes = Bytes(guid);
        seen.insert(bytes);
        for (size_t b = 0; b < bytes.size(); ++b) {
            everSet[b] |= bytes[b];
            everClear[b] |= static_cast<uint8_t>(~bytes[b]);
        }
    }
    EXPECT_EQ(seen.size(), static_cast<size_t>(kCount));
    // Every bit outside the fixed version and variant bits takes both values.
    for (size_t b = 0; b < everSet.size(); ++b) {
        const uint8_t fixed = b == 6 ? 0xF0 : b == 8 ? 0xC0 : 0x00;
        EXPECT_EQ(everSet[b] & everClear[b] & ~fixed & 0xFF, ~fixed & 0xFF) << "byte " << b;
    }
}

}  // namespace
