// The tracker's files: where they go, the identity kept in the settings file across runs,
// the redirect file and the log.

#include <gtest/gtest.h>

#include "platform/ini_profile.h"
#include "source/src/tracker_files.h"
#include "tracking_test_support.h"

namespace {

namespace ini = platform::ini;
using trackingtest::ReadTextFile;
using trackingtest::WriteTextFile;

class TrackerFilesTest : public trackingtest::TrackerTest {
  protected:
    std::string Base(const char* key) const {
        return ini::GetString(SettingsFile(), "Base", key, "?");
    }

    void WriteSettings(const std::string& text) const { WriteTextFile(SettingsFile(), text); }

    // The distinct id and login flag of the records the tracker sends now.
    Json::Value SentRecord(marlix::tracking::MxTrackerImpl& tracker) {
        tracker.trackCrash("probe");
        const auto crashes = Events("AppCrashed");
        return crashes.empty() ? Json::Value() : crashes.back();
    }
};

TEST_F(TrackerFilesTest, FirstRunCreatesTheSettingsFileWithAFreshAnonymousIdentity) {
    auto tracker = Start();
    ASSERT_TRUE(std::filesystem::is_regular_file(SettingsFile()));
    const std::string id = Base("DistinctId");
    EXPECT_TRUE(trackingtest::HasShape(id, trackingtest::kGuidShape)) << id;
    EXPECT_EQ(Base("PrimaryDistinctId"), id);
    EXPECT_EQ(Base("UserId"), "");
    EXPECT_EQ(Base("UserVipLevel"), "0");
    EXPECT_EQ(Base("URL"), endpoint_.Url());
    EXPECT_EQ(Base("isLogined"), "NG");
    EXPECT_EQ(tracker->getPrimaryDistinctId(), id);

    const std::string text = ReadTextFile(SettingsFile());
    const std::vector<std::string> order = {
        "DistinctId=", "PrimaryDistinctId=", "UserId=",  "UserVipLevel=", "URL=",
        "isLogined=",  "AppStore=",          "AppName=", "AppVersion="};
    size_t last = 0;
    for (const std::string& key : order) {
        const size_t at = text.find(key, last);
        ASSERT_NE(at, std::string::npos) << key << " in\n" << text;
        last = at;
    }
    EXPECT_EQ(ini::GetString(SettingsFile(), "UninstallInfo", "AppStore", ""), "QuorvexSetup.exe");
    EXPECT_EQ(ini::GetString(SettingsFile(), "UninstallInfo", "AppName", ""), "Quorvex.downloader");
    EXPECT_EQ(ini::GetString(SettingsFile(), "UninstallInfo", "AppVersion", ""), "1.7.9");

    const std::string log = TrackerDir() + "Quorvex.downloader_MXSLog.txt";
    EXPECT_TRUE(std::filesystem::is_regular_file(log));
    EXPECT_EQ(std::filesystem::file_size(log), 0u);
    EXPECT_TRUE(tracker->hasTrackLogger());

    EXPECT_EQ(SentRecord(*tracker)["distinct_id"].asString(), id);
}

TEST_F(TrackerFilesTest, NextRunKeepsTheIdentity) {
    std::string id;
    {
        auto tracker = Start();
        id = tracker->getPrimaryDistinctId();
    }
    auto tracker = Start();
    EXPECT_EQ(Base("DistinctId"), id);
    EXPECT_EQ(SentRecord(*tracker)["distinct_id"].asString(), id);
}

TEST_F(TrackerFilesTest, ChangedEndpointLogsOutAndFallsBackToThePrimaryId) {
    WriteSettings(
        "[Base]\nDistinctId=L1\nPrimaryDistinctId=P1\nUserId=L1\nUserVipLevel=3\n"
        "URL=https://old.example/sa\nisLogined=OK\n");
    auto tracker = Start();
    EXPECT_EQ(Base("DistinctId"), "P1");
    EXPECT_EQ(Base("PrimaryDistinctId"), "P1");
    EXPECT_EQ(Base("UserId"), "");
    EXPECT_EQ(Base("UserVipLevel"), "3");
    EXPECT_EQ(Base("URL"), endpoint_.Url());
    EXPECT_EQ(Base("isLogined"), "NG");
    const Json::Value record = SentRecord(*tracker);
    EXPECT_EQ(record["distinct_id"].asString(), "P1");
    EXPECT_FALSE(record["properties"].isMember("$is_login_id"));
}

TEST_F(TrackerFilesTest, ChangedEndpointWithoutPrimaryIdStartsAFreshId) {
    WriteSettings("[Base]\nDistinctId=D1\nURL=https://old.example/sa\n");
    // An empty primary id takes the distinct id when read, so D1 survives.
    auto tracker = Start();
    EXPECT_EQ(Base("DistinctId"), "D1");
    EXPECT_EQ(Base("PrimaryDistinctId"), "D1");
}

TEST_F(TrackerFilesTest, LoginFlagIsTheExactTextOk) {
    struct Case {
        const char* flag;
        const char* userId;
        const char* sentId;
        bool loginId;
    } const cases[] = {
        {"OK", "U1", "U1", true},
        {"ok", "U1", "D1", false},  // small letters read as logged out
        {"NG", "U1", "D1", false},
        {"OK", "", "D1", false},  // no user id: never logged in
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.flag) + " user " + c.userId);
        WriteSettings(std::string("[Base]\nDistinctId=D1\nPrimaryDistinctId=D1\nUserId=") +
                      c.userId + "\nURL=" + endpoint_.Url() + "\nisLogined=" + c.flag + "\n");
        const size_t before = Events("AppCrashed").size();
        {
            auto tracker = Start();
            const Json::Value record = SentRecord(*tracker);
            ASSERT_EQ(Events("AppCrashed").size(), before + 1);
            EXPECT_EQ(record["distinct_id"].asString(), c.sentId);
            EXPECT_EQ(record["properties"].isMember("$is_login_id"), c.loginId);
        }
        EXPECT_EQ(Base("isLogined"), c.loginId ? "OK" : "NG");
    }
}

