#include "analytics-sdk/sdk.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <map>
#include <thread>

#include "sdk_test_support.h"
#include "support/collection_endpoint.h"
#include "support/stderr_capture.h"

namespace {

using analytics_sdk::PropertiesNode;
using analytics_sdk::Sdk;
using testsupport::CollectionEndpoint;
using testsupport::StderrCapture;

class SdkTest : public testing::Test {
  protected:
    void TearDown() override { Sdk::Shutdown(); }

    bool Init(const std::string& distinctId = "u1", bool isLoginId = false) {
        return Sdk::Init(StagingPath(), endpoint_.Url(), distinctId, isLoginId);
    }
    std::string StagingPath() const { return folder_.File("staging.txt"); }

    sdktest::TempFolder folder_;
    CollectionEndpoint endpoint_;
};

TEST_F(SdkTest, EveryOperationDoesNothingWithoutAnInstance) {
    StderrCapture capture;
    PropertiesNode properties;
    properties.SetNumber("n", 1);
    EXPECT_FALSE(Sdk::Track("bad-name"));
    EXPECT_FALSE(Sdk::Track("ev", properties));
    EXPECT_FALSE(Sdk::TrackInstallation("ev", properties));
    EXPECT_FALSE(Sdk::Login("L1"));
    EXPECT_FALSE(Sdk::ProfileSet("k", std::string(9000, 'x')));
    EXPECT_FALSE(Sdk::ProfileIncrement("k", 1));
    EXPECT_FALSE(Sdk::ProfileAppend("k", "v"));
    Sdk::RegisterSuperProperties(properties);
    Sdk::ClearSuperProperties();
    EXPECT_FALSE(Sdk::Flush());
    Sdk::Shutdown();
    EXPECT_EQ(capture.Text(), "");
    EXPECT_TRUE(endpoint_.Uploads().empty());
    EXPECT_FALSE(std::filesystem::exists(StagingPath()));
}

TEST_F(SdkTest, InitChecksTheDistinctIdAndKeepsTheFirstInstance) {
    {
        StderrCapture capture;
        EXPECT_FALSE(Init(""));
        EXPECT_FALSE(Init(std::string(256, 'u')));
        EXPECT_EQ(capture.Text(),
                  "The Distinct ID is empty.\nThe Distinct ID is too long, max length is 255.\n");
        EXPECT_FALSE(Sdk::Track("ev"));
    }
    ASSERT_TRUE(Init("first"));
    ASSERT_TRUE(Sdk::Init(folder_.File("other"), "http://127.0.0.1:9/", "second", true));
    ASSERT_TRUE(Sdk::Track("ev"));
    ASSERT_TRUE(Sdk::Flush());
    const auto records = endpoint_.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]["distinct_id"].asString(), "first");
    EXPECT_FALSE(records[0]["properties"].isMember("$is_login_id"));
}

TEST_F(SdkTest, OperationsBecomeTheirRecordsAtTheEndpoint) {
    ASSERT_TRUE(Init());
    PropertiesNode super;
    super.SetString("$app_version", "1.7.9");
    Sdk::RegisterSuperProperties(super);
    PropertiesNode properties;
    properties.SetString("mx_reason", "ok");
    ASSERT_TRUE(Sdk::Track("InstallTask", properties));
    ASSERT_TRUE(Sdk::TrackInstallation("Activity", PropertiesNode()));
    ASSERT_TRUE(Sdk::ProfileSet("name", std::string("n")));
    ASSERT_TRUE(Sdk::ProfileSet("age", 30));
    ASSERT_TRUE(Sdk::ProfileSetOnce("ratio", 0.5));
    ASSERT_TRUE(Sdk::ProfileIncrement("logins", 2L));
    ASSERT_TRUE(Sdk::ProfileAppend("tags", "a"));
    ASSERT_TRUE(Sdk::Login("L1"));
    ASSERT_TRUE(Sdk::Track("after"));
    {
        StderrCapture capture;
        EXPECT_FALSE(Sdk::ProfileSet("name", std::string("\x01")));
        EXPECT_FALSE(Sdk::Track("bad name"));
    }
    ASSERT_TRUE(Sdk::Flush());
    EXPECT_TRUE(Sdk::LastSendSucceeded());

    const auto records = endpoint_.Records();
    ASSERT_EQ(records.size(), 9u);
    struct Expected {
        const char* type;
        const char* properties;  // without the super properties of track records
    } expected[] = {
        {"track", R"({"mx_reason":"ok"})"},       {"track", R"({"$ios_install_source":""})"},
        {"profile_set", R"({"name":"n"})"},       {"profile_set", R"({"age":30})"},
        {"profile_set_once", R"({"ratio":0.5})"}, {"profile_increment", R"({"logins":2})"},
        {"profile_append", R"({"tags":["a"]})"},  {"track_signup", "{}"},
        {"track", R"({"$is_login_id":true})"},
    };
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i]["type"].asString(), expected[i].type) << i;
        Json::Value properties = records[i]["properties"];
        for (const char* key : {"$lib", "$lib_version", "$app_version"}) {
            properties.removeMember(key);
        }
        EXPECT_EQ(properties, sdktest::ParseJson(expected[i].properties)) << i;
    }
    EXPECT_EQ(records[7]["original_id"].asString(), "u1");
    EXPECT_EQ(records[8]["distinct_id"].asString(), "L1");
}

