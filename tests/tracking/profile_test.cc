// Profile properties: the rule table, the typed functions and the profile updates of
// activity, launch and payment.

#include "source/src/native_user_tracker.h"

#include <gtest/gtest.h>
#include <time.h>

#include <chrono>
#include <functional>

#include "source/src/mx_exception.h"
#include "tracking_test_support.h"

namespace {

using namespace marlix::tracking;

// The SDK's DateTime text for `seconds` and `milliseconds`, in local time.
std::string LocalDateTime(int64_t seconds, int milliseconds) {
    const time_t t = static_cast<time_t>(seconds);
    tm local{};
    localtime_r(&t, &local);
    char text[64];
    snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900,
             local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
             milliseconds);
    return text;
}

class ProfileTest : public trackingtest::TrackerTest {
  protected:
    // type, key and value text of every profile record, in order.
    struct Update {
        std::string type;
        std::string key;
        Json::Value value;
    };
    std::vector<Update> Updates() const {
        std::vector<Update> updates;
        for (const Json::Value& record : ProfileRecords()) {
            for (const std::string& key : record["properties"].getMemberNames()) {
                if (key != "$is_login_id") {
                    updates.push_back({record["type"].asString(), key, record["properties"][key]});
                }
            }
        }
        return updates;
    }
};

TEST_F(ProfileTest, TypedFunctionsFollowTheKeysRules) {
    struct Case {
        const char* what;
        std::function<void()> call;
        const char* type;  // the profile record, or nullptr when the call is rejected
        const char* function = nullptr;
        const char* message = nullptr;
    };
    const Case cases[] = {
        {"text set", [] { ProfileUserPropertyString("mx_label", "v"); }, "profile_set"},
        {"text set once", [] { ProfileUserPropertyString("$ios_install_source", "s"); },
         "profile_set_once"},
        {"integer set", [] { ProfileUserPropertyNumber("mx_user_type", int32_t{3}); },
         "profile_set"},
        {"integer increment", [] { ProfileUserPropertyNumber("mx_visit_count", int32_t{1}); },
         "profile_increment"},
        {"double increment", [] { ProfileUserPropertyNumber("mx_consumption", 2.5); },
         "profile_increment"},
        {"double set once", [] { ProfileUserPropertyNumber("mx_first_paid_date", 1.5); },
         "profile_set_once"},
        {"time set", [] { ProfileUserPropertyDateTime("mx_last_paid_date", 1700000000); },
         "profile_set"},
        {"text increment", [] { ProfileUserPropertyString("mx_paid_count", "x"); }, nullptr,
         "ProfileUserPropertyString",
         "user property [mx_paid_count] is string type value, it cannot be accumulated!"},
        {"unknown text", [] { ProfileUserPropertyString("nick", "x"); }, nullptr,
         "ProfileUserPropertyString", "Not supported user property [nick]!"},
        {"unknown number", [] { ProfileUserPropertyNumber("mx_age", int32_t{3}); }, nullptr,
         "ProfileUserPropertyNumber", "Not supported user property [mx_age]!"},
        {"unknown time", [] { ProfileUserPropertyDateTime("born", 1); }, nullptr,
         "ProfileUserPropertyDateTime", "Not supported user property [born]!"},
        {"time increment", [] { ProfileUserPropertyDateTime("mx_paid_count", 1); }, nullptr,
         "ProfileUserPropertyDateTime",
         "user property [mx_paid_count] is date time value, it cannot be accumulated!"},
    };
    std::vector<std::string> expectedTypes;
    {
        auto tracker = Start();
        for (const Case& c : cases) {
            if (c.type != nullptr) {
                c.call();
                expectedTypes.push_back(c.type);
                continue;
            }
            try {
                c.call();
                ADD_FAILURE() << c.what << ": no exception";
            } catch (const MxException& e) {
                EXPECT_STREQ(e.what(), c.message) << c.what;
                EXPECT_EQ(e.function(), c.function) << c.what;
                EXPECT_EQ(e.sourceUnit(), "NativeUserTracker");
            }
        }
        tracker->trackCrash("flush");
    }
    std::vector<std::string> types;
    for (const Update& update : Updates()) {
        types.push_back(update.type);
    }
    EXPECT_EQ(types, expectedTypes);
    const auto updates = Updates();
    ASSERT_EQ(updates.size(), expectedTypes.size());
    EXPECT_EQ(updates[2].value.asInt(), 3);
    EXPECT_EQ(updates[4].value.asDouble(), 2.5);
}

