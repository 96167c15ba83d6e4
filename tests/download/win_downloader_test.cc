#include "download/win_downloader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "download/download_codes.h"
#include "download_test_support.h"
#include "report_recorder.h"
#include "support/download_server.h"

namespace {

using dltest::Report;
using testing::ElementsAre;
using testsupport::DownloadServer;
using testsupport::Reply;

constexpr int64_t kMiB = 1048576;
const Report kStart{DL_CODE_START, 1.0, ""};
const Report kSuccess{DL_CODE_SUCCESS, 0.0, "URLDownloadToFile"};

class WinDownloaderTest : public testing::Test {
  protected:
    std::unique_ptr<CWinDownloader> Make(const std::string& address) {
        return std::make_unique<CWinDownloader>(reports_.Callback(), address, target_, settings_);
    }

    dltest::TempFolder folder_;
    DownloadServer server_;
    std::string target_ = folder_.File("__Package_Quorvex.exe");
    dltest::PauseLog pauses_;
    download::DownloadSettings settings_ = [this] {
        download::DownloadSettings settings;
        settings.pause = pauses_.Seam();
        return settings;
    }();
    dltest::ReportRecorder reports_;
};

TEST_F(WinDownloaderTest, DownloadsThroughRedirectWithProgressUpToTheWhole) {
    auto package = dltest::PublishPackage(server_, folder_, 8 * kMiB);
    auto downloader = Make(server_.Url(package.shortPath));
    downloader->Start();

    ASSERT_TRUE(reports_.WaitForEnd());
    EXPECT_THAT(reports_.Milestones(), ElementsAre(kStart, kSuccess));
    EXPECT_TRUE(dltest::SameContent(target_, package.localFile));
    std::vector<double> progress = reports_.ProgressValues();
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_GT(progress.front(), 0.0);
    EXPECT_EQ(progress.back(), 1.0);
    auto gets = server_.Requests("GET", package.finalPath);
    ASSERT_EQ(gets.size(), 1u);
    EXPECT_EQ(gets[0].acceptEncoding, "");
}

TEST_F(WinDownloaderTest, AddressIsEncodedButFileAddressIsUsedAsItIs) {
    const std::string source = folder_.File("source.bin");
    testsupport::WriteRandomFile(source, 2 * kMiB, 5);
    // The server decodes "%XX" escapes of a path but leaves "+" alone.
    server_.ServeFile("/dl/my+package/安装.exe", source);
    auto web = Make(server_.Url("/dl/my package/安装.exe"));
    web->Start();
    ASSERT_TRUE(reports_.WaitForEnd());
    EXPECT_THAT(reports_.Milestones(), ElementsAre(kStart, kSuccess));
    EXPECT_TRUE(dltest::SameContent(target_, source));

    const std::string local = folder_.File("本地包.bin");
    testsupport::WriteRandomFile(local, 2 * kMiB, 6);
    dltest::ReportRecorder reports;
    CWinDownloader file(reports.Callback(), "file://" + local, target_, settings_);
    file.Start();
    ASSERT_TRUE(reports.WaitForEnd());
    EXPECT_THAT(reports.Milestones(), ElementsAre(kStart, kSuccess));
    EXPECT_TRUE(dltest::SameContent(target_, local));
}

TEST_F(WinDownloaderTest, ThreeFailedAttemptsEndWithTheLastResult) {
    Reply unavailable;
    unavailable.status = 503;
    Reply cut;
    cut.bodyLimit = 100000;
    struct Case {
        const char* name;
        Reply reply;
        bool trusted;
        int code;
    } cases[] = {
        {"error status", unavailable, true, 503},
        {"body broken off", cut, true, download::UrlDownloadSession::kNetworkError},
        {"untrusted certificate", {}, false, download::UrlDownloadSession::kTlsError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DownloadServer server(DownloadServer::Scheme::kHttps);
        auto package = dltest::PublishPackage(server, folder_, 2 * kMiB);
        server.SetReply(package.finalPath, c.reply);
        settings_.caFile = c.trusted ? server.AuthorityFile() : "";
        dltest::PauseLog pauses;
        settings_.pause = pauses.Seam();
        dltest::ReportRecorder reports;
        CWinDownloader downloader(reports.Callback(), server.Url(package.shortPath), target_,
                                  settings_);
        downloader.Start();

        ASSERT_TRUE(reports.WaitForEnd());
        EXPECT_THAT(reports.Milestones(),
                    ElementsAre(kStart, Report{DL_CODE_FAIL, double(c.code), "URLDownloadToFile"}));
        // A pause follows every failed attempt, the third one included.
        EXPECT_EQ(pauses.Milliseconds(), (std::vector<int64_t>{1000, 1000, 1000}));
        EXPECT_EQ(server.Requests("GET", package.finalPath).size(), c.trusted ? 3u : 0u);
    }
}

TEST_F(WinDownloaderTest, TrustedAuthorityAllowsHttps) {
    DownloadServer tls(DownloadServer::Scheme::kHttps);
    auto package = dltest::PublishPackage(tls, folder_, 2 * kMiB);
    settings_.caFile = tls.AuthorityFile();
    auto downloader = Make(tls.Url(package.shortPath));
    downloader->Start();

    ASSERT_TRUE(reports_.WaitForEnd());
    EXPECT_THAT(reports_.Milestones(), ElementsAre(kStart, kSuccess));
    EXPECT_TRUE(dltest::SameContent(target_, package.localFile));
}

TEST_F(WinDownloaderTest, UnknownLengthGivesNoProgress) {
    auto package = dltest::PublishPackage(server_, folder_, 2 * kMiB);
    Reply chunked;
    chunked.noLength = true;
    server_.SetReply(package.finalPath, chunked);
    auto downloader = Make(server_.Url(package.shortPath));
    downloader->Start();

    ASSERT_TRUE(reports_.WaitForEnd());
    EXPECT_THAT(reports_.All(), ElementsAre(kStart, kSuccess));
    EXPECT_TRUE(dltest::SameContent(target_, package.localFile));
}

TEST_F(WinDownloaderTest, EveryStartRunsTheWholeDownloadAgain) {
    auto package = dltest::PublishPackage(server_, folder_, 2 * kMiB);
    Reply unavailable;
    unavailable.status = 503;
    server_.QueueReplies(package.finalPath, std::vector<Reply>(3, unavailable));
    auto downloader = Make(server_.Url(package.shortPath));
    downloader->Start();
    ASSERT_TRUE(reports_.WaitForEnd());

    downloader->Start();
    ASSERT_TRUE(reports_.WaitForCode(DL_CODE_SUCCESS));
    EXPECT_THAT(
        reports_.Milestones(),
        ElementsAre(kStart, Report{DL_CODE_FAIL, 503.0, "URLDownloadToFile"}, kStart, kSuccess));
}

TEST_F(WinDownloaderTest, EmptyTargetOrRefusedThreadFailsAtOnce) {
    target_.clear();
    auto downloader = Make(server_.Url("/software/370"));
    downloader->Start();
    ASSERT_TRUE(reports_.WaitForEnd());
    EXPECT_THAT(reports_.All(), ElementsAre(kStart, Report{DL_CODE_FAIL, 1.0, ""}));

    dltest::ReportRecorder reports;
    settings_.allowThread = [] { return false; };
    CWinDownloader refused(reports.Callback(), server_.Url("/software/370"), "x", settings_);
    refused.Start();
    EXPECT_THAT(reports.All(), ElementsAre(Report{DL_CODE_FAIL, 1.0, ""}));
}

TEST_F(WinDownloaderTest, BindCallbackReportsFractionsAndAbortsOnceAsked) {
    dltest::ReportRecorder reports;
    CWinDownloader::CBindCallback bind;
    bind.SetCallback(reports.Callback());

    EXPECT_TRUE(bind.OnProgress(10, 0));
    EXPECT_TRUE(bind.OnProgress(25, 100));
    bind.Abort();
    EXPECT_FALSE(bind.OnProgress(50, 100));
    EXPECT_THAT(reports.All(), ElementsAre(Report{DL_CODE_PROGRESS, 0.25, ""}));
}

TEST_F(WinDownloaderTest, DestructionDuringStalledTransferIsPromptAndSilent) {
    auto package = dltest::PublishPackage(server_, folder_, 2 * kMiB);
    Reply stall;
    stall.bodyLimit = 100000;
    stall.stallAtLimit = true;
    server_.SetReply(package.finalPath, stall);
    auto downloader = Make(server_.Url(package.shortPath));
    downloader->Start();
    while (server_.Requests("GET", package.finalPath).empty()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }

    const auto before = std::chrono::steady_clock::now();
    downloader.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    for (const Report& report : reports_.All()) {
        EXPECT_TRUE(report.code == DL_CODE_START || report.code == DL_CODE_PROGRESS);
    }
}

}  // namespace
