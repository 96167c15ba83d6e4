#include "source/src/os_names.h"

#include <gtest/gtest.h>

#include "platform/os_facts.h"

namespace {

using marlix::tracking::DescribeOs;
using marlix::tracking::TrackerOsVersionText;
using marlix::tracking::UserAgent;

struct VersionCase {
    uint32_t major, minor, build;
    bool is64Bit, serverR2;
    const char* expected;
};

TEST(TrackerOsVersionTextTest, NamesEveryRowOfTheTable) {
    const VersionCase cases[] = {
        {4, 90, 0, false, false, "XP-"},
        {0, 0, 0, true, false, "XP-"},
        {5, 0, 2195, false, false, "2K"},
        {5, 1, 2600, true, false, "XP"},
        {5, 2, 3790, true, true, "XP64"},  // 64-bit wins over the R2 metric
        {5, 2, 3790, false, true, "Server 2003 R2"},
        {5, 2, 3790, false, false, "Server 2003"},
        {5, 3, 0, false, false, "XP+"},
        {6, 0, 6002, true, false, "Vista64"},
        {6, 0, 6002, false, false, "Vista"},
        {6, 1, 7601, true, false, "7"},
        {6, 1, 7601, false, false, "7-32"},
        {6, 2, 9200, true, false, "8"},
        {6, 2, 9200, false, false, "8-32"},
        {6, 3, 9600, false, false, "8.1"},
        {6, 4, 0, true, false, "8.1+"},
        {10, 0, 19045, true, false, "10"},
        {10, 0, 21999, false, false, "10"},
        {10, 0, 22000, true, false, "11"},
        {10, 0, 22631, true, false, "11"},
        {10, 1, 0, true, false, "11+"},
        {7, 2, 1234, true, false, "7.2.1234"},
        {11, 0, 26100, true, false, "11.0.26100"},
        {12, 3, 0x12345, true, false, "12.3.9029"},  // only the low 16 bits of the build
    };
    for (const VersionCase& c : cases) {
        EXPECT_EQ(TrackerOsVersionText(c.major, c.minor, c.build, c.is64Bit, c.serverR2),
                  c.expected)
            << c.major << "." << c.minor << "." << c.build << " 64-bit=" << c.is64Bit;
    }
}

TEST(UserAgentTest, NamesTheSystemAndItsWordSize) {
    EXPECT_EQ(UserAgent("Windows", "10", true), "Mozilla/5.0(Windows 10; Win64;)");
    EXPECT_EQ(UserAgent("Windows", "7-32", false), "Mozilla/5.0(Windows 7-32; Win32;)");
}

TEST(DescribeOsTest, NamesTheRunningSystemByItsOwnFacts) {
    const auto os = DescribeOs();
    EXPECT_EQ(os.name, platform::OsFamilyName());
    EXPECT_EQ(os.version, platform::OsReleaseText());
    EXPECT_EQ(os.is64Bit, platform::Is64BitSystem());
    EXPECT_NE(os.name, "Windows");
}

}  // namespace
