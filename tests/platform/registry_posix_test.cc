#include "platform/registry.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/scratch_env.h"

namespace {

namespace registry = platform::registry;
using platformtest::ReadFile;
using platformtest::ScopedEnv;
using platformtest::ScratchFolder;

constexpr const char* kKey = "Software\\MarlixSoft\\Quorvex";

TEST(RegistryTest, ValuesReadBackExactlyAsWritten) {
    ScratchFolder config;
    ScopedEnv xdg("XDG_CONFIG_HOME", config.Path().string());
    const std::string values[] = {
        "/opt/My Apps/Quorvex",
        "/home/用户/Quorvex",
        "",
        // The INI layer drops blanks at the ends and one pair of quotes; the store keeps them.
        "  padded  ",
        "\"quoted\"",
        "'single'",
        "a=b;c",
    };
    for (const std::string& value : values) {
        ASSERT_TRUE(registry::WriteString(kKey, "InstallPath", value)) << value;
        std::string read = "unchanged";
        ASSERT_TRUE(registry::ReadString(kKey, "InstallPath", read)) << value;
        EXPECT_EQ(read, value);
    }
    EXPECT_TRUE(std::filesystem::is_regular_file(config / "MarlixSoft/Quorvex/registry.ini"));
}

TEST(RegistryTest, StoreLivesUnderHomeConfigWithoutXdgConfigHome) {
    ScratchFolder home;
    ScopedEnv homeVariable("HOME", home.Path().string());
    ScopedEnv xdg("XDG_CONFIG_HOME", std::nullopt);
    ASSERT_TRUE(registry::WriteString(kKey, "UnInstallEp", "/opt/Quorvex/uninst.ep"));
    EXPECT_EQ(ReadFile(home / ".config/MarlixSoft/Quorvex/registry.ini"),
              "[Values]\nUnInstallEp=\"/opt/Quorvex/uninst.ep\"\n");
}

TEST(RegistryTest, MissingKeyOrValueLeavesTheOutputUnchanged) {
    ScratchFolder config;
    ScopedEnv xdg("XDG_CONFIG_HOME", config.Path().string());
    std::string value = "keep";
    EXPECT_FALSE(registry::ReadString(kKey, "InstallPath", value));
    EXPECT_EQ(value, "keep");

    ASSERT_TRUE(registry::WriteString(kKey, "InstallPath", "/x"));
    EXPECT_FALSE(registry::ReadString(kKey, "UnInstallEp", value));
    EXPECT_EQ(value, "keep");
}

TEST(RegistryTest, ValueNamesIgnoreLetterCaseAndAWriteReplacesTheValue) {
    ScratchFolder config;
    ScopedEnv xdg("XDG_CONFIG_HOME", config.Path().string());
    ASSERT_TRUE(registry::WriteString(kKey, "InstallPath", "/first"));
    ASSERT_TRUE(registry::WriteString(kKey, "INSTALLPATH", "/second"));
    std::string value;
    ASSERT_TRUE(registry::ReadString(kKey, "installpath", value));
    EXPECT_EQ(value, "/second");
}

TEST(RegistryTest, KeysThatWouldLeaveTheConfigFolderAreRefused) {
    ScratchFolder config;
    ScopedEnv xdg("XDG_CONFIG_HOME", (config / "cfg").string());
    const char* keys[] = {"Software\\..\\..\\escape", "Software\\a\\\\b", "Software\\a/b",
                          "Software\\", "Software\\a\\."};
    for (const char* key : keys) {
        EXPECT_FALSE(registry::WriteString(key, "Name", "v")) << key;
        std::string value = "keep";
        EXPECT_FALSE(registry::ReadString(key, "Name", value)) << key;
    }
    EXPECT_FALSE(std::filesystem::exists(config / "escape"));
}

TEST(RegistryTest, ValuesWithLineBreaksAreRefused) {
    ScratchFolder config;
    ScopedEnv xdg("XDG_CONFIG_HOME", config.Path().string());
    EXPECT_FALSE(registry::WriteString(kKey, "InstallPath", "/a\n[Values]\nUnInstallEp=/evil"));
    std::string value = "keep";
    EXPECT_FALSE(registry::ReadString(kKey, "UnInstallEp", value));
}

}  // namespace
