#include "platform/known_folders.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/scratch_env.h"

namespace {

namespace folders = platform::folders;
using platformtest::ScopedEnv;
using platformtest::ScratchFolder;

TEST(KnownFoldersTest, FoldersFollowTheEnvironment) {
    struct Case {
        const char* name;
        std::optional<std::string> appData;
        std::optional<std::string> xdgConfig;
        std::optional<std::string> xdgData;
        std::function<std::string()> folder;
        std::string expected;  // "~" stands for the test's HOME
    };
    const Case cases[] = {
        {"APPDATA wins", "/w/AppData/Roaming/", "/xdg/config", std::nullopt,
         folders::RoamingAppData, "/w/AppData/Roaming"},
        {"empty APPDATA counts as unset", "", "/xdg/config", std::nullopt, folders::RoamingAppData,
         "/xdg/config"},
        {"roaming without APPDATA or XDG", std::nullopt, std::nullopt, std::nullopt,
         folders::RoamingAppData, "~/.config"},
        // The base directory rules ignore relative values.
        {"relative XDG_CONFIG_HOME ignored", std::nullopt, "rel/config", std::nullopt,
         folders::RoamingAppData, "~/.config"},
        {"local from XDG_DATA_HOME", std::nullopt, std::nullopt, "/xdg/data//",
         folders::LocalAppData, "/xdg/data"},
        {"local below HOME", std::nullopt, std::nullopt, std::nullopt, folders::LocalAppData,
         "~/.local/share"},
        {"common documents below HOME", "/w/AppData", std::nullopt, std::nullopt,
         folders::CommonDocuments, "~/Documents"},
        {"program files", std::nullopt, std::nullopt, std::nullopt, folders::ProgramFiles,
         geteuid() == 0 ? "/opt" : "~/.local/opt"},
    };
    ScratchFolder home;
    ScopedEnv homeVariable("HOME", home.Path().string() + "/");
    for (const Case& c : cases) {
        ScopedEnv appData("APPDATA", c.appData);
        ScopedEnv xdgConfig("XDG_CONFIG_HOME", c.xdgConfig);
        ScopedEnv xdgData("XDG_DATA_HOME", c.xdgData);
        std::string expected = c.expected;
        if (expected.starts_with("~")) {
            expected.replace(0, 1, home.Path().string());
        }
        EXPECT_EQ(c.folder(), expected) << c.name;
    }
}

TEST(KnownFoldersTest, CommonDocumentsIsCreatedWhenMissing) {
    ScratchFolder home;
    ScopedEnv homeVariable("HOME", home.Path().string());
    ASSERT_FALSE(std::filesystem::exists(home / "Documents"));
    EXPECT_EQ(folders::CommonDocuments(), (home / "Documents").string());
    EXPECT_TRUE(std::filesystem::is_directory(home / "Documents"));
}

TEST(KnownFoldersTest, SystemTempEndsWithOneSeparator) {
    struct Case {
        std::optional<std::string> tmpdir;
        std::string expected;
    };
    const Case cases[] = {
        {"/var/tmp/x", "/var/tmp/x/"},
        {"/var/tmp/x//", "/var/tmp/x/"},
        {"", "/tmp/"},
        {std::nullopt, "/tmp/"},
    };
    for (const Case& c : cases) {
        ScopedEnv tmpdir("TMPDIR", c.tmpdir);
        EXPECT_EQ(folders::SystemTemp(), c.expected) << c.tmpdir.value_or("(unset)");
    }
}

}  // namespace
