// The installer's reports and the tracker's place in the installer's start-up and
// shut-down, checked at a local collection endpoint and in the files a run leaves.

#include "app/installer_analytics.h"

#include <gtest/gtest.h>

#include <chrono>

#include "app/scratch.h"
#include "platform/ini_profile.h"
#include "tracking_test_support.h"

namespace {

using namespace std::chrono_literals;
using trackingtest::ScopedEnv;

class InstallerAnalyticsTest : public trackingtest::TrackerTest {
  protected:
    void TearDown() override { app::StopTracker(); }

    std::string DataHome() const { return home_ / ".local/share/MXLocal"; }

    ScopedEnv runtime_{"XDG_RUNTIME_DIR", home_.Path()};
};

TEST_F(InstallerAnalyticsTest, TrackerOptionsComeFromTheConfiguration) {
    InstallerConfig config;
    config.ExeName = "QuorvexSetup.exe";
    config.DlAppVersion = "2.1";
    const auto options = app::TrackerOptionsFor(config);
    EXPECT_EQ(options.appName, "Quorvex.downloader");
    EXPECT_EQ(options.appVersion, "1.7.9");
    EXPECT_EQ(options.appStore, "QuorvexSetup.exe");
    EXPECT_EQ(options.dlAppId, "Quorvex");
    EXPECT_EQ(options.dlAppVersion, "2.1");
    EXPECT_EQ(options.logPath, "");
    EXPECT_EQ(options.serverUrl, "");
    EXPECT_EQ(options.edition, 0);
}

TEST_F(InstallerAnalyticsTest, ReportsBecomeTheInstallersEvents) {
    // 16 + 180 characters, then four three-byte characters across the 199th.
    const std::string longReason =
        "1.code=28；2.msg=" + std::string(180, 'x') + "中文中文" + std::string(10, 'y');
    app::StartTracker(Config(), endpoint_.Url());
    app::ReportTask("下载器启动", 0, "", {{"AB", "IN"}});
    app::ReportTask("安装成功", 95.5f, "", {{"AB", "B1"}});
    app::ReportTask("下载失败原因", 0, longReason, {{"AB", "IN"}});
    app::ReportView({{"AB", "IN"}});
    app::ReportClick("立即安装", {{"AB", "IN"}});
    app::ReportClick("自定义安装", {{"AB", "in"}});  // malformed group: left out, click sent
    app::ReportClick("立即体验", {});
    app::StopTracker();

    const auto records = endpoint_.Records();
    ASSERT_EQ(records.size(), 7u);
    const std::pair<const char*, const char*> names[] = {
        {"MxEventTask", "下载器启动"},   {"MxEventTask", "安装成功"},
        {"MxEventTask", "下载失败原因"}, {"MxEventView", "安装中"},
        {"MxEventClick", "立即安装"},    {"MxEventClick", "自定义安装"},
        {"MxEventClick", "立即体验"},
    };
    for (size_t i = 0; i < records.size(); ++i) {
        const Json::Value& p = records[i]["properties"];
        EXPECT_EQ(records[i]["event"].asString(), names[i].first);
        EXPECT_EQ(p[i < 3 ? "mx_task_name" : "mx_name"].asString(), names[i].second);
        EXPECT_TRUE(p["$is_first_time"].asBool()) << i;
        EXPECT_EQ(p["mx_app_id"].asString(), "Quorvex.downloader") << i;
        EXPECT_EQ(p["$lib"].asString(), "cpp") << i;
    }
    const Json::Value start = records[0]["properties"];
    EXPECT_EQ(start["mx_task_elapsed"].asDouble(), 0.0);
    EXPECT_EQ(start["mx_task_result"].asString(), "Success");
    EXPECT_EQ(start["mxc_ab"].asString(), "IN");
    EXPECT_FALSE(start.isMember("mx_reason"));
    EXPECT_EQ(records[1]["properties"]["mx_task_elapsed"].asDouble(), 95.5);
    EXPECT_EQ(records[1]["properties"]["mxc_ab"].asString(), "B1");
    // Reasons are cut to 199 characters, never inside one.
    EXPECT_EQ(records[2]["properties"]["mx_reason"].asString(),
              longReason.substr(0, longReason.find("中文中文") + 9));
    EXPECT_EQ(records[4]["properties"]["mx_click_type"].asString(), "Button");
    EXPECT_EQ(records[4]["properties"]["mxc_ab"].asString(), "IN");
    EXPECT_FALSE(records[5]["properties"].isMember("mxc_ab"));
    EXPECT_FALSE(records[6]["properties"].isMember("mxc_ab"));
}

TEST_F(InstallerAnalyticsTest, NothingHappensWithAnalyticsSwitchedOff) {
    InstallerConfig& config = Config();
    config.IsEnableAppAnalytics = false;
    app::StartTracker(config, endpoint_.Url());
    app::ReportTask("开始下载大包", 0, "", {{"AB", "IN"}});
    app::ReportClick("立即安装", {{"AB", "IN"}});
    app::ReportView({{"AB", "IN"}});
    app::ReportCrash();
    app::ReportCrashExit();
    app::StopTracker();
    config.IsEnableAppAnalytics = true;
    EXPECT_TRUE(endpoint_.Uploads().empty());
    EXPECT_FALSE(std::filesystem::exists(DataHome()));
}

TEST_F(InstallerAnalyticsTest, ReportsBeforeTheTrackerExistsSendNothing) {
    app::ReportTask("libcurl初始化失败", 0, "", {{"AB", "IN"}});
    app::ReportCrashExit();
    app::StopTracker();  // harmless without a tracker
    app::StartTracker(Config(), endpoint_.Url());
    app::StopTracker();
    EXPECT_TRUE(endpoint_.Uploads().empty());
}

TEST_F(InstallerAnalyticsTest, FailedLibcurlStartIsReportedOnceTheTrackerExists) {
    InstallerConfig config = Config();
    config.CurlAvailable = false;
    app::StartTracker(config, endpoint_.Url());
    app::StopTracker();
    const auto records = endpoint_.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]["properties"]["mx_task_name"].asString(), "libcurl初始化失败");
    EXPECT_EQ(records[0]["properties"]["mx_task_elapsed"].asDouble(), 0.0);
    EXPECT_EQ(records[0]["properties"]["mxc_ab"].asString(), "IN");
}

