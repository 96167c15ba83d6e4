#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <thread>

#include "analytics-sdk/http_sender.h"
#include "analytics-sdk/record_builder.h"
#include "analytics-sdk/sdk_instance.h"
#include "sdk_test_support.h"
#include "support/stderr_capture.h"

namespace {

using namespace analytics_sdk;
using testsupport::StderrCapture;

int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// An instance whose records stay queued: nothing here flushes.
class RecordTest : public testing::Test {
  protected:
    std::unique_ptr<SdkInstance> MakeInstance(const std::string& distinctId, bool isLoginId) {
        auto sender = std::make_unique<HttpSender>("http://127.0.0.1:9/", HeaderPairs{}, flag_);
        auto store = std::make_unique<RecordStore>(folder_.File("staging"), std::move(sender));
        return std::make_unique<SdkInstance>(distinctId, isLoginId, std::move(store));
    }

    static std::vector<std::string> Queued(SdkInstance& sdk) { return sdk.store().QueuedTexts(); }
    static Json::Value Last(SdkInstance& sdk) { return sdktest::ParseJson(Queued(sdk).back()); }

    sdktest::TempFolder folder_;
    SendFlag flag_;
};

TEST_F(RecordTest, TrackRecordHasItsKeysInOrderAndNoBlank) {
    auto sdk = MakeInstance("u1", false);
    const int64_t before = NowMs();
    ASSERT_TRUE(sdk->Track("app_start", PropertiesNode()));
    const int64_t after = NowMs();

    const std::string text = Queued(*sdk).at(0);
    EXPECT_THAT(text, testing::MatchesRegex(
                          R"(\{"_track_id":[0-9]+,"distinct_id":"u1","event":"app_start",)"
                          R"("lib":\{"\$lib":"cpp","\$lib_method":"code","\$lib_version":"0\.9"\},)"
                          R"("properties":\{"\$lib":"cpp","\$lib_version":"0\.9"\},)"
                          R"("time":[0-9]+,"type":"track"\})"));
    const Json::Value record = sdktest::ParseJson(text);
    const int64_t time = record["time"].asInt64();
    EXPECT_GE(time, before);
    EXPECT_LE(time, after);
    const int64_t trackId = record["_track_id"].asInt64();
    EXPECT_LT(trackId, 1'000'000'000);
    EXPECT_EQ(trackId % 10000, time % 10000);
    EXPECT_LE(trackId / 10000 % 1000, 998);
    EXPECT_LE(trackId / 10'000'000, 98);
}

TEST(TrackId, JoinsTwoThreeAndFourDigits) {
    struct Case {
        uint32_t r, s;
        int64_t nowMs;
        int64_t id;
    } cases[] = {
        {0, 0, 1234, 1234},  // "00" "000" "1234": leading zeros vanish
        {98, 998, 1700000006789, 989986789},
        {99, 999, 10000, 0},  // r % 99 == 0, s % 999 == 0
        {197, 1997, 5, 98'998'0005},
        {4294967295u, 4294967295u, 1699999999999, 35619999},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MakeTrackId(c.r, c.s, c.nowMs), c.id) << c.r << " " << c.s;
    }
}

TEST_F(RecordTest, RejectedRecordQueuesNothing) {
    auto sdk = MakeInstance("u1", false);
    PropertiesNode badTime;
    badTime.SetNumber("$time", 5);
    StderrCapture capture;
    EXPECT_FALSE(sdk->Track("bad-name", PropertiesNode()));
    EXPECT_FALSE(sdk->Track("ok", badTime));
    EXPECT_EQ(capture.Text(),
              "The Event Name need to be a valid variable name."
              "The property '$time' should be DateTime type.");
    EXPECT_TRUE(Queued(*sdk).empty());
}

TEST_F(RecordTest, TimeAndProjectPropertiesMoveToTheRecord) {
    auto sdk = MakeInstance("u1", false);
    PropertiesNode properties;
    properties.SetDateTime("$time", 1700000000, 123);
    properties.SetString("$project", "pc_test");
    properties.SetNumber("count", 3);
    ASSERT_TRUE(sdk->Track("ev", properties));
    const std::string text = Queued(*sdk).at(0);
    const Json::Value record = sdktest::ParseJson(text);
    EXPECT_EQ(record["time"].asInt64(), 1700000000123);
    EXPECT_EQ(record["project"].asString(), "pc_test");
    EXPECT_FALSE(record["properties"].isMember("$time"));
    EXPECT_FALSE(record["properties"].isMember("$project"));
    EXPECT_EQ(record["properties"]["count"].asInt(), 3);
    EXPECT_THAT(text, testing::HasSubstr(R"("lib":{"$lib":"cpp","$lib_method":"code",)"
                                         R"("$lib_version":"0.9"},"project":"pc_test",)"
                                         R"("properties":)"));
}

TEST_F(RecordTest, LoginSendsSignUpAndMarksEveryLaterRecord) {
    auto sdk = MakeInstance("u1", false);
    ASSERT_TRUE(sdk->Login("L1"));
    const std::string signUp = Queued(*sdk).at(0);
    EXPECT_THAT(signUp, testing::MatchesRegex(
                            R"(\{"_track_id":[0-9]+,"distinct_id":"L1","event":"\$SignUp",)"
                            R"("lib":\{[^}]*\},"original_id":"u1",)"
                            R"("properties":\{"\$lib":"cpp","\$lib_version":"0\.9"\},)"
                            R"("time":[0-9]+,"type":"track_signup"\})"));

    ASSERT_TRUE(sdk->Track("after", PropertiesNode()));
    PropertiesNode profile;
    profile.SetString("name", "n");
    ASSERT_TRUE(sdk->Profile("profile_set", profile));
    for (const std::string& text : {Queued(*sdk).at(1), Queued(*sdk).at(2)}) {
        const Json::Value record = sdktest::ParseJson(text);
        EXPECT_EQ(record["distinct_id"].asString(), "L1");
        EXPECT_TRUE(record["properties"]["$is_login_id"].asBool()) << text;
    }
}

TEST_F(RecordTest, InstanceCreatedAsLoginMarksItsRecords) {
    auto sdk = MakeInstance("L9", true);
    ASSERT_TRUE(sdk->Track("ev", PropertiesNode()));
    EXPECT_TRUE(Last(*sdk)["properties"]["$is_login_id"].asBool());
}

TEST_F(RecordTest, ProfileRecordsCarryNoSuperPropertiesAndNoEvent) {
    auto sdk = MakeInstance("u1", false);
    PropertiesNode properties;
    properties.SetNumber("level", 3);
    for (const char* type : {"profile_set", "profile_set_once", "profile_increment"}) {
        ASSERT_TRUE(sdk->Profile(type, properties));
        EXPECT_THAT(
            Queued(*sdk).back(),
            testing::MatchesRegex(std::string(R"(\{"_track_id":[0-9]+,"distinct_id":"u1",)"
                                              R"("lib":\{[^}]*\},"properties":\{"level":3\},)"
                                              R"("time":[0-9]+,"type":")") +
                                  type + "\"\\}"));
    }
}

TEST_F(RecordTest, SuperPropertiesGoIntoTrackRecordsAndCallersWin) {
    auto sdk = MakeInstance("u1", false);
    PropertiesNode super;
    super.SetString("$app_version", "1.7.9");
    super.SetString("shared", "super");
    sdk->RegisterSuperProperties(super);
    PropertiesNode mine;
    mine.SetString("shared", "mine");
    ASSERT_TRUE(sdk->TrackInstallation("install", mine));
    EXPECT_EQ(sdktest::ParseJson(Queued(*sdk).back())["properties"].toStyledString(),
              sdktest::ParseJson(R"({"$app_version":"1.7.9","$ios_install_source":"",)"
                                 R"("$lib":"cpp","$lib_version":"0.9","shared":"mine"})")
                  .toStyledString());

    sdk->ClearSuperProperties();
    ASSERT_TRUE(sdk->Track("ev", PropertiesNode()));
    EXPECT_THAT(Queued(*sdk).back(),
                testing::HasSubstr(R"("properties":{"$lib":"cpp","$lib_version":"0.9"})"));
}

TEST_F(RecordTest, NumberThatIsNotFiniteIsLeftOutOfTheRecord) {
    auto sdk = MakeInstance("u1", false);
    PropertiesNode properties;
    properties.SetNumber("ratio", std::numeric_limits<double>::quiet_NaN());
    properties.SetNumber("size", 1234567.89);
    ASSERT_TRUE(sdk->Track("ev", properties));
    const std::string text = Queued(*sdk).back();
    EXPECT_THAT(text, testing::Not(testing::HasSubstr("ratio")));
    EXPECT_THAT(text, testing::HasSubstr(R"("size":1234567.89)"));
}

// Login and super-property changes on one thread, records built on others: every record
// sees one whole identity and one whole set of super properties.
TEST_F(RecordTest, RecordsNeverSeeAHalfChangedIdentity) {
    auto sdk = MakeInstance("u1", false);
    std::atomic<bool> done{false};
    std::thread changer([&] {
        for (int i = 0; i < 300; ++i) {
            PropertiesNode generation;
            generation.SetNumber("gen_a", i);
            generation.SetNumber("gen_b", i);
            sdk->RegisterSuperProperties(generation);
            if (i % 50 == 49) {
                sdk->Login("L" + std::to_string(i));
            }
            if (i % 70 == 69) {
                sdk->ClearSuperProperties();
            }
        }
        done = true;
    });
    std::vector<std::thread> trackers;
    for (int t = 0; t < 2; ++t) {
        trackers.emplace_back([&] {
            while (!done) {
                sdk->Track("ev", PropertiesNode());
            }
        });
    }
    changer.join();
    for (std::thread& t : trackers) {
        t.join();
    }
    for (const std::string& text : Queued(*sdk)) {
        const Json::Value record = sdktest::ParseJson(text);
        const Json::Value& properties = record["properties"];
        EXPECT_EQ(properties["gen_a"], properties["gen_b"]) << text;
        if (record["type"].asString() == "track") {
            const bool loggedIn = record["distinct_id"].asString() != "u1";
            EXPECT_EQ(properties.isMember("$is_login_id"), loggedIn) << text;
        }
    }
}

}  // namespace
