// The event vocabulary: enumeration texts, each operation's checks and the properties it
// sends, and the identity updates of a login and a payment.

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "platform/ini_profile.h"
#include "source/src/mx_exception.h"
#include "source/src/os_names.h"
#include "tracking_test_support.h"

namespace {

using namespace marlix::tracking;
using Keys = std::set<std::string>;

template <typename T>
std::shared_ptr<T> Given(T value) {
    return std::make_shared<T>(value);
}

TEST(EnumerationTextTest, EveryValueAndTheFirstOneOutside) {
    struct Case {
        std::function<std::string(int32_t)> text;
        std::vector<const char*> names;
        const char* outside;  // message for the first value after the list
    };
    const Case cases[] = {
        {[](int32_t v) { return toString(static_cast<MxEdition>(v)); },
         {"china", "overseas"},
         "Unknown edition [2]!"},
        {[](int32_t v) { return toString(static_cast<MxResult>(v)); },
         {"Success", "Cancelled", "Fail", "Unknown"},
         "Unknown task result [4]!"},
        {[](int32_t v) { return toString(static_cast<MxEventType>(v)); },
         {"Activity", "PaLaunchPal", "Login", "Click", "View", "Cashier", "Share", "Task", "File",
          "Order", "Payment", "Uninstall", "Update", "Crashed", "AppOpenNotification"},
         "Unknown Event [15]!"},
        {[](int32_t v) { return toString(static_cast<MxUserType>(v)); },
         {"unknown", "mobilephone", "email", "weixin", "qq", "deviceid", "baidu", "huawei", "apple",
          "marlixuserid", "google", "facebook"},
         "Unknown user type [12]!"},
        {[](int32_t v) { return toString(static_cast<MxClickType>(v)); },
         {"Button", "Banner", "Tutorial", "File", "Others"},
         "Unknown ClickType [5]!"},
        {[](int32_t v) { return toString(static_cast<MxIoType>(v)); },
         {"Input", "Output"},
         "the io type is invalid"},
        {[](int32_t v) { return toString(static_cast<MxCurrency>(v)); },
         {"CNY", "USD", "EUR", "HKD", "TWD", "MOP", "SGD", "JPY", "KRW", "INR", "GBP"},
         "Unknown currency [11]!"},
        {[](int32_t v) { return toString(static_cast<MxPaidPlatform>(v)); },
         {"Alipay", "WeChatPay", "PayPal", "Tenpay", "CIECC", "GooglePay", "HuaweiPay", "AppleIAP",
          "Paddle", "ChinaUnionPay"},
         "Unknown paid platform [10]!"},
        {[](int32_t v) { return toString(static_cast<MxIapType>(v)); },
         {"Consumable", "NonConsumable", "AutoRenewable", "NonRenewable"},
         "Unknown mxIapType [4]!"},
        {[](int32_t v) { return toString(static_cast<MxUpdateOp>(v)); },
         {"UpdateCheck", "DownloadStart", "DownloadEnd", "UpgrateStart", "UpgrateEnd"},
         "Unknown MxUpdateOp [5]!"},
        {[](int32_t v) { return toString(static_cast<MxUpdateResult>(v)); },
         {"Success", "Cancelled", "Timeout", "Fail", "Latest", "Updateable"},
         "Unknown MxUpdateResult [6]!"},
    };
    for (const Case& c : cases) {
        for (size_t i = 0; i < c.names.size(); ++i) {
            EXPECT_EQ(c.text(static_cast<int32_t>(i)), c.names[i]);
        }
        try {
            c.text(static_cast<int32_t>(c.names.size()));
            ADD_FAILURE() << "no exception after " << c.names.back();
        } catch (const MxException& e) {
            EXPECT_STREQ(e.what(), c.outside);
            EXPECT_EQ(e.function(), "toString");
        }
        EXPECT_THROW(c.text(-1), MxException);
    }
}

class EventTypesTest : public trackingtest::TrackerTest {
  protected:
    // The event's own properties: those that are not preset (super) properties.
    static Keys OwnKeys(const Json::Value& record, const Keys& preset) {
        Keys keys;
        for (const std::string& key : record["properties"].getMemberNames()) {
            if (!preset.count(key)) {
                keys.insert(key);
            }
        }
        return keys;
    }
    // The super properties, as a launch without context sends them alone.
    Keys PresetKeys() const {
        const auto launches = Events("MxEventLaunch");
        if (launches.empty()) {
            return {};
        }
        const auto names = launches.back()["properties"].getMemberNames();
        return Keys(names.begin(), names.end());
    }
};

TEST_F(EventTypesTest, RejectedRecordsAreNeverQueued) {
    struct Case {
        const char* what;
        std::function<void(MxTracker&)> call;
        const char* function;
        const char* message;
    };
    MxEventPayment payment;
    payment.orderId = "o1";
    payment.paidAmount = 9.9f;
    payment.originalAmount = 19.9f;
    payment.result = Given(MxResult::Success);
    payment.paidPlatform = Given(MxPaidPlatform::Alipay);
    payment.currency = Given(MxCurrency::CNY);
    auto paymentWith = [payment](auto change) {
        MxEventPayment changed = payment;
        change(changed);
        return changed;
    };
    MxEventOrder order;
    order.suitId = "s1";
    order.currency = Given(MxCurrency::USD);
    order.originalAmount = 10;
    order.paidAmount = 8;
    auto orderWith = [order](auto change) {
        MxEventOrder changed = order;
        change(changed);
        return changed;
    };
    AppOpenNotification note{"title", "", "", "plan", "", "", "type", ""};
    auto noteWith = [note](auto change) {
        AppOpenNotification changed = note;
        change(changed);
        return changed;
    };
    const MxContextProperties none;
    const Case cases[] = {
        {"click without name", [&](MxTracker& t) { t.trackClick({}, none); }, "trackClick",
         "mxEventClick.name is empty"},
        {"click type 9",
         [&](MxTracker& t) {
             MxEventClick click;
             click.name = "c";
             click.clickType = static_cast<MxClickType>(9);
             t.trackClick(click, none);
         },
         "toString", "Unknown ClickType [9]!"},
        {"view without name", [&](MxTracker& t) { t.trackView({}, none); }, "trackView",
         "mxEventView.name is empty"},
        {"cashier without name", [&](MxTracker& t) { t.trackCashier({}, none); }, "trackCashier",
         "mxEventCashier.mx_cashier_name is empty"},
        {"share result 5",
         [&](MxTracker& t) {
             MxEventShare share;
             share.result = Given(static_cast<MxResult>(5));
             t.trackShare(share, none);
         },
         "toString", "Unknown task result [5]!"},
        {"task without name", [&](MxTracker& t) { t.trackTask({}, none); }, "trackTask",
         "mxEventTask.name is empty"},
        {"file without aname", [&](MxTracker& t) { t.trackFile({}, none); }, "trackFile",
         "mxEventFile.aname is empty"},
        {"file io 2",
         [&](MxTracker& t) {
             MxEventFile file;
             file.aname = "f";
             file.io = Given(static_cast<MxIoType>(2));
             t.trackFile(file, none);
         },
         "toString", "the io type is invalid"},
        {"order without suit",
         [&](MxTracker& t) { t.trackOrder(orderWith([](auto& o) { o.suitId = ""; }), none); },
         "trackOrder", "mxEventOrder.mxSuitId is empty"},
        {"order without currency",
         [&](MxTracker& t) {
             t.trackOrder(orderWith([](auto& o) { o.currency = nullptr; }), none);
         },
         "trackOrder", "mxEventOrder.mxCurrency is nullptr"},
        {"order original 0",
         [&](MxTracker& t) {
             t.trackOrder(orderWith([](auto& o) { o.originalAmount = 0; }), none);
         },
         "trackOrder", "mxEventOrder.originalAmount is less than zero"},
        {"order paid 0",
         [&](MxTracker& t) { t.trackOrder(orderWith([](auto& o) { o.paidAmount = 0; }), none); },
         "trackOrder", "mxEventOrder.paidAmount is less than zero"},
        {"payment without order",
         [&](MxTracker& t) { t.trackPayment(paymentWith([](auto& p) { p.orderId = ""; }), none); },
         "trackPayment", "mxEventPayment.mxOrderId is empty"},
        {"payment paid -1.5",
         [&](MxTracker& t) {
             t.trackPayment(paymentWith([](auto& p) { p.paidAmount = -1.5f; }), none);
         },
         "trackPayment", "paidAmount = -1.500000 is invalid"},
        {"payment original -1.5",
         [&](MxTracker& t) {
             t.trackPayment(paymentWith([](auto& p) { p.originalAmount = -1.5f; }), none);
         },
         "trackPayment", "originalAmount = -1.500000 is invalid"},
        {"payment without result",
         [&](MxTracker& t) {
             t.trackPayment(paymentWith([](auto& p) { p.result = nullptr; }), none);
         },
         "trackPayment", "mxEventPayment.result is invalid"},
        {"payment cancelled",
         [&](MxTracker& t) {
             t.trackPayment(paymentWith([](auto& p) { p.result = Given(MxResult::Cancelled); }),
                            none);
         },
         "trackPayment", "mxEventPayment.result is invalid"},
        // Both are needed to build the record; a missing one is refused, not dereferenced.
        {"payment without platform",
         [&](MxTracker& t) {
             t.trackPayment(paymentWith([](auto& p) { p.paidPlatform = nullptr; }), none);
         },
         "trackPayment", "mxEventPayment.mxPaidPlatform is nullptr"},
        {"payment without currency",
         [&](MxTracker& t) {
             t.trackPayment(paymentWith([](auto& p) { p.currency = nullptr; }), none);
         },
         "trackPayment", "mxEventPayment.mxCurrency is nullptr"},
        {"update op 7",
         [&](MxTracker& t) {
             t.trackUpdate({static_cast<MxUpdateOp>(7), nullptr, nullptr}, none);
         },
         "toString", "Unknown MxUpdateOp [7]!"},
        {"download end without result",
         [&](MxTracker& t) {
             t.trackUpdate({MxUpdateOp::DownloadEnd, nullptr, Given(1.0f)}, none);
         },
         "trackUpdate", "Unknown updateResultInfo info"},
        {"download end without elapsed",
         [&](MxTracker& t) {
             t.trackUpdate({MxUpdateOp::DownloadEnd, Given(MxUpdateResult::Success), nullptr},
                           none);
         },
         "trackUpdate", "invalid elapsed info"},
        {"upgrade end without elapsed",
         [&](MxTracker& t) {
             t.trackUpdate({MxUpdateOp::UpgrateEnd, Given(MxUpdateResult::Fail), nullptr}, none);
         },
         "trackUpdate", "invalid elapsed info"},
        {"update result 6",
         [&](MxTracker& t) {
             t.trackUpdate(
                 {MxUpdateOp::UpdateCheck, Given(static_cast<MxUpdateResult>(6)), nullptr}, none);
         },
         "toString", "Unknown MxUpdateResult [6]!"},
        {"notification null", [&](MxTracker& t) { t.trackAppOpenNotification(nullptr, none); },
         "trackAppOpenNotification", "&appOpenNotification is nullptr"},
        {"notification without plan id",
         [&](MxTracker& t) {
             const auto n = noteWith([](auto& x) { x.planId = ""; });
             t.trackAppOpenNotification(&n, none);
         },
         "trackAppOpenNotification", "planID is emptry"},
        {"notification without plan type",
         [&](MxTracker& t) {
             const auto n = noteWith([](auto& x) { x.planType = ""; });
             t.trackAppOpenNotification(&n, none);
         },
         "trackAppOpenNotification", "planType is emptry"},
        {"notification without title",
         [&](MxTracker& t) {
             const auto n = noteWith([](auto& x) { x.msgTitle = ""; });
             t.trackAppOpenNotification(&n, none);
         },
         "trackAppOpenNotification", "msgTitle is emptry"},
        {"login type 12",
         [&](MxTracker& t) {
             t.trackLogin({"u", static_cast<MxUserType>(12), 0}, true, "", none);
         },
         "toString", "Unknown user type [12]!"},
    };
    {
        auto tracker = Start();
        for (const Case& c : cases) {
            try {
                c.call(*tracker);
                ADD_FAILURE() << c.what << ": no exception";
            } catch (const MxException& e) {
                EXPECT_STREQ(e.what(), c.message) << c.what;
                EXPECT_EQ(e.function(), c.function) << c.what;
            }
        }
        EXPECT_EQ(tracker->pendingCount(), 0);
    }
    EXPECT_TRUE(endpoint_.Records().empty());
    EXPECT_EQ(platform::ini::GetString(SettingsFile(), "Base", "UserId", "?"), "");
}

TEST_F(EventTypesTest, EachOperationSendsItsProperties) {
    MxEventClick click{"a",      "n",  MxClickType::Banner, "t", "m", "p", Given(2), "tab",
                       Given(3), "ban"};
    MxEventFile file;
    file.aname = "f";
    file.io = Given(MxIoType::Output);
    file.result = Given(MxResult::Unknown);  // left out like any result beyond Fail
    file.size = Given(0.0f);                 // only sizes above 0 are sent
    file.duration = Given(7);
    file.fps = Given(29.97f);
    file.width = Given(640);
    MxEventOrder order;
    order.suitId = "s";
    order.currency = Given(MxCurrency::EUR);
    order.originalAmount = 10;
    order.paidAmount = 8.5f;
    order.orderId = "o";
    order.campaignCode = Given(0);
    order.curPaidAmount = 1.5f;
    MxEventPayment payment;
    payment.orderId = "o";
    payment.currency = Given(MxCurrency::CNY);
    payment.paidPlatform = Given(MxPaidPlatform::WeChatPay);
    payment.result = Given(MxResult::Fail);
    payment.iapType = Given(MxIapType::AutoRenewable);
    payment.usedVoucherId = "v";
    AppOpenNotification note{"title", "content", "", "plan", "", "", "type", "unit"};
    MxEventShare share;
    share.result = Given(MxResult::Unknown);
    const MxContextProperties none;
    {
        auto tracker = Start();
        tracker->trackLaunch(none);
        tracker->trackClick(click, none);
        tracker->trackView({"", "安装中", "", ""}, none);
        tracker->trackCashier({"c", "", "sub"}, none);
        tracker->trackShare(share, none);
        tracker->trackTask({"", "t", "", Given(95.5f), Given(MxResult::Fail)}, none);
        tracker->trackTask({"", "t3", "", nullptr, Given(MxResult::Unknown)}, none);
        tracker->trackTask({"", "t5", "", nullptr, Given(static_cast<MxResult>(5))}, none);
        tracker->trackFile(file, none);
        tracker->trackOrder(order, none);
        tracker->trackPayment(payment, none);  // zero amounts are accepted
        tracker->trackUninstall("", none);
        tracker->trackUpdate({MxUpdateOp::UpdateCheck, nullptr, nullptr}, none);
        tracker->trackUpdate({MxUpdateOp::DownloadStart, Given(MxUpdateResult::Latest), nullptr},
                             none);
        tracker->trackUpdate({MxUpdateOp::UpgrateEnd, Given(MxUpdateResult::Timeout), Given(2.5f)},
                             none);
        tracker->trackAppOpenNotification(&note, none);
    }
    const Keys preset = PresetKeys();
    ASSERT_FALSE(preset.empty());
    struct Expected {
        const char* event;
        size_t index;
        Keys keys;
    };
    const Expected expected[] = {
        {"MxEventClick",
         0,
         {"mx_name", "mx_click_type", "mx_aname", "mx_title", "mx_position", "mx_module",
          "mx_tab_name", "mx_tab_index", "mx_banner_name", "mx_banner_index", "$is_first_time"}},
        {"MxEventView", 0, {"mx_name", "$is_first_time"}},
        {"MxEventCashier", 0, {"mx_cashier_name", "mx_subitem", "$is_first_time"}},
        {"MxEventShare", 0, {"mx_result", "$is_first_time"}},
        {"MxEventTask", 0, {"mx_task_name", "mx_task_elapsed", "mx_task_result", "$is_first_time"}},
        {"MxEventTask", 1, {"mx_task_name", "$is_first_time"}},
        {"MxEventTask", 2, {"mx_task_name", "$is_first_time"}},
        {"MxEventFile",
         0,
         {"mx_aname", "mx_io", "mx_duration", "mx_fps", "mx_width", "$is_first_time"}},
        {"MxEventOrder",
         0,
         {"mx_suit_id", "mx_currency", "mx_paid_amount", "mx_original_amount", "$is_first_time",
          "mx_order_id", "mx_campaign_code", "mx_cur_paid_amount"}},
        {"MxEventPayment",
         0,
         {"mx_order_id", "mx_paid_platform", "mx_currency", "mx_paid_amount", "mx_original_amount",
          "mx_result", "$is_first_time", "mx_iap_type", "mx_used_voucher_id"}},
        {"MxEventUninstall", 0, {}},
        {"MxEventUpdate", 0, {"mx_update_op", "mx_update_result"}},
        {"MxEventUpdate", 1, {"mx_update_op"}},
        {"MxEventUpdate", 2, {"mx_update_op", "mx_update_result", "$is_first_time", "mx_elapsed"}},
        {"AppOpenNotification",
         0,
         {"$sf_msg_title", "$sf_plan_id", "$sf_plan_type", "$is_first_time", "$sf_msg_content",
          "$sf_strategy_unit_id"}},
    };
    for (const Expected& e : expected) {
        const auto records = Events(e.event);
        ASSERT_GT(records.size(), e.index) << e.event;
        EXPECT_EQ(OwnKeys(records[e.index], preset), e.keys) << e.event << " #" << e.index;
    }
    const Json::Value c = Events("MxEventClick")[0]["properties"];
    EXPECT_EQ(c["mx_click_type"].asString(), "Banner");
    EXPECT_TRUE(c["mx_tab_index"].isIntegral());
    EXPECT_TRUE(c["$is_first_time"].asBool());
    EXPECT_EQ(Events("MxEventView")[0]["properties"]["mx_name"].asString(), "安装中");
    EXPECT_EQ(Events("MxEventShare")[0]["properties"]["mx_result"].asString(), "Unknown");
    const Json::Value t = Events("MxEventTask")[0]["properties"];
    EXPECT_EQ(t["mx_task_elapsed"].asDouble(), 95.5);
    EXPECT_EQ(t["mx_task_result"].asString(), "Fail");
    EXPECT_EQ(Events("MxEventFile")[0]["properties"]["mx_io"].asString(), "Output");
    const Json::Value o = Events("MxEventOrder")[0]["properties"];
    EXPECT_EQ(o["mx_currency"].asString(), "EUR");
    EXPECT_EQ(o["mx_paid_amount"].asDouble(), 8.5);
    const Json::Value p = Events("MxEventPayment")[0]["properties"];
    EXPECT_EQ(p["mx_paid_platform"].asString(), "WeChatPay");
    EXPECT_EQ(p["mx_paid_amount"].asDouble(), 0.0);
    EXPECT_EQ(p["mx_iap_type"].asString(), "AutoRenewable");
    EXPECT_EQ(Events("MxEventUpdate")[0]["properties"]["mx_update_result"].asString(), "");
    EXPECT_EQ(Events("MxEventUpdate")[2]["properties"]["mx_update_result"].asString(), "Timeout");
}

TEST_F(EventTypesTest, ActivityDescribesTheApplicationAndTheSystem) {
    MxContextProperties context;
    context.setProperty("IN", {static_cast<int32_t>(MxEventType::Activity)});
    {
        auto tracker = Start();
        tracker->trackActivity(context);
    }
    const auto records = Events("MxEventActivity");
    ASSERT_EQ(records.size(), 1u);
    const Json::Value p = records[0]["properties"];
    const OsDescription os = DescribeOs();
    EXPECT_EQ(p["$ios_install_source"].asString(), "android_id=123##imei=1234##mac=123");
    EXPECT_EQ(p["$user_agent"].asString(), UserAgent(os.name, os.version, os.is64Bit));
    EXPECT_EQ(p["$os"].asString(), os.name);
    EXPECT_EQ(p["$app_version"].asString(), "1.7.9");
    EXPECT_EQ(p["mx_app_store"].asString(), "QuorvexSetup.exe");
    EXPECT_EQ(p["mxc_ab"].asString(), "IN");
    EXPECT_TRUE(p["$is_first_time"].asBool());
}

TEST_F(EventTypesTest, LaunchSendsItsContextOrNothing) {
    MxContextProperties context;
    context.setProperty("A1", {static_cast<int32_t>(MxEventType::PaLaunchPal)});
    {
        auto tracker = Start();
        tracker->trackLaunch(MxContextProperties());
        tracker->trackLaunch(context);
        // An anonymous launch counts nothing pending, so it waits for the next upload.
        EXPECT_TRUE(endpoint_.Uploads().empty());
        tracker->trackCrash("upload");
    }
    const auto launches = Events("MxEventLaunch");
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_FALSE(launches[0]["properties"].isMember("mxc_ab"));
    EXPECT_EQ(launches[1]["properties"]["mxc_ab"].asString(), "A1");
}

TEST_F(EventTypesTest, AnonymousLoginChangesNoIdentity) {
    std::string id;
    {
        auto tracker = Start();
        id = tracker->getPrimaryDistinctId();
        tracker->trackLaunch(MxContextProperties());
        tracker->trackLogin({"", MxUserType::QQ, 4}, false, "denied", MxContextProperties());
    }
    const auto logins = Events("MxEventLogin");
    ASSERT_EQ(logins.size(), 1u);
    EXPECT_EQ(OwnKeys(logins[0], PresetKeys()), (Keys{"mx_type", "mx_result", "mx_reason"}));
    EXPECT_EQ(logins[0]["properties"]["mx_type"].asString(), "qq");
    EXPECT_EQ(logins[0]["properties"]["mx_result"].asString(), "Fail");
    EXPECT_EQ(logins[0]["distinct_id"].asString(), id);
    EXPECT_EQ(platform::ini::GetString(SettingsFile(), "Base", "UserVipLevel", ""), "0");
    EXPECT_EQ(platform::ini::GetString(SettingsFile(), "Base", "isLogined", ""), "NG");
}

TEST_F(EventTypesTest, LoginMakesTheUserIdTheDistinctIdUntilTheEnd) {
    std::string anonymous;
    {
        auto tracker = Start();
        anonymous = tracker->getPrimaryDistinctId();
        tracker->trackLaunch(MxContextProperties());
        tracker->trackLogin({"L1", MxUserType::Email, 2}, true, "", MxContextProperties());
        tracker->trackLogin({"L2", MxUserType::Email, 5}, true, "", MxContextProperties());
        tracker->trackCrash("after");
        EXPECT_EQ(tracker->getPrimaryDistinctId(), anonymous);
    }
    const auto logins = Events("MxEventLogin");
    ASSERT_EQ(logins.size(), 2u);
    EXPECT_EQ(logins[0]["distinct_id"].asString(), anonymous);
    EXPECT_EQ(OwnKeys(logins[0], PresetKeys()),
              (Keys{"mx_user_id", "mx_login_id", "mx_type", "mx_result", "$is_first_time"}));
    // The second login, while logged in, keeps the first user's id.
    EXPECT_EQ(logins[1]["distinct_id"].asString(), "L1");
    EXPECT_EQ(logins[1]["properties"]["mx_user_id"].asString(), "L2");

    const auto records = endpoint_.Records();
    const auto signup = std::find_if(records.begin(), records.end(), [](const Json::Value& r) {
        return r["type"].asString() == "track_signup";
    });
    ASSERT_NE(signup, records.end());
    EXPECT_EQ((*signup)["distinct_id"].asString(), "L1");
    EXPECT_EQ((*signup)["original_id"].asString(), anonymous);

    const Json::Value crash = Events("AppCrashed")[0];
    EXPECT_EQ(crash["distinct_id"].asString(), "L1");
    EXPECT_TRUE(crash["properties"]["$is_login_id"].asBool());
    EXPECT_EQ(crash["properties"]["mx_user_id"].asString(), "L1");

    auto base = [&](const char* key) {
        return platform::ini::GetString(SettingsFile(), "Base", key, "");
    };
    EXPECT_EQ(base("DistinctId"), "L1");
    EXPECT_EQ(base("PrimaryDistinctId"), anonymous);
    EXPECT_EQ(base("UserId"), "L1");
    EXPECT_EQ(base("UserVipLevel"), "5");
    EXPECT_EQ(base("isLogined"), "OK");
}

TEST_F(EventTypesTest, SuccessfulPaymentRaisesTheVipLevel) {
    MxEventPayment payment;
    payment.orderId = "o";
    payment.currency = Given(MxCurrency::CNY);
    payment.paidPlatform = Given(MxPaidPlatform::Alipay);
    payment.result = Given(MxResult::Fail);
    auto tracker = Start();
    tracker->trackPayment(payment, MxContextProperties());
    EXPECT_EQ(platform::ini::GetString(SettingsFile(), "Base", "UserVipLevel", ""), "0");
    payment.result = Given(MxResult::Success);
    tracker->trackPayment(payment, MxContextProperties());
    EXPECT_EQ(platform::ini::GetString(SettingsFile(), "Base", "UserVipLevel", ""), "1");
}

}  // namespace