TEST_F(TrackerFilesTest, LongValuesAreReadWhole) {
    // A long endpoint must not look like a changed one on the next run.
    auto options = Options();
    options.serverUrl += "&x=" + std::string(200, 'x');
    std::string id;
    {
        auto tracker = Start(options);
        id = tracker->getPrimaryDistinctId();
        const std::string user(150, 'u');
        tracker->trackLogin({user, marlix::tracking::MxUserType::Email, 2}, true, "", {});
    }
    auto tracker = Start(options);
    EXPECT_EQ(Base("URL"), options.serverUrl);
    EXPECT_EQ(Base("UserId"), std::string(150, 'u'));
    EXPECT_EQ(Base("isLogined"), "OK");
    EXPECT_EQ(tracker->getPrimaryDistinctId(), id);
}

TEST_F(TrackerFilesTest, RedirectFileNamesTheSettingsFileAndItsFolder) {
    // Either separator may appear in the redirect; the folder is made when missing.
    const std::string target = home_ / "data/sub/t.ini";
    std::string written = target;
    std::replace(written.begin(), written.end(), '/', '\\');
    WriteTextFile(home_ / "bin/Set.ini", "[Install]\nMXAnalyticsIni=" + written + "\n");
    auto tracker = Start();
    EXPECT_EQ(ini::GetString(target, "Base", "URL", ""), endpoint_.Url());
    EXPECT_TRUE(std::filesystem::is_regular_file(home_ / "data/sub/Quorvex.downloader_MXSLog.txt"));
    EXPECT_FALSE(std::filesystem::exists(TrackerDir()));
}

TEST_F(TrackerFilesTest, RedirectWithoutAFolderFallsBackToTheDefault) {
    WriteTextFile(home_ / "bin/Set.ini", "[Install]\nMXAnalyticsIni=t.ini\n");
    auto tracker = Start();
    EXPECT_TRUE(std::filesystem::is_regular_file(SettingsFile()));
}

TEST_F(TrackerFilesTest, LogPathOptionReplacesTheDefaultLog) {
    auto options = Options();
    options.logPath = home_ / "tracker.log";
    WriteTextFile(options.logPath, "kept");
    auto tracker = Start(options);
    EXPECT_EQ(ReadTextFile(options.logPath), "kept");
    EXPECT_FALSE(std::filesystem::exists(TrackerDir() + "Quorvex.downloader_MXSLog.txt"));
}

TEST(CreateFoldersTest, CreatesEachMissingFolderAndStopsAtTheFirstFailure) {
    trackingtest::ScratchFolder root;
    EXPECT_TRUE(marlix::tracking::CreateFolders(root / "a/b/c/"));
    EXPECT_TRUE(std::filesystem::is_directory(root / "a/b/c"));
    WriteTextFile(root / "file", "");
    EXPECT_FALSE(marlix::tracking::CreateFolders(root / "file/d/"));
    EXPECT_FALSE(std::filesystem::exists(root / "file/d"));
}

}  // namespace
