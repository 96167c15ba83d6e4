#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/utsname.h>

#include <filesystem>

#include "app/scratch.h"
#include "app/utils.h"
#include "support/stderr_capture.h"

namespace {

using testapp::ScratchFolder;
using testing::EndsWith;
using testing::MatchesRegex;

TEST(OsVersionTextTest, NamingTable) {
    const struct {
        uint32_t major, minor, build;
        bool r2;
        const char* expected;
    } cases[] = {
        {0, 0, 0, false, "XP-"},  // numbers that could not be read
        {4, 90, 0, false, "XP-"},
        {5, 0, 2195, false, "2K"},
        {5, 1, 2600, false, "XP"},
        {5, 2, 3790, false, "Server 2003"},
        {5, 2, 3790, true, "Server 2003 R2"},
        {5, 3, 0, false, "XP+"},
        {5, 3, 0, true, "XP+"},  // R2 only names 5.2
        {6, 0, 6002, false, "Vista"},
        {6, 1, 7601, false, "7"},
        {6, 2, 9200, false, "8"},
        {6, 3, 9600, false, "8.1"},
        {6, 4, 0, false, "8.1+"},
        {10, 0, 19045, false, "10"},
        {10, 0, 22631, false, "10"},  // Windows 11 reports 10.0 too
        {10, 1, 0, false, "10+"},
        {7, 1, 7600, false, "7.1.7600"},  // unknown majors: major.minor.build
        {9, 0, 1, false, "9.0.1"},
        {11, 2, 65535, false, "11.2.65535"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utils::OsVersionText(c.major, c.minor, c.build, c.r2), c.expected)
            << c.major << "." << c.minor << "." << c.build << (c.r2 ? " R2" : "");
    }
}

TEST(OsVersionTextTest, XpClassIsExactlyTheNamesContainingXp) {
    for (uint32_t major = 0; major <= 12; ++major) {
        for (uint32_t minor = 0; minor <= 5; ++minor) {
            for (bool r2 : {false, true}) {
                const std::string name = Utils::OsVersionText(major, minor, 1, r2);
                EXPECT_EQ(Utils::IsXpClass(major, minor), name.find("XP") != std::string::npos)
                    << major << "." << minor << " " << name;
            }
        }
    }
}

TEST(OsVersionNameTest, PosixNamesTheKernelRelease) {
    utsname system{};
    ASSERT_EQ(uname(&system), 0);
    const Utils::OsVersionName name = Utils::GetOsVersionName();
    EXPECT_EQ(name.family, "Linux");
    EXPECT_EQ(name.version, system.release);
}

TEST(CheckNetworkTest, ManagerAnswersMapToFlagsAndVerdict) {
    const struct {
        const char* name;
        std::optional<platform::Connectivity> answer;
        uint32_t expected;
        const char* log;  // the message of the one log line, or nullptr for none
    } cases[] = {
        {"no network manager", std::nullopt, 0, nullptr},
        {"no connectivity", platform::Connectivity{0, false}, 1u << 16, "GetConnectivity 0"},
        {"local network only",
         platform::Connectivity{platform::kConnectivityIpv4LocalNetwork, false},
         platform::kConnectivityIpv4LocalNetwork | (2u << 16), "get_IsConnectedToInternet:0"},
        {"internet", platform::Connectivity{platform::kConnectivityIpv4Internet, true},
         platform::kConnectivityIpv4Internet, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string log;
        {
            testsupport::StderrCapture capture;
            EXPECT_EQ(Utils::CheckNetwork(c.answer), c.expected);
            log = capture.Text();
        }
        if (c.log == nullptr) {
            EXPECT_EQ(log, "");
        } else {
            // Written without a line break, under the name of the check.
            EXPECT_THAT(
                log,
                MatchesRegex(std::string(R"(<P.*\(Utils::CheckNetwork\)<[0-9]{4}>: )") + c.log));
        }
    }
}

TEST(CheckNetworkTest, RealCheckGivesAKnownVerdict) {
    EXPECT_LE(Utils::CheckNetwork() >> 16, 2u);
}

TEST(CheckFreeSpaceTest, FillsTheFieldsForAnExistingFolder) {
    ScratchFolder folder;
    Utils::HardDiskManager disk;
    ASSERT_TRUE(disk.CheckFreeSpace(folder.Path()));
    EXPECT_GT(disk.totalBytes, 0u);
    EXPECT_LE(disk.freeBytesForCaller, disk.totalFreeBytes);
    EXPECT_LE(disk.totalFreeBytes, disk.totalBytes);
}

TEST(CheckFreeSpaceTest, MissingFolderFailsWithTheSystemCode) {
    ScratchFolder folder;
    Utils::HardDiskManager disk;
    testsupport::StderrCapture capture;
    EXPECT_FALSE(disk.CheckFreeSpace(folder / "missing"));
    EXPECT_THAT(capture.Text(), EndsWith("HardDiskManager::CheckFreeSpace FAIL code=2\r\n"));
    EXPECT_EQ(disk.totalBytes, 0u);
}

TEST(AccountFactsTest, ConsoleUserAndElevationAreConsistent) {
    std::string user;
    if (Utils::GetConsoleUserName(user)) {
        EXPECT_FALSE(user.empty());
    }
    EXPECT_EQ(Utils::IsProcessElevated(), geteuid() == 0);
    EXPECT_FALSE(Utils::IsUserAdministrator(""));
    EXPECT_TRUE(Utils::IsUserAdministrator("root"));
}

}  // namespace
