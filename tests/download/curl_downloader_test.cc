#include "download/curl_downloader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "download/download_codes.h"
#include "download/md5.h"
#include "download_test_support.h"
#include "report_recorder.h"
#include "support/download_server.h"
#include "support/stderr_capture.h"

namespace {

using dltest::DigestForm;
using dltest::Report;
using testing::ElementsAre;
using testsupport::DownloadServer;
using testsupport::Reply;

constexpr int64_t kMiB = 1048576;
const Report kStart{DL_CODE_START, 1.0, ""};
const Report kSuccess{DL_CODE_SUCCESS, 0.0, "LibCurl"};
const Report kRetry{DL_CODE_RETRY, 0.0, "LibCurl"};
const Report kMismatch{DL_CODE_MD5, 0.0, "curl文件md5校验失败"};

int CountOf(const std::string& text, const std::string& piece) {
    int count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) {
        ++count;
    }
    return count;
}

class CurlDownloaderTest : public testing::Test {
  protected:
    std::unique_ptr<CCurlDownloader> Make(const std::string& address) {
        auto downloader =
            std::make_unique<CCurlDownloader>(reports_.Callback(), address, target_, settings_);
        reports_.RestartOnRetry(downloader.get());
        return downloader;
    }

    dltest::CurlGlobal curl_;
    dltest::TempFolder folder_;
    DownloadServer server_;
    std::string target_ = folder_.File("__Package_Quorvex.exe");
    dltest::PauseLog pauses_;
    download::DownloadSettings settings_ = [this] {
        download::DownloadSettings settings;
        settings.pause = pauses_.Seam();
        settings.calendarSecond = [second = int64_t{1000}]() mutable { return second++; };
        return settings;
    }();
    dltest::ReportRecorder reports_;
};

TEST_F(CurlDownloaderTest, DigestInEitherLetterCaseAcceptsTheDownloadedPackage) {
    for (DigestForm form : {DigestForm::kLower, DigestForm::kUpper}) {
        dltest::ReportRecorder reports;
        auto package = dltest::PublishPackage(server_, folder_, 4 * kMiB, form);
        CCurlDownloader downloader(reports.Callback(), server_.Url(package.shortPath), target_,
                                   settings_);
        downloader.Start();

        ASSERT_TRUE(reports.WaitForEnd());
        EXPECT_THAT(reports.Milestones(), ElementsAre(kStart, kSuccess));
        EXPECT_TRUE(dltest::SameContent(target_, package.localFile));
        std::vector<double> progress = reports.ProgressValues();
        ASSERT_FALSE(progress.empty());
        for (size_t i = 0; i < progress.size(); ++i) {
            EXPECT_GT(progress[i], 0.0);
            EXPECT_LE(progress[i], 1.0);
            EXPECT_TRUE(i == 0 || progress[i] >= progress[i - 1]);
        }
    }
}

TEST_F(CurlDownloaderTest, HttpsDownloadTrustsTheConfiguredAuthority) {
    DownloadServer tls(DownloadServer::Scheme::kHttps);
    auto package = dltest::PublishPackage(tls, folder_, 2 * kMiB);
    settings_.caFile = tls.AuthorityFile();
    auto downloader = Make(tls.Url(package.shortPath));
    downloader->Start();

    ASSERT_TRUE(reports_.WaitForEnd());
    EXPECT_THAT(reports_.Milestones(), ElementsAre(kStart, kSuccess));
    EXPECT_TRUE(dltest::SameContent(target_, package.localFile));
}

TEST_F(CurlDownloaderTest, AddressWithoutDigestSucceedsAfterNotice) {
    auto package = dltest::PublishPackage(server_, folder_, 2 * kMiB, DigestForm::kNone);
    auto downloader = Make(server_.Url(package.shortPath));
    downloader->Start();

    ASSERT_TRUE(reports_.WaitForEnd());
    EXPECT_THAT(reports_.Milestones(),
                ElementsAre(kStart, Report{DL_CODE_MD5, 0.0, "curl获取url-md5失败"}, kSuccess));
}

TEST_F(CurlDownloaderTest, MismatchAsksForOneRestartThenFails) {
    auto package = dltest::PublishPackage(server_, folder_, 2 * kMiB);
    // Same size, other content: every download disagrees with the address's digest.
    testsupport::WriteRandomFile(package.localFile, 2 * kMiB, 99);
    auto downloader = Make(server_.Url(package.shortPath));
    downloader->Start();

    ASSERT_TRUE(reports_.WaitForEnd());
    EXPECT_THAT(reports_.Milestones(), ElementsAre(kStart, kMismatch, kRetry, kStart, kMismatch,
                                                   Report{DL_CODE_FAIL, 0.0, "LibCurl"}));
    // The restart fetched the package again from its start.
    auto gets = server_.Requests("GET", package.finalPath);
    ASSERT_EQ(gets.size(), 2u);
    EXPECT_EQ(gets[1].range, "");
}

TEST_F(CurlDownloaderTest, DigestThatCannotBeComputedCountsAsMismatch) {
    auto package = dltest::PublishPackage(server_, folder_, 2 * kMiB);
    int looks = 0;
    settings_.fileDigest = [&](const std::string& path) {
        return ++looks == 1 ? std::string() : download::FileMd5(path);
    };
    auto downloader = Make(server_.Url(package.shortPath));
    downloader->Start();

    ASSERT_TRUE(reports_.WaitForEnd());
    EXPECT_THAT(reports_.Milestones(), ElementsAre(kStart, kMismatch, kRetry, kStart, kSuccess));
}

