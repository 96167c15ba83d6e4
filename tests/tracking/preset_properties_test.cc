// The preset properties every record carries, the locale rules and the context properties a
// caller attaches.

#include "source/src/preset_properties.h"

#include <gtest/gtest.h>

#include "platform/os_facts.h"
#include "source/src/mx_exception.h"
#include "tracking_test_support.h"

namespace {

using namespace marlix::tracking;

class PresetPropertiesTest : public trackingtest::TrackerTest {
  protected:
    // The properties of one crash record sent now.
    Json::Value Sent(MxTrackerImpl& tracker) {
        tracker.trackCrash("probe");
        const auto crashes = Events("AppCrashed");
        return crashes.empty() ? Json::Value() : crashes.back()["properties"];
    }
};

TEST_F(PresetPropertiesTest, EveryRecordCarriesThePresetProperties) {
    auto tracker = Start();
    const Json::Value p = Sent(*tracker);
    const std::pair<const char*, std::string> texts[] = {
        {"mx_app_id", "Quorvex.downloader"},
        {"$app_version", "1.7.9"},
        {"$app_id", "Quorvex.downloader"},
        {"mx_app_store", "QuorvexSetup.exe"},
        {"mx_edition", "china"},
        {"mx_dlapp_id", "Quorvex"},
        {"mx_app_platform", platform::OsFamilyName()},
        {"mx_track_type", "Client"},
        {"mx_sdk_version", "3.3.8"},
        {"mx_sdk", "WindowsCPP"},
        {"$os", platform::OsFamilyName()},
        {"$os_version", platform::OsReleaseText()},
        {"mx_l10n_locale", "zh_CN"},
        {"mx_l10n_language", "zh"},
        {"mx_l10n_country", "CN"},
        {"$lib", "cpp"},
        {"$lib_version", "0.9"},
    };
    for (const auto& [key, value] : texts) {
        EXPECT_EQ(p[key].asString(), value) << key;
    }
    EXPECT_TRUE(p["$screen_height"].isIntegral());
    EXPECT_TRUE(p["$screen_width"].isIntegral());
    // Empty options and an anonymous user leave their keys out.
    EXPECT_FALSE(p.isMember("mx_dlapp_version"));
    EXPECT_FALSE(p.isMember("mx_user_id"));
}

TEST_F(PresetPropertiesTest, EditionAndOptionalIdsFollowTheOptions) {
    auto options = Options();
    options.edition = static_cast<int32_t>(MxEdition::Overseas);
    options.dlAppId.clear();
    options.dlAppVersion = "2.0";
    auto tracker = Start(options);
    const Json::Value p = Sent(*tracker);
    EXPECT_EQ(p["mx_edition"].asString(), "overseas");
    EXPECT_FALSE(p.isMember("mx_dlapp_id"));
    EXPECT_EQ(p["mx_dlapp_version"].asString(), "2.0");
}

TEST_F(PresetPropertiesTest, UnknownEditionFailsInit) {
    auto options = Options();
    options.edition = 5;
    MxTrackerImpl tracker(options, Environment());
    try {
        tracker.init();
        ADD_FAILURE() << "no exception";
    } catch (const MxException& e) {
        EXPECT_STREQ(e.what(), "Unknown edition [5]!");
        EXPECT_EQ(e.function(), "toString");
    }
}

TEST_F(PresetPropertiesTest, LoggedInUserIsAPresetProperty) {
    trackingtest::WriteTextFile(
        SettingsFile(),
        "[Base]\nDistinctId=D1\nUserId=U7\nisLogined=OK\nURL=" + endpoint_.Url() + "\n");
    auto tracker = Start();
    EXPECT_EQ(Sent(*tracker)["mx_user_id"].asString(), "U7");
}

TEST_F(PresetPropertiesTest, SetLocaleReplacesTheLocaleProperties) {
    auto tracker = Start();
    tracker->setLocale("en_US");
    Json::Value p = Sent(*tracker);
    EXPECT_EQ(p["mx_l10n_locale"].asString(), "en_US");
    EXPECT_EQ(p["mx_l10n_language"].asString(), "en");
    EXPECT_EQ(p["mx_l10n_country"].asString(), "US");

    tracker->setLocale("en");  // no underscore: the system's locale again
    p = Sent(*tracker);
    EXPECT_EQ(p["mx_l10n_locale"].asString(), "zh_CN");
    EXPECT_EQ(p["mx_l10n_language"].asString(), "zh");
}

TEST_F(PresetPropertiesTest, UnknownSystemLocaleLeavesTheTextsEmpty) {
    trackingtest::ScopedEnv c("LC_ALL", std::string("C.UTF-8"));
    auto tracker = Start();
    const Json::Value p = Sent(*tracker);
    EXPECT_EQ(p["mx_l10n_locale"].asString(), "");
    EXPECT_EQ(p["mx_l10n_language"].asString(), "");
    EXPECT_EQ(p["mx_l10n_country"].asString(), "");
}

TEST(ResolveLocaleTest, TrackerLocaleBeforeSystemLocale) {
    const platform::LocaleNames system{"de", "AT"};
    struct Case {
        const char* tracker;
        bool withSystem;
        const char *locale, *language, *country;
    } const cases[] = {
        {"en_US", true, "en_US", "en", "US"},
        {"pt_BR_x", true, "pt_BR_x", "pt", "BR_x"},  // the country is all after the first "_"
        {"en", true, "de_AT", "de", "AT"},
        {"", true, "de_AT", "de", "AT"},
        {"_US", true, "de_AT", "de", "AT"},  // no language: the system's names
        {"", false, "", "", ""},
        {"_US", false, "_US", "", "US"},
    };
    for (const Case& c : cases) {
        const LocaleTexts texts =
            ResolveLocale(c.tracker, c.withSystem ? std::optional(system) : std::nullopt);
        EXPECT_EQ(texts.locale, c.locale) << c.tracker;
        EXPECT_EQ(texts.language, c.language) << c.tracker;
        EXPECT_EQ(texts.country, c.country) << c.tracker;
    }
}

TEST_F(PresetPropertiesTest, ContextPropertiesReachOnlyTheirEventTypes) {
    auto tracker = Start();
    MxContextProperties context;
    context.setProperty("B2", {static_cast<int32_t>(MxEventType::Click)});
    MxEventClick click;
    click.name = "c";
    MxEventView view;
    view.name = "v";
    tracker->trackClick(click, context);
    tracker->trackView(view, context);
    tracker.reset();
    ASSERT_EQ(Events("MxEventClick").size(), 1u);
    ASSERT_EQ(Events("MxEventView").size(), 1u);
    EXPECT_EQ(Events("MxEventClick")[0]["properties"]["mxc_ab"].asString(), "B2");
    EXPECT_FALSE(Events("MxEventView")[0]["properties"].isMember("mxc_ab"));
}

}  // namespace
