#include <gtest/gtest.h>

#include <filesystem>

#include "app/scratch.h"
#include "app/utils.h"

namespace {

namespace fs = std::filesystem;
using testapp::ScopedEnv;
using testapp::ScratchFolder;

TEST(TempFolderTest, CreatedOnceUnderTheSystemTemp) {
    ScratchFolder temp;
    ScopedEnv tmpdir("TMPDIR", temp.Path());
    const std::string expected = temp / "~MarlixTemp.92482B06FB471E17/";
    EXPECT_EQ(Utils::GetInstallerTempFolder(), expected);
    EXPECT_TRUE(fs::is_directory(expected));
    testapp::WriteTextFile(expected + "kept", "x");
    EXPECT_EQ(Utils::GetInstallerTempFolder(), expected);
    EXPECT_TRUE(fs::exists(expected + "kept"));
}

TEST(TempFolderTest, EmptyWhenItCannotBeCreated) {
    ScratchFolder temp;
    // Only one level is created: a missing system temp folder is a failure.
    ScopedEnv tmpdir("TMPDIR", temp / "missing");
    EXPECT_EQ(Utils::GetInstallerTempFolder(), "");
    // A file in the way is not a folder.
    ScopedEnv tmpdir2("TMPDIR", temp.Path());
    testapp::WriteTextFile(temp / "~MarlixTemp.92482B06FB471E17", "");
    EXPECT_EQ(Utils::GetInstallerTempFolder(), "");
}

// A path of exactly `length` code points below `base`, made of two-byte characters.
std::string PathOfLength(const std::string& base, size_t length) {
    std::string path = base + "/";
    size_t count = path.size();
    while (count < length) {
        path += (count % 100 == 99) ? "/" : "é";
        ++count;
    }
    return path;
}

TEST(CreateFolderTreeTest, CreatesEveryMissingLevel) {
    ScratchFolder root;
    const struct {
        const char* name;
        std::string path;
        bool expected;
        const char* created;  // a folder that must exist afterwards
    } cases[] = {
        {"trailing separator", root / "a/b/c/", true, "a/b/c"},
        {"no trailing separator", root / "d/e", true, "d/e"},
        {"existing tree", root / "a/b", true, "a/b"},
        {"doubled separator", root / "f//g", true, "f/g"},
        {"empty path", "", false, nullptr},
        {"a file in the way", root / "file/x/", false, nullptr},
        {"a file at the end", root / "file", false, nullptr},
    };
    testapp::WriteTextFile(root / "file", "data");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Utils::CreateFolderTree(c.path), c.expected);
        if (c.created != nullptr) {
            EXPECT_TRUE(fs::is_directory(root / c.created));
        }
    }
}

TEST(CreateFolderTreeTest, LengthLimitCountsCharactersNotBytes) {
    ScratchFolder root;
    const std::string longest = PathOfLength(root.Path(), 260);
    EXPECT_GT(longest.size(), 260u);
    EXPECT_TRUE(Utils::CreateFolderTree(longest));
    EXPECT_TRUE(fs::is_directory(longest));

    const std::string tooLong = PathOfLength(root / "x", 261);
    EXPECT_FALSE(Utils::CreateFolderTree(tooLong));
    EXPECT_FALSE(fs::exists(root / "x"));
}

class RegistryTest : public testing::Test {
  protected:
    ScratchFolder home_;
    ScopedEnv xdg_{"XDG_CONFIG_HOME", home_.Path()};
};

TEST_F(RegistryTest, ValuesReadBackAsWritten) {
    ASSERT_TRUE(Utils::WriteRegistryValue("InstallPath", "/opt/Quorvex 安装"));
    ASSERT_TRUE(Utils::WriteRegistryValue("UnInstallEp", ""));
    ASSERT_TRUE(Utils::WriteRegistryValue("InstallPath", "/opt/Quorvex"));
    std::string value;
    EXPECT_TRUE(Utils::ReadRegistryValue("InstallPath", value));
    EXPECT_EQ(value, "/opt/Quorvex");
    EXPECT_TRUE(Utils::ReadRegistryValue("UnInstallEp", value));
    EXPECT_EQ(value, "");
    EXPECT_TRUE(fs::exists(home_ / "MarlixSoft/Quorvex/registry.ini"));
}

TEST_F(RegistryTest, MissingValueLeavesTheOutputAlone) {
    std::string value = "before";
    EXPECT_FALSE(Utils::ReadRegistryValue("InstallPath", value));
    ASSERT_TRUE(Utils::WriteRegistryValue("Other", "x"));
    EXPECT_FALSE(Utils::ReadRegistryValue("InstallPath", value));
    EXPECT_EQ(value, "before");
}

}  // namespace
