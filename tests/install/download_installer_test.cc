#include "install/download_installer.h"

#include <curl/curl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/utils.h"
#include "download/md5.h"
#include "install/downloader_factory.h"
#include "install/install_test_support.h"
#include "support/download_server.h"

extern char** environ;

namespace {

using insttest::FileExists;
using insttest::Report;
using insttest::ReportRecorder;
using insttest::Sandbox;
using Clock = std::chrono::steady_clock;

const char kPackageName[] = "__Package_Quorvex.exe";
const char kCopyName[] = "Quorvex_un_asa.exe";

// libcurl's global state, set up before any thread exists.
class CurlGlobal {
  public:
    CurlGlobal() { curl_global_init(CURL_GLOBAL_ALL); }
    ~CurlGlobal() { curl_global_cleanup(); }
};

// The codes in order, repeats and download progress (which a fast loopback transfer may
// not report at all) left out.
std::vector<int32_t> Codes(const std::vector<Report>& reports) {
    std::vector<int32_t> codes;
    for (const Report& report : reports) {
        if (report.code != 1002 && (codes.empty() || codes.back() != report.code)) {
            codes.push_back(report.code);
        }
    }
    return codes;
}

bool EventuallyGone(const std::string& path) {
    for (int i = 0; i < 300 && FileExists(path); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return !FileExists(path);
}

// The install driver with the download server serving the fake package, behind the short
// address "/software/370" like the real service.
class DriverRun : public ::testing::Test {
  protected:
    DriverRun() {
        // The download service refuses packages under 1 MiB; a program runs with padding.
        served_ = sandbox_.Folder("served") + "/setup.exe";
        insttest::WriteFile(served_, insttest::ReadFile(insttest::FakeProgramFile()) +
                                         std::string(1200 * 1024, '\0'));
        const std::string digest = download::FileMd5(served_);
        packagePath_ = "/dl/" + digest + "/setup.exe";
        server_.ServeFile(packagePath_, served_);
        server_.Redirect("/software/370", packagePath_);
        settings_.download.pause = [](std::chrono::milliseconds) {};
        settings_.lastPackage = std::make_shared<install::LastPackagePath>();
        settings_.createDownloader = [this](int32_t type, StatusCallback callback,
                                            std::string address, std::string target) {
            ++downloadersMade_;
            return install::CreateDownloader(type, std::move(callback), std::move(address),
                                             std::move(target), settings_.download);
        };
    }

    std::unique_ptr<CDownloadInstaller> MakeDriver() {
        return std::make_unique<CDownloadInstaller>(reports_.Callback(), "", "", "", true, true,
                                                    true, settings_);
    }

    void SetParameters(CDownloadInstaller& driver, const std::string& folder,
                       const std::string& oldUninstaller = "") {
        driver.SetParameters(server_.Url("/software/370"), oldUninstaller, folder, true, false,
                             true, true, "zh-CN");
    }

    // An installed old copy whose uninstaller is the fake program.
    std::string PlaceOldUninstaller() {
        const std::string folder = sandbox_.Folder("old copy/Quorvex");
        insttest::PlaceFakeProgram(folder + "/uninst.ep");
        return folder + "/uninst.ep";
    }

    CurlGlobal curl_;
    Sandbox sandbox_;
    testsupport::DownloadServer server_;
    std::string served_;
    std::string packagePath_;
    DriverSettings settings_;
    std::atomic<int> downloadersMade_{0};
    ReportRecorder reports_;
    const std::string target_ = sandbox_.Path("Program Files/Quorvex");
};

TEST_F(DriverRun, FirstInstallationDownloadsRunsAndDeletesThePackage) {
    sandbox_.Script(kPackageName, {"install", "out Progress=0.5", "out InstPath=%D",
                                   "out UninstEp=%D/uninst.ep", "out State=Success"});
    auto driver = MakeDriver();
    SetParameters(*driver, target_);
    EXPECT_EQ(driver->PackagePath(), target_ + "/" + kPackageName);
    driver->Start();
    ASSERT_TRUE(reports_.WaitForAny({2003, 2004, 1004}));

    EXPECT_EQ(Codes(reports_.All()),
              (std::vector<int32_t>{1001, 1003, 2001, 2002, 3000, 3003, 2003}));
    const std::vector<Report> all = reports_.All();
    EXPECT_NE(std::find(all.begin(), all.end(), Report{3000, 0, target_}), all.end());
    EXPECT_TRUE(FileExists(target_ + "/quorvex.exe"));
    EXPECT_TRUE(EventuallyGone(target_ + "/" + kPackageName));
    const std::vector<std::string> arguments = sandbox_.RecordedArguments(kPackageName);
    ASSERT_FALSE(arguments.empty());
    EXPECT_EQ(arguments.front(), "/S");
    EXPECT_EQ(std::count(arguments.begin(), arguments.end(), "-inslang=zh-CN"), 1);
    EXPECT_EQ(arguments.back(), "Files/Quorvex");  // "/D=" folder split at its space
    EXPECT_EQ(downloadersMade_, 1);
    EXPECT_TRUE(sandbox_.RecordedArguments(kCopyName).empty());
}

TEST_F(DriverRun, UpdateRunsTheOldUninstallerFromItsTempCopyBeforeDownloading) {
    const std::string oldUninstaller = PlaceOldUninstaller();
    sandbox_.Script(kCopyName, {"out Progress=0.5", "out State=Success"});
    sandbox_.Script(kPackageName, {"out State=Success"});
    auto driver = MakeDriver();
    SetParameters(*driver, target_, oldUninstaller);
    driver->Start();
    ASSERT_TRUE(reports_.WaitForAny({2003, 2004, 1004, 5004, 5005}));

    EXPECT_EQ(Codes(reports_.All()),
              (std::vector<int32_t>{5002, 5003, 1001, 1003, 2001, 2002, 2003}));
    const std::string copy = Utils::GetInstallerTempFolder() + kCopyName;
    EXPECT_TRUE(FileExists(copy));
    const std::string oldFolder = sandbox_.Path("old copy/Quorvex");
    const std::vector<std::string> arguments = sandbox_.RecordedArguments(kCopyName);
    ASSERT_GE(arguments.size(), 2u);
    EXPECT_EQ(arguments[arguments.size() - 2] + " " + arguments.back(), "_?=" + oldFolder);
}

TEST_F(DriverRun, UninstallFailureStopsTheSequence) {
    for (const std::string& result : {std::string("out State=Fail"), std::string("exit 3")}) {
        SCOPED_TRACE(result);
        ReportRecorder reports;
        auto driver = std::make_unique<CDownloadInstaller>(reports.Callback(), "", "", "", true,
                                                           true, true, settings_);
        sandbox_.Script(kCopyName, {result});
        SetParameters(*driver, target_, PlaceOldUninstaller());
        driver->Start();
        ASSERT_TRUE(reports.WaitForCode(5005));
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        driver.reset();
        EXPECT_EQ(reports.All(), (std::vector<Report>{{5002, 0, ""}, {5005, 0, "安装包卸载失败"}}));
    }
    EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(DriverRun, RetryWithAnotherFolderKeepsTheDownloadTargetAndTheQuotedPackagePath) {
    testsupport::Reply failing;
    failing.status = 500;
    server_.SetReply(packagePath_, failing);
    auto driver = MakeDriver();
    SetParameters(*driver, target_);
    driver->Start();
    ASSERT_TRUE(reports_.WaitForCode(1004));
    EXPECT_FALSE(FileExists(target_ + "/" + kPackageName));

    server_.SetReply(packagePath_, testsupport::Reply{});
    sandbox_.Script(kPackageName, {"out InstPath=%D", "out Message=%0", "out State=Success"});
    const std::string second = sandbox_.Path("Second Place");
    SetParameters(*driver, second);
    EXPECT_EQ(driver->PackagePath(), second + "/" + kPackageName);
    driver->Start();
    ASSERT_TRUE(reports_.WaitForAny({2003, 2004}));

    EXPECT_EQ(downloadersMade_, 1);
    const std::vector<Report> all = reports_.All();
    EXPECT_NE(std::find(all.begin(), all.end(), Report{3000, 0, second}), all.end());
    // The package was downloaded into the first folder and run from there.
    const Report ranFrom{3009, 0, target_ + "/" + kPackageName};
    EXPECT_NE(std::find(all.begin(), all.end(), ranFrom), all.end());
    const std::vector<std::string> arguments = sandbox_.RecordedArguments(kPackageName);
    ASSERT_FALSE(arguments.empty());
    EXPECT_EQ(arguments.back(), "Place");
    EXPECT_TRUE(std::filesystem::is_directory(second));
    EXPECT_TRUE(EventuallyGone(target_ + "/" + kPackageName));
}

TEST_F(DriverRun, InstallFailureDeletesTheCurrentAndTheRecordedPackage) {
    const std::string earlier = sandbox_.Folder("earlier") + "/" + kPackageName;
    insttest::WriteFile(earlier, "left behind");
    settings_.lastPackage->Exchange(earlier);
    sandbox_.Script(kPackageName, {"out State=Fail", "sleep 200"});
    auto driver = MakeDriver();
    SetParameters(*driver, target_);
    driver->Start();
    ASSERT_TRUE(reports_.WaitForCode(2004));
    EXPECT_TRUE(EventuallyGone(earlier));
    EXPECT_TRUE(EventuallyGone(target_ + "/" + kPackageName));
    EXPECT_EQ(settings_.lastPackage->Exchange(""), target_ + "/" + kPackageName);
}

TEST_F(DriverRun, DigestMismatchRestartsTheSameDownloader) {
    const std::string wrongDigestPath = "/dl/0123456789abcdef0123456789abcdef/setup.exe";
    server_.ServeFile(wrongDigestPath, served_);
    server_.Redirect("/software/371", wrongDigestPath);
    auto driver = MakeDriver();
    driver->SetParameters(server_.Url("/software/371"), "", target_, true, true, true, true, "");
    driver->Start();
    ASSERT_TRUE(reports_.WaitForCode(1004));
    EXPECT_EQ(downloadersMade_, 1);
    EXPECT_EQ(Codes(reports_.All()), (std::vector<int32_t>{1001, 1006, 1005, 1001, 1006, 1004}));
}

TEST_F(DriverRun, InsNewWaitsUntilTheProductHasEnded) {
    settings_.insNew = true;
    const std::string product = sandbox_.Folder("running") + "/quorvex.exe";
    std::filesystem::copy_file(QUORVEX_TEST_CHILD, product);
    std::string sleep = "sleep:600";
    char* argv[] = {const_cast<char*>(product.c_str()), sleep.data(), nullptr};
    pid_t pid = 0;
    const auto spawned = Clock::now();
    ASSERT_EQ(posix_spawn(&pid, product.c_str(), nullptr, nullptr, argv, environ), 0);
    while (CUnInstaller::FindRunningProcess("quorvex.exe") == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::thread reaper([pid] { ::waitpid(pid, nullptr, 0); });

    sandbox_.Script(kCopyName, {"out State=Fail"});
    auto driver = MakeDriver();
    SetParameters(*driver, target_, PlaceOldUninstaller());
    driver->Start();
    EXPECT_GE(Clock::now() - spawned, std::chrono::milliseconds(550));
    reaper.join();
    ASSERT_TRUE(reports_.WaitForCode(5005));
    EXPECT_EQ(reports_.Codes(), (std::vector<int32_t>{5002, 5005}));
}

TEST_F(DriverRun, DestroyedWhileItWorksStopsEverythingAndLeavesNoPackage) {
    for (const int afterMs : {0, 30, 150}) {
        SCOPED_TRACE(afterMs);
        sandbox_.Script(kPackageName, {"out Progress=0.1", "sleep 300", "out State=Success"});
        ReportRecorder reports;
        auto driver = std::make_unique<CDownloadInstaller>(reports.Callback(), "", "", "", true,
                                                           true, true, settings_);
        SetParameters(*driver, target_);
        driver->Start();
        std::this_thread::sleep_for(std::chrono::milliseconds(afterMs));
        driver.reset();
        const size_t seen = reports.All().size();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(reports.All().size(), seen);
        EXPECT_FALSE(FileExists(target_ + "/" + kPackageName));
    }
}

TEST_F(DriverRun, DownloadTypeChoosesTheDownloader) {
    // Only the two-range downloader asks for byte ranges on a fresh download, and only the
    // libcurl downloaders ask for the headers first.
    for (const int32_t type : {1, 2, 3}) {
        SCOPED_TRACE(type);
        settings_.downloadType = type;
        sandbox_.Script(kPackageName, {"out State=Success"});
        ReportRecorder reports;
        auto driver = std::make_unique<CDownloadInstaller>(reports.Callback(), "", "", "", true,
                                                           true, true, settings_);
        SetParameters(*driver, sandbox_.Path("type " + std::to_string(type)));
        const size_t before = server_.Requests().size();
        driver->Start();
        ASSERT_TRUE(reports.WaitForAny({2003, 2004, 1004}));
        EXPECT_EQ(reports.All().back(), (Report{2003, 0, ""}));
        const std::vector<testsupport::RecordedRequest> requests = server_.Requests();
        const bool ranged = std::any_of(requests.begin() + before, requests.end(),
                                        [](const auto& r) { return !r.range.empty(); });
        const bool head = std::any_of(requests.begin() + before, requests.end(),
                                      [](const auto& r) { return r.method == "HEAD"; });
        EXPECT_EQ(ranged, type == 3);
        EXPECT_EQ(head, type != 2);
    }
}

}  // namespace