TEST_F(CurlDownloaderTest, FailedAttemptsAreRetriedWithinTheirBudget) {
    Reply unavailable;
    unavailable.status = 503;
    Reply cut;
    cut.bodyLimit = 1000;
    struct Case {
        const char* name;
        std::vector<Reply> queued;
        Reply always;
        std::vector<Report> milestones;
        size_t attempts;
    } cases[] = {
        {"two failures, then success", {unavailable, unavailable}, {}, {kStart, kSuccess}, 3},
        // Other failures cost 2 of the 12: six attempts.
        {"persistent error status", {}, unavailable, {kStart, {DL_CODE_FAIL, 22.0, "LibCurl"}}, 6},
        // A body that ends early costs 1: twelve attempts.
        {"body cut short every time", {}, cut, {kStart, {DL_CODE_FAIL, 18.0, "LibCurl"}}, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DownloadServer server;
        auto package = dltest::PublishPackage(server, folder_, 2 * kMiB);
        server.SetReply(package.finalPath, c.always);
        server.QueueReplies(package.finalPath, c.queued);
        dltest::PauseLog pauses;
        settings_.pause = pauses.Seam();
        dltest::ReportRecorder reports;
        testsupport::StderrCapture log;
        CCurlDownloader downloader(reports.Callback(), server.Url(package.shortPath), target_,
                                   settings_);
        downloader.Start();

        ASSERT_TRUE(reports.WaitForEnd());
        EXPECT_EQ(reports.Milestones(), c.milestones);
        EXPECT_EQ(server.Requests("GET", package.finalPath).size(), c.attempts);
        EXPECT_EQ(pauses.Milliseconds(), std::vector<int64_t>(c.attempts - 1, 500));
        EXPECT_EQ(CountOf(log.Text(), "(CCurlDownloader::dlThreadFun)"),
                  static_cast<int>(c.attempts - 1));
        std::filesystem::remove(target_);
    }
}

TEST_F(CurlDownloaderTest, LaterStartResumesWhatTheFailedRunReceived) {
    auto package = dltest::PublishPackage(server_, folder_, 2 * kMiB);
    Reply cut;
    cut.bodyLimit = 1000;
    server_.QueueReplies(package.finalPath, std::vector<Reply>(12, cut));
    auto downloader = Make(server_.Url(package.shortPath));
    downloader->Start();
    ASSERT_TRUE(reports_.WaitForEnd());

    downloader->Start();
    ASSERT_TRUE(reports_.WaitForCode(DL_CODE_SUCCESS));

    EXPECT_THAT(reports_.Milestones(),
                ElementsAre(kStart, Report{DL_CODE_FAIL, 18.0, "LibCurl"}, kStart, kSuccess));
    EXPECT_EQ(server_.Requests("GET", package.finalPath).back().range, "bytes=12000-");
    EXPECT_TRUE(dltest::SameContent(target_, package.localFile));
}

TEST_F(CurlDownloaderTest, EmptyTargetFailsWithoutTransfer) {
    auto package = dltest::PublishPackage(server_, folder_, 2 * kMiB);
    target_.clear();
    auto downloader = Make(server_.Url(package.shortPath));
    downloader->Start();

    ASSERT_TRUE(reports_.WaitForEnd());
    EXPECT_THAT(reports_.All(), ElementsAre(kStart, Report{DL_CODE_FAIL, 1.0, ""}));
    EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(CurlDownloaderTest, WorkerThatCannotBeCreatedEndsTheRun) {
    auto package = dltest::PublishPackage(server_, folder_, 2 * kMiB);
    settings_.allowThread = [] { return false; };
    auto downloader = Make(server_.Url(package.shortPath));
    downloader->Start();

    EXPECT_THAT(reports_.All(), ElementsAre(Report{DL_CODE_FAIL, 1.0, ""}));
}

TEST_F(CurlDownloaderTest, ConstructionDeletesStalePartFile) {
    dltest::CopyPrefix(__FILE__, target_ + ".part", 100);
    auto downloader = Make(server_.Url("/software/370"));
    EXPECT_FALSE(dltest::Exists(target_ + ".part"));
}

TEST_F(CurlDownloaderTest, DestructionDuringTransferOrPauseCancelsPromptlyAndSilently) {
    Reply stall;
    stall.bodyLimit = 0;
    stall.stallAtLimit = true;
    Reply unavailable;
    unavailable.status = 503;
    for (const Reply& reply : {stall, unavailable}) {
        DownloadServer server;
        auto package = dltest::PublishPackage(server, folder_, 2 * kMiB);
        server.SetReply(package.finalPath, reply);
        settings_.pause = nullptr;  // real, cancellable pauses
        dltest::ReportRecorder reports;
        auto downloader = std::make_unique<CCurlDownloader>(
            reports.Callback(), server.Url(package.shortPath), target_, settings_);
        downloader->Start();
        while (server.Requests("GET", package.finalPath).empty()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }

        const auto before = std::chrono::steady_clock::now();
        downloader.reset();
        EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
        EXPECT_THAT(reports.All(), ElementsAre(kStart));
        EXPECT_FALSE(dltest::Exists(target_ + ".part"));
    }
}

}  // namespace