TEST_F(SdkTest, FlagFollowsTheLatestUploadAndUnsentRecordsSurviveTheRun) {
    ASSERT_TRUE(Init());
    ASSERT_TRUE(Sdk::Track("first"));
    ASSERT_TRUE(Sdk::Flush());
    EXPECT_TRUE(Sdk::LastSendSucceeded());

    endpoint_.SetStatus(500);
    ASSERT_TRUE(Sdk::Track("second"));
    {
        StderrCapture capture;
        EXPECT_FALSE(Sdk::Flush());
    }
    EXPECT_FALSE(Sdk::LastSendSucceeded());
    Sdk::Shutdown();
    EXPECT_FALSE(Sdk::Track("gone"));
    EXPECT_THAT(sdktest::ReadFile(StagingPath()), testing::HasSubstr("\"event\":\"second\""));

    endpoint_.SetStatus(200);
    ASSERT_TRUE(Init());
    ASSERT_TRUE(Sdk::Flush());
    // first, second (rejected), second again from the staging file.
    const auto records = endpoint_.Records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[2]["event"].asString(), "second");
    EXPECT_EQ(records[2]["_track_id"], records[1]["_track_id"]);
    EXPECT_TRUE(Sdk::LastSendSucceeded());
}

// Several threads track while two others flush: every record arrives exactly once and each
// thread's records arrive in the order it made them.
TEST_F(SdkTest, ConcurrentTrackAndFlushLoseAndRepeatNothing) {
    ASSERT_TRUE(Init());
    constexpr int kThreads = 3;
    constexpr int kPerThread = 150;
    std::atomic<int> tracking{kThreads};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &tracking] {
            for (int i = 0; i < kPerThread; ++i) {
                PropertiesNode properties;
                properties.SetNumber("thread", t);
                properties.SetNumber("index", i);
                Sdk::Track("ev", properties);
            }
            --tracking;
        });
    }
    for (int f = 0; f < 2; ++f) {
        threads.emplace_back([&tracking] {
            while (tracking > 0) {
                Sdk::Flush();
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    ASSERT_TRUE(Sdk::Flush());

    std::map<int, int> next;
    const auto records = endpoint_.Records();
    ASSERT_EQ(records.size(), static_cast<size_t>(kThreads * kPerThread));
    for (const Json::Value& record : records) {
        const int thread = record["properties"]["thread"].asInt();
        EXPECT_EQ(record["properties"]["index"].asInt(), next[thread]++);
    }
    for (const auto& upload : endpoint_.Uploads()) {
        EXPECT_LE(upload.records.size(), 30u);
    }
}

TEST_F(SdkTest, ShutdownDuringAnUploadWaitsAndStagesTheFailedBatch) {
    ASSERT_TRUE(Init());
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(Sdk::Track("ev"));
    }
    endpoint_.SetStatus(500);
    endpoint_.HoldAnswers();
    StderrCapture capture;
    auto flush = std::async(std::launch::async, [] { return Sdk::Flush(); });
    ASSERT_TRUE(endpoint_.WaitForUploads(1, std::chrono::seconds(10)));
    auto shutdown = std::async(std::launch::async, [] { Sdk::Shutdown(); });
    EXPECT_EQ(shutdown.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    endpoint_.ReleaseAnswers();
    EXPECT_FALSE(flush.get());
    shutdown.get();
    EXPECT_EQ(sdktest::Lines(sdktest::ReadFile(StagingPath())).size(), 3u);
}

}  // namespace