TEST_F(InstallerAnalyticsTest, CrashExitUploadsEverythingAtOnce) {
    app::StartTracker(Config(), endpoint_.Url());
    for (int i = 0; i < 3; ++i) {
        app::ReportTask("开始下载大包", 0, "", {{"AB", "IN"}});
    }
    app::ReportCrashExit();
    const auto uploads = endpoint_.Uploads();
    ASSERT_EQ(uploads.size(), 1u);
    const Json::Value& records = uploads[0].records;
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[3]["properties"]["mx_task_name"].asString(), "崩溃退出");
    EXPECT_EQ(records[3]["properties"]["mxc_ab"].asString(), "IN");
    EXPECT_EQ(records[4]["event"].asString(), "AppCrashed");
    EXPECT_EQ(records[4]["properties"]["app_crashed_reason"].asString(), "崩溃");
}

class InstallerProcessTest : public InstallerAnalyticsTest {
  protected:
    testapp::ChildResult Run(const std::string& program,
                             const std::vector<std::string>& arguments) {
        return testapp::RunChild(program, arguments, output_);
    }
    testapp::ScratchFolder output_;
};

TEST_F(InstallerProcessTest, CrashingProcessSendsItsReportsBeforeItEnds) {
    const auto result = Run(TRACKING_CRASH_CHILD, {endpoint_.Url(), "3"});
    EXPECT_EQ(result.exitStatus, -1);  // ended by its signal
    const auto uploads = endpoint_.Uploads();
    ASSERT_EQ(uploads.size(), 1u);
    std::vector<std::string> names;
    for (const Json::Value& record : uploads[0].records) {
        names.push_back(record["event"].asString());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"MxEventTask", "MxEventTask", "MxEventTask",
                                               "MxEventTask", "AppCrashed"}));
}

TEST_F(InstallerProcessTest, CrashFilterDoesNotWaitLongForAStuckUpload) {
    endpoint_.HoldAnswers();
    const auto start = std::chrono::steady_clock::now();
    const auto result = Run(TRACKING_CRASH_CHILD, {endpoint_.Url(), "1"});
    const auto elapsed = std::chrono::steady_clock::now() - start;
    endpoint_.ReleaseAnswers();
    EXPECT_EQ(result.exitStatus, -1);
    // Waiting for the uploads would take three attempts of 3 seconds each.
    EXPECT_LT(elapsed, 5s);
    EXPECT_EQ(endpoint_.Uploads().size(), 1u);
}

TEST_F(InstallerProcessTest, RunCreatesAndReleasesTheTracker) {
    const auto result = Run(QUORVEX_EXE, {});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    const std::string folder = DataHome() + "/Quorvex.downloader/";
    const std::string settings = folder + "Quorvex.downloader_MXSConfigure.ini";
    EXPECT_EQ(platform::ini::GetString(settings, "UninstallInfo", "AppName", ""),
              "Quorvex.downloader");
    EXPECT_EQ(platform::ini::GetString(settings, "UninstallInfo", "AppStore", ""),
              std::filesystem::path(QUORVEX_EXE).filename().string());
    EXPECT_EQ(platform::ini::GetString(settings, "Base", "URL", ""),
              marlix::tracking::kBuiltInServerUrl);
    EXPECT_TRUE(std::filesystem::exists(folder + "Quorvex.downloader_MXSLog.txt"));
    // Nothing was reported, so the shut-down uploaded nothing and staged nothing.
    EXPECT_EQ(trackingtest::ReadTextFile(folder + "Quorvex.downloader_MXSStaging.txt"), "");
}

TEST_F(InstallerProcessTest, CommandLineDecidesBeforeTheTrackerStarts) {
    EXPECT_EQ(Run(QUORVEX_EXE, {"-isenableappanalytics=false"}).exitStatus, 0);
    EXPECT_FALSE(std::filesystem::exists(DataHome()));

    EXPECT_EQ(Run(QUORVEX_EXE, {"-dlappnamesuffix=.probe", "-dlappversion=9.9"}).exitStatus, 0);
    EXPECT_TRUE(
        std::filesystem::exists(DataHome() + "/Quorvex.probe/Quorvex.probe_MXSConfigure.ini"));

    // Switched off in the INI file, on again on the command line.
    const std::string program = home_ / "bin/quorvex";
    std::filesystem::create_directories(home_ / "bin");
    std::filesystem::copy_file(QUORVEX_EXE, program);
    trackingtest::WriteTextFile(home_ / "bin/MarlixInstallerConfig.ini",
                                "[Install]\nIsEnableAppAnalytics=false\n");
    EXPECT_EQ(Run(program, {}).exitStatus, 0);
    EXPECT_FALSE(std::filesystem::exists(DataHome() + "/Quorvex.downloader"));
    EXPECT_EQ(Run(program, {"-isenableappanalytics=true"}).exitStatus, 0);
    EXPECT_TRUE(std::filesystem::exists(DataHome() + "/Quorvex.downloader"));
}

}  // namespace