TEST_F(ProfileTest, TimesFromTheThresholdOnAreMilliseconds) {
    const std::pair<int64_t, std::string> cases[] = {
        {157789439999, LocalDateTime(157789439999, 0)},  // one below: seconds
        {157789440000, LocalDateTime(157789440, 0)},
        {1700000000, LocalDateTime(1700000000, 0)},       // today in seconds
        {1700000000123, LocalDateTime(1700000000, 123)},  // today in milliseconds
    };
    {
        auto tracker = Start();
        for (const auto& [time, text] : cases) {
            ProfileUserPropertyDateTime("mx_last_visit_date", time);
        }
        tracker->trackCrash("flush");
    }
    const auto updates = Updates();
    ASSERT_EQ(updates.size(), std::size(cases));
    for (size_t i = 0; i < updates.size(); ++i) {
        EXPECT_EQ(updates[i].value.asString(), cases[i].second) << cases[i].first;
    }
}

TEST_F(ProfileTest, ActivityKeepsTheFirstVisitAndMovesTheLastOne) {
    {
        auto tracker = Start();
        tracker->trackActivity(MxContextProperties());
        // Nine pending profile updates make the activity upload at once (on a send thread
        // while no upload of this process has succeeded yet).
        EXPECT_TRUE(endpoint_.WaitForUploads(1, std::chrono::seconds(10)));
        tracker->trackActivity(MxContextProperties());
    }
    const auto updates = Updates();
    ASSERT_EQ(updates.size(), 20u);
    const std::vector<std::pair<std::string, std::string>> oneActivity = {
        {"profile_set_once", "$first_visit_time"}, {"profile_set_once", "mx_first_visit_date"},
        {"profile_set", "mx_last_visit_date"},     {"profile_set", "mx_os"},
        {"profile_set", "mx_os_version"},          {"profile_set", "mx_app_store"},
        {"profile_set", "mx_app_platform"},        {"profile_set", "mx_last_app_id"},
        {"profile_set", "mx_last_app_version"},    {"profile_set_once", "$ios_install_source"},
    };
    for (size_t i = 0; i < updates.size(); ++i) {
        EXPECT_EQ(updates[i].type, oneActivity[i % 10].first) << i;
        EXPECT_EQ(updates[i].key, oneActivity[i % 10].second) << i;
    }
    EXPECT_EQ(updates[8].value.asString(), "1.7.9");
    EXPECT_EQ(updates[9].value.asString(), "android_id=123##imei=1234##mac=123");
}

TEST_F(ProfileTest, LaunchUpdatesVisitDatesOfLoggedInUsersOnly) {
    {
        auto tracker = Start();
        tracker->trackLaunch(MxContextProperties());
        EXPECT_TRUE(ProfileRecords().empty());
        tracker->trackLogin({"L1", MxUserType::Email, 0}, true, "", MxContextProperties());
        tracker->trackLaunch(MxContextProperties());
    }
    const auto updates = Updates();
    ASSERT_EQ(updates.size(), 3u);
    EXPECT_EQ(updates[0].key, "$first_visit_time");
    EXPECT_EQ(updates[2].key, "mx_last_visit_date");
    EXPECT_EQ(ProfileRecords()[0]["distinct_id"].asString(), "L1");
}

TEST_F(ProfileTest, PaymentsCountAndSumOnTheProfile) {
    MxEventPayment payment;
    payment.orderId = "o";
    payment.currency = std::make_shared<MxCurrency>(MxCurrency::CNY);
    payment.paidPlatform = std::make_shared<MxPaidPlatform>(MxPaidPlatform::Alipay);
    payment.result = std::make_shared<MxResult>(MxResult::Success);
    {
        auto tracker = Start();
        payment.paidAmount = 9.9f;
        tracker->trackPayment(payment, MxContextProperties());
        payment.paidAmount = 19.9f;
        payment.result = std::make_shared<MxResult>(MxResult::Fail);  // counted all the same
        tracker->trackPayment(payment, MxContextProperties());
    }
    int64_t count = 0;
    double sum = 0;
    std::vector<std::string> paidDates;
    for (const Update& update : Updates()) {
        if (update.key == "mx_paid_count") {
            EXPECT_EQ(update.type, "profile_increment");
            count += update.value.asInt64();
        } else if (update.key == "mx_consumption") {
            EXPECT_EQ(update.type, "profile_increment");
            sum += update.value.asDouble();
        } else {
            paidDates.push_back(update.type + " " + update.key);
        }
    }
    EXPECT_EQ(count, 2);
    EXPECT_NEAR(sum, 29.8, 1e-4);
    EXPECT_EQ(paidDates,
              (std::vector<std::string>{
                  "profile_set_once mx_first_paid_date", "profile_set mx_last_paid_date",
                  "profile_set_once mx_first_paid_date", "profile_set mx_last_paid_date"}));
}

}  // namespace
