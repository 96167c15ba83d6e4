#include "download/curl_client.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "download_test_support.h"
#include "support/download_server.h"

namespace {

using dltest::DigestForm;
using testsupport::DownloadServer;
using testsupport::Reply;

constexpr int64_t kMiB = 1048576;

struct Progress {
    double speed;
    double percent;
};

class CurlClientTest : public testing::Test {
  protected:
    // A client for `address` whose progress reports land in progress_.
    std::unique_ptr<CurlClient> MakeClient(const std::string& address) {
        return std::make_unique<CurlClient>(
            address, target_,
            [this](double speed, double, double percent) {
                progress_.push_back({speed, percent});
            },
            settings_);
    }

    dltest::CurlGlobal curl_;
    dltest::TempFolder folder_;
    DownloadServer server_;
    std::string target_ = folder_.File("package.exe");
    download::DownloadSettings settings_;
    std::vector<Progress> progress_;
};

TEST_F(CurlClientTest, DownloadsThroughRedirectIntoTargetAndKeepsNoPartFile) {
    auto package = dltest::PublishPackage(server_, folder_, 3 * kMiB + 17);
    auto client = MakeClient(server_.Url(package.shortPath));

    EXPECT_EQ(client->Start(), 0);

    EXPECT_TRUE(dltest::SameContent(target_, package.localFile));
    EXPECT_FALSE(dltest::Exists(client->PartPath()));
    EXPECT_EQ(client->RealUrl(), server_.Url(package.finalPath));
    EXPECT_EQ(client->TotalLength(), 3.0 * kMiB + 17);
}

TEST_F(CurlClientTest, LengthBelowOneMebibyteOrUnknownEndsBeforeAnyTransfer) {
    struct Case {
        int64_t size;
        bool noLength;
        int expected;
    } cases[] = {
        {kMiB, false, 0},
        {kMiB - 1, false, CurlClient::kLengthUnknown},
        {4 * kMiB, true, CurlClient::kLengthUnknown},
    };
    for (const Case& c : cases) {
        DownloadServer server;
        auto package = dltest::PublishPackage(server, folder_, c.size);
        Reply reply;
        reply.noLength = c.noLength;
        server.SetReply(package.finalPath, reply);
        auto client = MakeClient(server.Url(package.shortPath));

        EXPECT_EQ(client->Start(), c.expected) << c.size;
        EXPECT_EQ(server.Requests("GET", package.finalPath).size(), c.expected == 0 ? 1u : 0u);
        std::filesystem::remove(target_);
    }
}

TEST_F(CurlClientTest, RequestKeepsConnectionAliveAndAnnouncesNoEncoding) {
    auto package = dltest::PublishPackage(server_, folder_, 2 * kMiB);
    auto client = MakeClient(server_.Url(package.shortPath));

    ASSERT_EQ(client->Start(), 0);

    auto gets = server_.Requests("GET", package.finalPath);
    ASSERT_EQ(gets.size(), 1u);
    EXPECT_EQ(gets[0].acceptEncoding, "");
    EXPECT_EQ(gets[0].connection, "keep-alive");
    EXPECT_EQ(gets[0].range, "");
}

TEST_F(CurlClientTest, PartFileLeftByEarlierAttemptIsResumedAndCountedAsDone) {
    auto package = dltest::PublishPackage(server_, folder_, 2 * kMiB);
    settings_.calendarSecond = [second = int64_t{1000}]() mutable { return second++; };
    auto client = MakeClient(server_.Url(package.shortPath));
    dltest::CopyPrefix(package.localFile, client->PartPath(), 300000);

    ASSERT_EQ(client->Start(), 0);

    EXPECT_TRUE(dltest::SameContent(target_, package.localFile));
    auto gets = server_.Requests("GET", package.finalPath);
    ASSERT_EQ(gets.size(), 1u);
    EXPECT_EQ(gets[0].range, "bytes=300000-");
    ASSERT_FALSE(progress_.empty());
    EXPECT_GE(progress_.front().percent, 300000.0 * 100 / (2 * kMiB));
    for (const Progress& p : progress_) {
        EXPECT_LE(p.percent, 100.0);
    }
}

TEST_F(CurlClientTest, BodyCutShortFailsWithPartialFileAndNextAttemptResumes) {
    auto package = dltest::PublishPackage(server_, folder_, 2 * kMiB);
    Reply cut;
    cut.bodyLimit = 700000;
    server_.QueueReplies(package.finalPath, {cut});
    auto client = MakeClient(server_.Url(package.shortPath));

    EXPECT_EQ(client->Start(), CURLE_PARTIAL_FILE);
    EXPECT_EQ(dltest::SizeOf(client->PartPath()), 700000);
    EXPECT_FALSE(dltest::Exists(target_));

    EXPECT_EQ(client->Start(), 0);
    EXPECT_TRUE(dltest::SameContent(target_, package.localFile));
    auto gets = server_.Requests("GET", package.finalPath);
    ASSERT_EQ(gets.size(), 2u);
    EXPECT_EQ(gets[1].range, "bytes=700000-");
    // Address and length were found once and reused by the second attempt.
    EXPECT_EQ(server_.Requests("HEAD", package.shortPath).size(), 1u);
}

TEST_F(CurlClientTest, ErrorStatusOfDownloadKeepsPartFileAndTarget) {
    auto package = dltest::PublishPackage(server_, folder_, 2 * kMiB);
    Reply notFound;
    notFound.status = 404;
    server_.SetReply(package.finalPath, notFound);
    std::ofstream(target_) << "older package";
    auto client = MakeClient(server_.Url(package.shortPath));

    EXPECT_EQ(client->Start(), CURLE_HTTP_RETURNED_ERROR);
    EXPECT_TRUE(dltest::Exists(client->PartPath()));
    EXPECT_EQ(dltest::ReadFile(target_), "older package");
}

TEST_F(CurlClientTest, SuccessfulTransferReplacesExistingTarget) {
    auto package = dltest::PublishPackage(server_, folder_, 2 * kMiB);
    std::ofstream(target_) << "older package";
    auto client = MakeClient(server_.Url(package.shortPath));

    ASSERT_EQ(client->Start(), 0);
    EXPECT_TRUE(dltest::SameContent(target_, package.localFile));
}

TEST_F(CurlClientTest, FailedLengthQueryIsReportedWithItsStatus) {
    auto package = dltest::PublishPackage(server_, folder_, 2 * kMiB);
    Reply forbidden;
    forbidden.status = 403;
    forbidden.statusOnHead = true;
    server_.SetReply(package.finalPath, forbidden);
    std::vector<std::pair<std::string, std::string>> reports;
    settings_.reportTask = [&](const std::string& task, const std::string& reason) {
        reports.emplace_back(task, reason);
    };
    auto client = MakeClient(server_.Url(package.shortPath));

    EXPECT_EQ(client->Start(), CurlClient::kLengthUnknown);

    ASSERT_FALSE(reports.empty());
    for (const auto& [task, reason] : reports) {
        EXPECT_EQ(task, "下载失败原因");
        EXPECT_EQ(reason, "1.获取文件大小的状态码为=403；");
    }
    EXPECT_TRUE(server_.Requests("GET", package.finalPath).empty());
}

TEST_F(CurlClientTest, ProgressIsEvaluatedAtMostOncePerCalendarSecond) {
    auto package = dltest::PublishPackage(server_, folder_, 8 * kMiB);
    settings_.calendarSecond = [] { return int64_t{5000}; };
    auto client = MakeClient(server_.Url(package.shortPath));

    ASSERT_EQ(client->Start(), 0);
    EXPECT_LE(progress_.size(), 1u);

    // With a clock that moves on at every look, each evaluation with data reports.
    std::filesystem::remove(target_);
    progress_.clear();
    settings_.calendarSecond = [second = int64_t{1000}]() mutable { return second++; };
    client = MakeClient(server_.Url(package.shortPath));
    ASSERT_EQ(client->Start(), 0);
    EXPECT_GE(progress_.size(), 2u);
    for (size_t i = 1; i < progress_.size(); ++i) {
        EXPECT_GE(progress_[i].percent, progress_[i - 1].percent);
        EXPECT_GT(progress_[i].speed, 0.0);
    }
}

TEST_F(CurlClientTest, StalledTransferFailsWithTimeoutInsteadOfHanging) {
    auto package = dltest::PublishPackage(server_, folder_, 2 * kMiB);
    // Stalled from the first byte: libcurl averages the speed over several seconds, so a
    // stall after some data would take that much longer to notice.
    Reply stall;
    stall.bodyLimit = 0;
    stall.stallAtLimit = true;
    server_.SetReply(package.finalPath, stall);
    settings_.singleStreamStallSeconds = 1;
    auto client = MakeClient(server_.Url(package.shortPath));

    EXPECT_EQ(client->Start(), CURLE_OPERATION_TIMEDOUT);
}

TEST_F(CurlClientTest, RefusedResumeDiscardsPartFileSoTheNextAttemptStartsFromZero) {
    auto package = dltest::PublishPackage(server_, folder_, 2 * kMiB);
    Reply whole;
    whole.ignoreRange = true;
    server_.SetReply(package.finalPath, whole);
    auto client = MakeClient(server_.Url(package.shortPath));
    dltest::CopyPrefix(package.localFile, client->PartPath(), 500000);

    EXPECT_EQ(client->Start(), CURLE_RANGE_ERROR);
    EXPECT_FALSE(dltest::Exists(client->PartPath()));

    EXPECT_EQ(client->Start(), 0);
    EXPECT_TRUE(dltest::SameContent(target_, package.localFile));
    EXPECT_EQ(server_.Requests("GET", package.finalPath).back().range, "");
}

TEST_F(CurlClientTest, FailedRenameKeepsCompletePartFileAndIsRetriable) {
    auto package = dltest::PublishPackage(server_, folder_, 2 * kMiB);
    // A non-empty folder in the target's place cannot be replaced by a file.
    std::filesystem::create_directories(target_ + "/occupied");
    auto client = MakeClient(server_.Url(package.shortPath));

    EXPECT_EQ(client->Start(), CurlClient::kRenameFailed);
    EXPECT_EQ(dltest::SizeOf(client->PartPath()), 2 * kMiB);

    std::filesystem::remove_all(target_);
    EXPECT_EQ(client->Start(), 0);
    EXPECT_TRUE(dltest::SameContent(target_, package.localFile));
}

TEST_F(CurlClientTest, UnwritablePartFileEndsWithItsSystemMessage) {
    auto package = dltest::PublishPackage(server_, folder_, 2 * kMiB);
    target_ = folder_.File("missing-folder/package.exe");
    auto client = MakeClient(server_.Url(package.shortPath));

    EXPECT_EQ(client->Start(), CurlClient::kPartFileError);
    EXPECT_EQ(client->ErrorText(), "No such file or directory");
}

TEST_F(CurlClientTest, CancelAbortsTheRunningTransfer) {
    auto package = dltest::PublishPackage(server_, folder_, 8 * kMiB);
    settings_.calendarSecond = [second = int64_t{1000}]() mutable { return second++; };
    CurlClient* raw = nullptr;
    auto client = std::make_unique<CurlClient>(
        server_.Url(package.shortPath), target_, [&](double, double, double) { raw->Cancel(); },
        settings_);
    raw = client.get();

    EXPECT_EQ(client->Start(), CURLE_ABORTED_BY_CALLBACK);
    EXPECT_FALSE(dltest::Exists(target_));
}

TEST_F(CurlClientTest, DestructionRemovesPartFile) {
    auto package = dltest::PublishPackage(server_, folder_, 2 * kMiB);
    Reply cut;
    cut.bodyLimit = 1000;
    server_.SetReply(package.finalPath, cut);
    std::string partPath;
    {
        auto client = MakeClient(server_.Url(package.shortPath));
        partPath = client->PartPath();
        ASSERT_EQ(client->Start(), CURLE_PARTIAL_FILE);
        ASSERT_TRUE(dltest::Exists(partPath));
    }
    EXPECT_FALSE(dltest::Exists(partPath));
}

TEST_F(CurlClientTest, FileAddressWithNonAsciiNameIsFetched) {
    const std::string source = folder_.File("пакет安装.bin");
    testsupport::WriteRandomFile(source, 2 * kMiB, 7);
    auto client = MakeClient("file://" + source);

    ASSERT_EQ(client->Start(), 0);
    EXPECT_TRUE(dltest::SameContent(target_, source));
}

class CurlClientHttpsTest : public CurlClientTest {
  protected:
    DownloadServer tlsServer_{DownloadServer::Scheme::kHttps};
};

TEST_F(CurlClientHttpsTest, TrustedAuthorityDownloadsAndUnknownAuthorityIsRefused) {
    auto package = dltest::PublishPackage(tlsServer_, folder_, 2 * kMiB);

    auto untrusted = MakeClient(tlsServer_.Url(package.shortPath));
    EXPECT_EQ(untrusted->Start(), CurlClient::kLengthUnknown);
    EXPECT_TRUE(tlsServer_.Requests().empty());

    settings_.caFile = tlsServer_.AuthorityFile();
    auto trusted = MakeClient(tlsServer_.Url(package.shortPath));
    ASSERT_EQ(trusted->Start(), 0);
    EXPECT_TRUE(dltest::SameContent(target_, package.localFile));
}

}  // namespace
