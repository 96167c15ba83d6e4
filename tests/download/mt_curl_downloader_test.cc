#include "download/mt_curl_downloader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "download/download_codes.h"
#include "download/md5.h"
#include "download/mt_download_part.h"
#include "download_test_support.h"
#include "report_recorder.h"
#include "support/download_server.h"

namespace {

using dltest::DigestForm;
using dltest::Report;
using download::ByteRange;
using testing::ElementsAre;
using testsupport::DownloadServer;
using testsupport::Reply;

constexpr int64_t kMiB = 1048576;
const Report kStart{DL_CODE_START, 1.0, ""};
const Report kSuccess{DL_CODE_SUCCESS, 0.0, "LibCurl"};
const Report kMismatch{DL_CODE_MD5, 0.0, "mtcurl文件md5校验失败"};
const Report kResolutionFailed{DL_CODE_FAIL, 0.0, "LibCurl"};

Reply Status(int status) {
    Reply reply;
    reply.status = status;
    return reply;
}

TEST(PlanRangesTest, FileIsSplitInUnitsOfTenMebibytes) {
    struct Case {
        int64_t length;
        std::vector<ByteRange> ranges;
    } cases[] = {
        {256, {{0, 255}}},
        {15 * kMiB, {{0, 15728639}}},
        {20 * kMiB - 1, {{0, 20971518}}},
        {20 * kMiB, {{0, 10485759}, {10485760, 20971519}}},
        {25 * kMiB, {{0, 13107199}, {13107200, 26214399}}},
        // The odd byte goes to the last range.
        {25 * kMiB + 1, {{0, 13107199}, {13107200, 26214400}}},
        // Never more than two, and lengths past 2 GiB keep their 64 bits.
        {5LL * 1024 * kMiB + 1, {{0, 2684354559}, {2684354560, 5368709120}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(download::PlanRanges(c.length), c.ranges) << c.length;
    }
}

class MtCurlDownloaderTest : public testing::Test {
  protected:
    std::unique_ptr<CMTCurlDownloader> Make(const std::string& address,
                                            dltest::ReportRecorder& reports) {
        auto downloader =
            std::make_unique<CMTCurlDownloader>(reports.Callback(), address, target_, settings_);
        reports.RestartOnRetry(downloader.get());
        return downloader;
    }
    std::unique_ptr<CMTCurlDownloader> Make(const std::string& address) {
        return Make(address, reports_);
    }
    std::string Part(int index) const { return target_ + "_" + std::to_string(index); }

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

TEST_F(MtCurlDownloaderTest, TwoRangesAreFetchedMergedAndCheckedInEitherDigestCase) {
    for (DigestForm form : {DigestForm::kLower, DigestForm::kUpper}) {
        DownloadServer server;
        dltest::ReportRecorder reports;
        auto package = dltest::PublishPackage(server, folder_, 25 * kMiB, form);
        auto downloader = Make(server.Url(package.shortPath), reports);
        downloader->Start();

        ASSERT_TRUE(reports.WaitForEnd());
        EXPECT_THAT(reports.Milestones(), ElementsAre(kStart, kSuccess));
        EXPECT_TRUE(dltest::SameContent(target_, package.localFile));
        EXPECT_FALSE(dltest::Exists(Part(0)));
        EXPECT_FALSE(dltest::Exists(Part(1)));
        std::vector<std::string> ranges;
        for (const auto& request : server.Requests("GET", package.finalPath)) {
            ranges.push_back(request.range);
        }
        EXPECT_THAT(ranges,
                    testing::UnorderedElementsAre("bytes=0-13107199", "bytes=13107200-26214399"));
        for (double value : reports.ProgressValues()) {
            EXPECT_GT(value, 0.0);
            EXPECT_LE(value, 1.0);
        }
    }
}

TEST_F(MtCurlDownloaderTest, SmallPackageIsOneRangeAndAcceptsAServerIgnoringRanges) {
    auto package = dltest::PublishPackage(server_, folder_, 3 * kMiB);
    Reply whole;
    whole.ignoreRange = true;
    server_.SetReply(package.finalPath, whole);
    auto downloader = Make(server_.Url(package.shortPath));
    downloader->Start();

    ASSERT_TRUE(reports_.WaitForEnd());
    EXPECT_THAT(reports_.Milestones(), ElementsAre(kStart, kSuccess));
    EXPECT_TRUE(dltest::SameContent(target_, package.localFile));
    auto gets = server_.Requests("GET", package.finalPath);
    ASSERT_EQ(gets.size(), 1u);
    EXPECT_EQ(gets[0].range, "bytes=0-3145727");
    EXPECT_EQ(gets[0].acceptEncoding, "");
}

TEST_F(MtCurlDownloaderTest, WholeBodyAnsweringARangeIsNotWrittenAndTheRangeStartsOver) {
    auto package = dltest::PublishPackage(server_, folder_, 25 * kMiB);
    Reply whole;
    whole.ignoreRange = true;
    server_.QueueReplies(package.finalPath, {whole}, "bytes=13107200-26214399");
    auto downloader = Make(server_.Url(package.shortPath));
    downloader->Start();

    ASSERT_TRUE(reports_.WaitForEnd());
    EXPECT_THAT(reports_.Milestones(), ElementsAre(kStart, kSuccess));
    EXPECT_TRUE(dltest::SameContent(target_, package.localFile));
    EXPECT_EQ(server_.Requests("GET", package.finalPath).size(), 3u);
}

TEST_F(MtCurlDownloaderTest, AddressWithoutDigestSucceedsAfterNotice) {
    auto package = dltest::PublishPackage(server_, folder_, 2 * kMiB, DigestForm::kNone);
    auto downloader = Make(server_.Url(package.shortPath));
    downloader->Start();

    ASSERT_TRUE(reports_.WaitForEnd());
    EXPECT_THAT(reports_.Milestones(),
                ElementsAre(kStart, Report{DL_CODE_MD5, 0.0, "mtcurl获取url-md5失败"}, kSuccess));
}

TEST_F(MtCurlDownloaderTest, UnresolvableAddressOrLengthFailsAtOnce) {
    struct Case {
        const char* name;
        int64_t size;
        Reply head;
        bool curlAvailable;
        std::vector<Report> reports;
    } cases[] = {
        {"smallest length", 256, {}, true, {kStart, kSuccess}},
        {"length 255", 255, {}, true, {kStart, kResolutionFailed}},
        {"no length",
         4096,
         [] {
             Reply r;
             r.noLength = true;
             return r;
         }(),
         true,
         {kStart, kResolutionFailed}},
        {"error status",
         4096,
         [] {
             Reply r = Status(404);
             r.statusOnHead = true;
             return r;
         }(),
         true,
         {kStart, kResolutionFailed}},
        {"libcurl unavailable", 4096, {}, false, {kStart, kResolutionFailed}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DownloadServer server;
        auto package = dltest::PublishPackage(server, folder_, c.size);
        server.SetReply(package.finalPath, c.head);
        settings_.curlAvailable = c.curlAvailable;
        dltest::ReportRecorder reports;
        auto downloader = Make(server.Url(package.shortPath), reports);
        downloader->Start();

        ASSERT_TRUE(reports.WaitForEnd());
        EXPECT_EQ(reports.Milestones(), c.reports);
    }
}

TEST_F(MtCurlDownloaderTest, RestartAfterFailedRangeResumesPartFilesAndSkipsCompleteRanges) {
    auto package = dltest::PublishPackage(server_, folder_, 25 * kMiB);
    Reply cut;
    cut.bodyLimit = 4000000;
    server_.QueueReplies(package.finalPath, {cut}, "bytes=0-13107199");
    // Seven failures spend the second range's budget of 12 at 2 each.
    server_.QueueReplies(package.finalPath, std::vector<Reply>(7, Status(503)),
                         "bytes=13107200-26214399");
    auto downloader = Make(server_.Url(package.shortPath));
    downloader->Start();

    ASSERT_TRUE(reports_.WaitForEnd());
    EXPECT_THAT(reports_.Milestones(),
                ElementsAre(kStart, Report{DL_CODE_RETRY, 22.0, "LibCurl"}, kStart, kSuccess));
    EXPECT_TRUE(dltest::SameContent(target_, package.localFile));
    std::vector<std::string> ranges;
    for (const auto& request : server_.Requests("GET", package.finalPath)) {
        ranges.push_back(request.range);
    }
    // The first range resumed after its cut within the run and was complete by the restart,
    // which asked only for the second range, from its start.
    EXPECT_EQ(std::count(ranges.begin(), ranges.end(), "bytes=4000000-13107199"), 1);
    EXPECT_EQ(std::count(ranges.begin(), ranges.end(), "bytes=0-13107199"), 1);
    EXPECT_EQ(std::count(ranges.begin(), ranges.end(), "bytes=13107200-26214399"), 8);
    EXPECT_EQ(ranges.back(), "bytes=13107200-26214399");
    EXPECT_EQ(server_.Requests("HEAD", package.shortPath).size(), 1u);
}

TEST_F(MtCurlDownloaderTest, RangeBudgetsThenOneRestartThenFailure) {
    Reply cut;
    cut.bodyLimit = 1000;
    struct Case {
        const char* name;
        Reply always;
        int code;
        size_t attemptsPerRun;
    } cases[] = {
        {"error status costs 2 of 12", Status(503), 22, 7},
        {"body ended early costs 1", cut, 18, 13},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DownloadServer server;
        auto package = dltest::PublishPackage(server, folder_, 3 * kMiB);
        server.SetReply(package.finalPath, c.always);
        dltest::PauseLog pauses;
        settings_.pause = pauses.Seam();
        dltest::ReportRecorder reports;
        auto downloader = Make(server.Url(package.shortPath), reports);
        downloader->Start();

        ASSERT_TRUE(reports.WaitForEnd());
        EXPECT_EQ(reports.Milestones(),
                  (std::vector<Report>{kStart,
                                       {DL_CODE_RETRY, double(c.code), "LibCurl"},
                                       kStart,
                                       {DL_CODE_FAIL, double(c.code), "LibCurl"}}));
        EXPECT_EQ(server.Requests("GET", package.finalPath).size(), 2 * c.attemptsPerRun);
        std::vector<int64_t> expectedPauses;
        for (int run = 0; run < 2; ++run) {
            expectedPauses.push_back(100);
            expectedPauses.insert(expectedPauses.end(), c.attemptsPerRun - 1, 400);
        }
        EXPECT_EQ(pauses.Milliseconds(), expectedPauses);
        // No progress was reported, so nothing was kept for a later run.
        EXPECT_FALSE(dltest::Exists(Part(0)));
    }
}

TEST_F(MtCurlDownloaderTest, MismatchRemovesTargetAndAsksForOneRestart) {
    auto package = dltest::PublishPackage(server_, folder_, 2 * kMiB);
    testsupport::WriteRandomFile(package.localFile, 2 * kMiB, 99);
    auto downloader = Make(server_.Url(package.shortPath));
    downloader->Start();

    ASSERT_TRUE(reports_.WaitForEnd());
    EXPECT_THAT(reports_.Milestones(),
                ElementsAre(kStart, kMismatch, Report{DL_CODE_RETRY, 0.0, "LibCurl"}, kStart,
                            kMismatch, Report{DL_CODE_FAIL, 0.0, "LibCurl"}));
    EXPECT_FALSE(dltest::Exists(target_));
    EXPECT_EQ(server_.Requests("GET", package.finalPath).size(), 2u);
}

TEST_F(MtCurlDownloaderTest, DigestThatCannotBeComputedCountsAsMismatch) {
    auto package = dltest::PublishPackage(server_, folder_, 2 * kMiB);
    int looks = 0;
    settings_.fileDigest = [&](const std::string& path) {
        return ++looks == 1 ? std::string() : download::FileMd5(path);
    };
    auto downloader = Make(server_.Url(package.shortPath));
    downloader->Start();

    ASSERT_TRUE(reports_.WaitForEnd());
    EXPECT_THAT(
        reports_.Milestones(),
        ElementsAre(kStart, kMismatch, Report{DL_CODE_RETRY, 0.0, "LibCurl"}, kStart, kSuccess));
}

TEST_F(MtCurlDownloaderTest, FailedMergeKeepsBothRangesAndFails) {
    auto package = dltest::PublishPackage(server_, folder_, 25 * kMiB);
    // A non-empty folder in the target's place: the merged file cannot be renamed to it.
    std::filesystem::create_directories(target_ + "/occupied");
    auto downloader = Make(server_.Url(package.shortPath));
    downloader->Start();

    ASSERT_TRUE(reports_.WaitForEnd());
    EXPECT_THAT(reports_.Milestones(), ElementsAre(kStart, Report{DL_CODE_RETRY, -3.0, "LibCurl"},
                                                   kStart, Report{DL_CODE_FAIL, -3.0, "LibCurl"}));
    EXPECT_EQ(dltest::SizeOf(Part(0)), 13107200);
    EXPECT_EQ(dltest::SizeOf(Part(1)), 13107200);
    // The restart resumed the complete ranges without asking for them again.
    EXPECT_EQ(server_.Requests("GET", package.finalPath).size(), 2u);
}

TEST_F(MtCurlDownloaderTest, ThreadThatCannotBeCreatedEndsTheRun) {
    struct Case {
        const char* name;
        int threadsAllowed;
        std::vector<Report> reports;
    } cases[] = {
        {"worker", 0, {{DL_CODE_FAIL, 1.0, ""}}},
        {"first range", 1, {kStart, {DL_CODE_FAIL, 1.0, ""}}},
        {"second range", 2, {kStart, {DL_CODE_FAIL, 1.0, ""}}},
        {"waiter", 3, {kStart, {DL_CODE_FAIL, 1.0, ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DownloadServer server;
        auto package = dltest::PublishPackage(server, folder_, 25 * kMiB);
        Reply stall;
        stall.bodyLimit = 0;
        stall.stallAtLimit = true;
        server.SetReply(package.finalPath, stall);
        settings_.allowThread = [left = c.threadsAllowed]() mutable { return left-- > 0; };
        dltest::ReportRecorder reports;
        auto downloader = Make(server.Url(package.shortPath), reports);
        downloader->Start();

        ASSERT_TRUE(reports.WaitForEnd());
        EXPECT_EQ(reports.Milestones(), c.reports);
    }
}

TEST_F(MtCurlDownloaderTest, PackagesOfTwoGibibytesAndMoreResolveTo64BitRanges) {
    const std::string sparse = folder_.File("large.bin");
    { std::ofstream out(sparse, std::ios::binary); }
    ASSERT_EQ(truncate(sparse.c_str(), 3LL * 1024 * kMiB), 0);
    server_.ServeFile("/dl/large/setup.exe", sparse);
    server_.SetReply("/dl/large/setup.exe", Status(503));
    auto downloader = Make(server_.Url("/dl/large/setup.exe"));
    downloader->Start();

    ASSERT_TRUE(reports_.WaitForEnd());
    std::vector<std::string> ranges;
    for (const auto& request : server_.Requests("GET", "/dl/large/setup.exe")) {
        ranges.push_back(request.range);
    }
    EXPECT_THAT(ranges, testing::Contains("bytes=0-1610612735"));
    EXPECT_THAT(ranges, testing::Contains("bytes=1610612736-3221225471"));
}

TEST_F(MtCurlDownloaderTest, HttpsRangesTrustTheConfiguredAuthority) {
    DownloadServer tls(DownloadServer::Scheme::kHttps);
    auto package = dltest::PublishPackage(tls, folder_, 21 * kMiB);
    settings_.caFile = tls.AuthorityFile();
    auto downloader = Make(tls.Url(package.shortPath));
    downloader->Start();

    ASSERT_TRUE(reports_.WaitForEnd());
    EXPECT_THAT(reports_.Milestones(), ElementsAre(kStart, kSuccess));
    EXPECT_TRUE(dltest::SameContent(target_, package.localFile));
}

TEST_F(MtCurlDownloaderTest, ConstructionDeletesTargetAndPartFiles) {
    for (const std::string& path : {target_, Part(0), Part(1)}) {
        std::ofstream(path) << "stale";
    }
    auto downloader = Make(server_.Url("/software/370"));
    EXPECT_FALSE(dltest::Exists(target_));
    EXPECT_FALSE(dltest::Exists(Part(0)));
    EXPECT_FALSE(dltest::Exists(Part(1)));
}

TEST_F(MtCurlDownloaderTest, DestructionWhileRangesRunCancelsPromptlyAndSilently) {
    auto package = dltest::PublishPackage(server_, folder_, 25 * kMiB);
    Reply stall;
    stall.bodyLimit = 0;
    stall.stallAtLimit = true;
    server_.SetReply(package.finalPath, stall);
    settings_.pause = nullptr;
    auto downloader = Make(server_.Url(package.shortPath));
    downloader->Start();
    while (server_.Requests("GET", package.finalPath).size() < 2) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }

    const auto before = std::chrono::steady_clock::now();
    downloader.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    EXPECT_THAT(reports_.All(), ElementsAre(kStart));
}

}  // namespace
