#include "analytics-sdk/http_sender.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "sdk_test_support.h"
#include "support/collection_endpoint.h"
#include "support/stderr_capture.h"
#include "support/test_certificate.h"

namespace {

using namespace analytics_sdk;
using testsupport::CollectionEndpoint;
using testsupport::StderrCapture;

const std::string kBatch = R"([{"a":1},{"b":"\u0001 \"x\""}])";

TEST(HttpSender, PostsTheEncodedBatchWithTheSdkUserAgent) {
    CollectionEndpoint endpoint;
    SendFlag flag;
    HttpSender sender(endpoint.Url(), {}, flag);
    StderrCapture capture;
    ASSERT_TRUE(sender.Send(kBatch));
    EXPECT_TRUE(flag.Get());
    EXPECT_EQ(capture.Text(), "");

    const auto uploads = endpoint.Uploads();
    ASSERT_EQ(uploads.size(), 1u);
    EXPECT_TRUE(uploads[0].decoded) << uploads[0].error;
    EXPECT_EQ(uploads[0].batchText, kBatch);
    EXPECT_THAT(uploads[0].body, testing::StartsWith("data_list="));
    EXPECT_THAT(uploads[0].body, testing::EndsWith("&gzip=1"));
    EXPECT_EQ(uploads[0].userAgent, "MxAnalytics CPP SDK 0.9");
    EXPECT_EQ(uploads[0].contentType, "application/x-www-form-urlencoded");
}

TEST(HttpSender, AnyStatusButTwoHundredFailsAndTheFlagFollowsTheLatestUpload) {
    CollectionEndpoint endpoint;
    SendFlag flag;
    HttpSender sender(endpoint.Url(), {}, flag);
    for (int status : {201, 302, 404, 500}) {
        endpoint.SetStatus(status);
        flag.Set(true);
        StderrCapture capture;
        EXPECT_FALSE(sender.Send(kBatch)) << status;
        EXPECT_FALSE(flag.Get()) << status;
        EXPECT_EQ(capture.Text(),
                  "[analytics] Analytics SDK send failed\nAnalytics SDK send failed: rejected\n")
            << status;
    }
    endpoint.SetStatus(200);
    EXPECT_TRUE(sender.Send(kBatch));
    EXPECT_TRUE(flag.Get());
}

TEST(HttpSender, RefusedConnectionFailsWithLibcurlsErrorText) {
    CollectionEndpoint endpoint;
    endpoint.RefuseConnections();
    SendFlag flag;
    flag.Set(true);
    HttpSender sender(endpoint.Url(), {}, flag);
    StderrCapture capture;
    EXPECT_FALSE(sender.Send(kBatch));
    EXPECT_FALSE(flag.Get());
    EXPECT_THAT(capture.Text(), testing::MatchesRegex("\\[analytics\\] Analytics SDK send failed\n"
                                                      "Analytics SDK send failed: .+\n"));
}

TEST(HttpSender, GivesUpAfterThreeSeconds) {
    CollectionEndpoint endpoint;
    endpoint.SetDelay(std::chrono::seconds(6));
    SendFlag flag;
    HttpSender sender(endpoint.Url(), {}, flag);
    StderrCapture capture;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(sender.Send(kBatch));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(2900));
    EXPECT_LT(elapsed, std::chrono::milliseconds(5000));
    EXPECT_THAT(capture.Text(), testing::HasSubstr("Analytics SDK send failed: "));
}

class HttpsSender : public testing::Test {
  protected:
    void SetUp() override {
        const testsupport::TestCertificate certificate = testsupport::MakeLoopbackCertificate();
        testsupport::WriteTextFile(folder_.File("cert.pem"), certificate.certificatePem);
        testsupport::WriteTextFile(folder_.File("key.pem"), certificate.privateKeyPem);
        const testsupport::TestCertificate stranger = testsupport::MakeLoopbackCertificate();
        testsupport::WriteTextFile(folder_.File("stranger.pem"), stranger.certificatePem);
        endpoint_ =
            std::make_unique<CollectionEndpoint>(folder_.File("cert.pem"), folder_.File("key.pem"));
    }

    bool Send(const std::string& url, const std::string& caFile) {
        SendFlag flag;
        HttpSender sender(url, {}, flag, SenderOptions{std::chrono::seconds(3), caFile});
        return sender.Send(kBatch);
    }

    sdktest::TempFolder folder_;
    std::unique_ptr<CollectionEndpoint> endpoint_;
};

TEST_F(HttpsSender, UploadsOnlyToAVerifiedPeerUnderItsOwnName) {
    StderrCapture capture;
    EXPECT_TRUE(Send(endpoint_->Url(), folder_.File("cert.pem")));
    ASSERT_EQ(endpoint_->Uploads().size(), 1u);
    EXPECT_EQ(endpoint_->Uploads()[0].batchText, kBatch);

    // Verification stays on: an unknown authority, the system's store, or a host name the
    // certificate does not carry all fail before anything is posted.
    EXPECT_FALSE(Send(endpoint_->Url(), folder_.File("stranger.pem")));
    EXPECT_FALSE(Send(endpoint_->Url(), ""));
    EXPECT_FALSE(Send(endpoint_->UrlWithHost("localhost"), folder_.File("cert.pem")));
    EXPECT_EQ(endpoint_->Uploads().size(), 1u);
}

}  // namespace
