#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/child_program.h"
#include "platform/executable.h"
#include "platform/os_facts.h"
#include "platform/posix/machine_arch.h"

namespace {

namespace fs = std::filesystem;

TEST(OsFactsTest, MachineNamesOf64BitArchitectures) {
    struct Case {
        const char* machine;
        bool is64Bit;
    };
    const Case cases[] = {
        {"x86_64", true},  {"aarch64", true}, {"aarch64_be", true},  {"ppc64le", true},
        {"riscv64", true}, {"s390x", true},   {"loongarch64", true}, {"i686", false},
        {"armv7l", false}, {"armv8l", false},  // a 32-bit personality on a 64-bit ARM kernel
        {"s390", false},   {"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::detail::IsMachine64Bit(c.machine), c.is64Bit) << c.machine;
    }
}

TEST(OsFactsTest, ThisSystemIsLinuxAndNeverWindows) {
    EXPECT_FALSE(platform::QueryNtVersion().has_value());
    EXPECT_FALSE(platform::IsServerR2());
    EXPECT_EQ(platform::OsFamilyName(), "Linux");
    EXPECT_NE(platform::OsReleaseText().find('.'), std::string::npos) << platform::OsReleaseText();
    if (sizeof(void*) == 8) {
        EXPECT_TRUE(platform::Is64BitSystem()) << "a 64-bit process runs on a 64-bit system";
    }
}

TEST(ExecutablePathTest, NamesTheRunningProgram) {
    const fs::path path = platform::ExecutablePath();
    EXPECT_TRUE(path.is_absolute()) << path;
    EXPECT_EQ(path.filename(), "platform_tests");
    EXPECT_EQ(::access(path.c_str(), X_OK), 0);
}

TEST(ExecutablePathTest, APathLongerThanAFirstGuessComesBackWhole) {
    std::string pattern = (fs::temp_directory_path() / "exe-test-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path root = pattern;
    const fs::path folder = root / std::string(200, 'a') / std::string(200, 'b');
    fs::create_directories(folder);
    const fs::path copy = folder / "probe";
    fs::copy_file(PLATFORM_PROBE_PATH, copy);

    const platformtest::ChildResult result = platformtest::RunChild({copy.string(), "exe"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, copy.string());
    fs::remove_all(root);
}

}  // namespace
