#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "app/scratch.h"

namespace {

namespace fs = std::filesystem;
using testapp::ScopedEnv;
using testapp::ScratchFolder;
using testing::HasSubstr;
using testing::MatchesRegex;

// A copy of quorvex-diag in its own folder, so that an INI file can sit beside it.
class DiagTest : public testing::Test {
  protected:
    DiagTest() { fs::copy_file(QUORVEX_DIAG_EXE, Exe()); }

    std::string Exe() const { return folder_ / "quorvex-diag"; }
    testapp::ChildResult Run(const std::vector<std::string>& arguments) {
        return testapp::RunChild(Exe(), arguments, output_);
    }

    ScratchFolder folder_;
    ScratchFolder output_;
};

TEST_F(DiagTest, ConfigWithoutIniShowsTheDefaults) {
    const auto result = Run({"config"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_THAT(result.out, MatchesRegex("AppName=Quorvex\n"
                                         "AppVersion=1\\.7\\.9\n"
                                         "ExeName=quorvex-diag\n"
                                         "DlAppNameSuffix=\\.downloader\n"
                                         "DlAppVersion=\n"
                                         "InstCmd=\n"
                                         "DownloadUrl=http://[^/\n]+/software/370\n"
                                         "DownloadType=1\n"
                                         "IsCheckNet=false\n"
                                         "IsEnableAppAnalytics=true\n"
                                         "DownloadScale=0\\.7\n"
                                         "CurlAvailable=true\n"
                                         "Language=0\n"
                                         "InsNew=false\n"));
}

TEST_F(DiagTest, ConfigLayersIniAndOptions) {
    testapp::WriteTextFile(folder_ / "MarlixInstallerConfig.ini",
                           "[Install]\n"
                           "DownloadUrl=http://mirror.example/${ROUTE}/q.exe\n"
                           "DownloadType=2\n"
                           "IsEnableAppAnalytics=True\n"
                           "DlAppNameSuffix=.web\n"
                           "DownloadScale=0.5\n"
                           "InstCmd=-from-ini\n");
    const auto result = Run({"config", "-downloadtype=3", "-downloadtype=1", "-downloadscale=nan",
                             "-dlappversion=2.5", "-insnew", "-language=3", "-InstCmd=x"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.out,
              "AppName=Quorvex\n"
              "AppVersion=1.7.9\n"
              "ExeName=quorvex-diag\n"
              "DlAppNameSuffix=.web\n"
              "DlAppVersion=2.5\n"
              "InstCmd=-from-ini\n"
              "DownloadUrl=http://mirror.example/download_silent/q.exe\n"
              "DownloadType=3\n"
              "IsCheckNet=true\n"
              "IsEnableAppAnalytics=false\n"
              "DownloadScale=0.5\n"
              "CurlAvailable=true\n"
              "Language=3\n"
              "InsNew=false\n");
}

TEST_F(DiagTest, OsReportsTheSystemFacts) {
    ScratchFolder temp;
    ScopedEnv tmpdir("TMPDIR", temp.Path());
    const auto result = Run({"os", folder_.Path()});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_THAT(result.out, MatchesRegex("OsVersion=Linux [^\n]+\n"
                                         "Network=[0-9]+\n"
                                         "FreeSpace=[0-9]+\n"
                                         "ConsoleUser=[^\n]*\n"
                                         "Administrator=(true|false)\n"
                                         "Elevated=(true|false)\n"
                                         "TempFolder=[^\n]+\n"));
    EXPECT_THAT(result.out,
                HasSubstr("\nTempFolder=" + temp.Path() + "/~MarlixTemp.92482B06FB471E17/\n"));
}

TEST_F(DiagTest, OsWithAMissingFolderFails) {
    const auto result = Run({"os", folder_ / "missing"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_THAT(result.out, HasSubstr("\nFreeSpace=\n"));
    EXPECT_THAT(result.err, HasSubstr("HardDiskManager::CheckFreeSpace FAIL code=2\r\n"));
}

TEST_F(DiagTest, UnknownOrMissingSubcommandShowsUsage) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, std::vector<std::string>{"nope"}}) {
        const auto result = Run(arguments);
        EXPECT_EQ(result.exitStatus, 2);
        EXPECT_THAT(result.err, HasSubstr("quorvex-diag config"));
        EXPECT_EQ(result.out, "");
    }
}

}  // namespace
