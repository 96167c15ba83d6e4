#include "install/install_location.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/utils.h"
#include "install/install_test_support.h"
#include "platform/ini_profile.h"
#include "platform/known_folders.h"

namespace {

using install::AccountFlags;
using install::ChooseDefaultInstallFolder;
using install::FolderFacts;
using install::PreviousInstallation;
using insttest::FileExists;
using insttest::Sandbox;

TEST(DefaultInstallFolder, DependsOnAccountAppDataAndThePreviousInstallation) {
    struct Case {
        const char* name;
        bool admin;
        bool elevated;
        std::optional<std::string> appData;
        PreviousInstallation previous;
        bool uninstallerExists;
        std::string expected;
    };
    const PreviousInstallation none;
    const PreviousInstallation old{"/srv/Quorvex", "/srv/Quorvex/uninst.ep"};
    const std::string roaming = "/home/u/AppData";
    const std::vector<Case> cases = {
        {"administrator, elevated", true, true, roaming, none, false,
         "/home/u/AppData/Vantorel/Quorvex"},
        {"administrator, not elevated", true, false, roaming, none, false, "/pf/Quorvex"},
        {"elevated, not an administrator", false, true, roaming, none, false, "/pf/Quorvex"},
        {"neither", false, false, roaming, none, false, "/pf/Quorvex"},
        {"administrator, elevated, no APPDATA", true, true, std::nullopt, none, false,
         "/pf/Quorvex"},
        // An empty APPDATA is still set.
        {"administrator, elevated, empty APPDATA", true, true, "", none, false, "Vantorel/Quorvex"},
        {"previous installation with its uninstaller", false, false, roaming, old, true,
         "/srv/Quorvex"},
        {"previous installation, elevated administrator", true, true, roaming, old, true,
         "/srv/Quorvex"},
        {"previous folder without its uninstaller", true, true, roaming, old, false,
         "/home/u/AppData/Vantorel/Quorvex"},
        {"previous folder without its uninstaller, not elevated", true, false, roaming, old, false,
         "/pf/Quorvex"},
    };
    for (const Case& c : cases) {
        FolderFacts facts{{c.admin, c.elevated}, c.uninstallerExists, c.appData, "/pf"};
        EXPECT_EQ(ChooseDefaultInstallFolder(c.previous, facts), c.expected) << c.name;
    }
}

TEST(DefaultInstallFolder, PreviousFolderCountsOnlyWhileItsUninstallerExists) {
    Sandbox sandbox;
    const std::string old = sandbox.Folder("old/Quorvex");
    ASSERT_TRUE(Utils::WriteRegistryValue("InstallPath", old));

    install::PreviousInstallation previous = install::ReadPreviousInstallation();
    EXPECT_EQ(previous.folder, old);
    EXPECT_EQ(previous.uninstaller, old + "/uninst.ep");
    const install::DefaultFolder fresh = install::DefaultInstallFolder(previous);
    EXPECT_EQ(fresh.folder, platform::folders::ProgramFiles() + "/Quorvex");
    EXPECT_EQ(fresh.account.processIsElevated, Utils::IsProcessElevated());

    insttest::WriteFile(old + "/uninst.ep", "");
    EXPECT_EQ(install::DefaultInstallFolder(previous).folder, old);

    // A recorded uninstaller elsewhere decides instead of "uninst.ep".
    ASSERT_TRUE(Utils::WriteRegistryValue("UnInstallEp", sandbox.Path("gone.exe")));
    previous = install::ReadPreviousInstallation();
    EXPECT_EQ(previous.uninstaller, sandbox.Path("gone.exe"));
    EXPECT_NE(install::DefaultInstallFolder(previous).folder, old);
}

TEST(PreviousInstallation, EmptyOnAFirstInstallation) {
    Sandbox sandbox;
    const PreviousInstallation previous = install::ReadPreviousInstallation();
    EXPECT_EQ(previous.folder, "");
    EXPECT_EQ(previous.uninstaller, "");
}

TEST(CustomInstallFolder, TypedFolderGetsAQuorvexFolderUnlessItIsTheDefault) {
    const std::string d = "/home/u/.local/opt/Quorvex";
    struct Case {
        std::string typed;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {d, d},
        {d + "/", d},
        {"/home/u/.local/opt/./Quorvex", d},
        {"/data/Apps", "/data/Apps/Quorvex"},
        {"/data/Apps/", "/data/Apps/Quorvex"},
        // A backslash is part of a POSIX name, not a separator.
        {"/data/a\\b", "/data/a\\b/Quorvex"},
        {"/home/u/.local/opt/quorvex", "/home/u/.local/opt/quorvex/Quorvex"},
        // Too long for a folder: kept whole, so that creating it fails instead of cutting it.
        {"/" + std::string(300, 'x'), "/" + std::string(300, 'x') + "/Quorvex"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(install::CustomInstallFolder(c.typed, d), c.expected) << c.typed;
    }
}

TEST(KeepOldInstallation, OnlyThePreviousFolderWithIsOverrideFalse) {
    Sandbox sandbox;
    const std::string old = sandbox.Folder("apps/Quorvex");
    const std::string other = sandbox.Folder("elsewhere/Quorvex");
    const PreviousInstallation previous{old, old + "/uninst.ep"};
    struct Case {
        const char* name;
        std::optional<std::string> isOverride;  // nothing: no set.ini
        std::string target;
        bool keep;
    };
    const std::vector<Case> cases = {
        {"previous folder, IsOverride=false", "false", old, true},
        {"same folder written with a trailing separator", "false", old + "/", true},
        {"IsOverride compared case-sensitively", "False", old, false},
        {"IsOverride=true", "true", old, false},
        {"no set.ini", std::nullopt, old, false},
        {"another folder is uninstalled whatever set.ini says", "false", other, false},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(old + "/set.ini");
        if (c.isOverride) {
            insttest::WriteFile(old + "/set.ini",
                                "[Uninstall]\nIsOverride=" + *c.isOverride + "\n");
            insttest::WriteFile(other + "/set.ini", "[Uninstall]\nIsOverride=false\n");
        }
        EXPECT_EQ(install::KeepOldInstallation(c.target, previous), c.keep) << c.name;
    }
    EXPECT_FALSE(install::KeepOldInstallation(old, PreviousInstallation{}));
}

TEST(SaveInstallation, RecordsTheUninstallerOnlyWhenItExists) {
    Sandbox sandbox;
    const std::string first = sandbox.Folder("first");
    insttest::WriteFile(first + "/uninst.ep", "");
    install::SaveInstallation(first, "");
    EXPECT_EQ(install::ReadPreviousInstallation().folder, first);
    EXPECT_EQ(install::ReadPreviousInstallation().uninstaller, first + "/uninst.ep");

    // A reported record that does not exist leaves the earlier value.
    const std::string second = sandbox.Folder("second");
    install::SaveInstallation(second, second + "/missing.exe");
    EXPECT_EQ(install::ReadPreviousInstallation().folder, second);
    EXPECT_EQ(install::ReadPreviousInstallation().uninstaller, first + "/uninst.ep");

    insttest::WriteFile(second + "/Uninstall Quorvex.exe", "");
    install::SaveInstallation(second, second + "/Uninstall Quorvex.exe");
    EXPECT_EQ(install::ReadPreviousInstallation().uninstaller, second + "/Uninstall Quorvex.exe");
}

TEST(WriteSetIni, WritesTheProductKeysWithANewDeviceIdAndKeepsTheRest) {
    Sandbox sandbox;
    const std::string folder = sandbox.Folder("Quorvex");
    const std::string setIni = folder + "/set.ini";
    insttest::WriteFile(setIni, "[Uninstall]\nIsOverride=false\n");
    std::vector<std::string> handedOn;
    install::WriteSetIni(folder, [&](const std::string& path) { handedOn.push_back(path); });
    const std::string firstId = platform::ini::GetString(setIni, "Install", "DeviceID", "");
    install::WriteSetIni(folder + "/");

    EXPECT_EQ(platform::ini::GetString(setIni, "Install", "APPStore", ""), "install_tests");
    EXPECT_EQ(platform::ini::GetString(setIni, "Install", "AppName", ""), "Quorvex");
    const std::string secondId = platform::ini::GetString(setIni, "Install", "DeviceID", "");
    EXPECT_EQ(firstId.size(), 32u);
    EXPECT_EQ(secondId.size(), 32u);
    EXPECT_NE(firstId, secondId);
    EXPECT_EQ(platform::ini::GetString(setIni, "Uninstall", "IsOverride", ""), "false");
    EXPECT_EQ(handedOn, std::vector<std::string>{setIni});
    EXPECT_FALSE(platform::ini::FindString(setIni, "Install", "MXAnalyticsIni"));
}

}  // namespace
