#include "source/src/preset_properties.h"

namespace marlix::tracking {
namespace {

void SetIfPresent(analytics_sdk::PropertiesNode& node, const char* key, const std::string& value) {
    if (!value.empty()) {
        node.SetString(key, value);
    }
}

}  // namespace

LocaleTexts ResolveLocale(const std::string& trackerLocale,
                          const std::optional<platform::LocaleNames>& system) {
    LocaleTexts texts;
    const size_t underscore = trackerLocale.find('_');
    if (underscore != std::string::npos) {
        texts.language = trackerLocale.substr(0, underscore);
        texts.country = trackerLocale.substr(underscore + 1);
        texts.locale = trackerLocale;
    }
    if (texts.language.empty() && system) {
        texts.language = system->language;
        texts.country = system->country;
        texts.locale = system->language + "_" + system->country;
    }
    return texts;
}

analytics_sdk::PropertiesNode LocaleProperties(const LocaleTexts& locale) {
    analytics_sdk::PropertiesNode node;
    node.SetString("mx_l10n_locale", locale.locale);
    node.SetString("mx_l10n_language", locale.language);
    node.SetString("mx_l10n_country", locale.country);
    return node;
}

analytics_sdk::PropertiesNode PresetProperties(const TrackerOptions& options,
                                               const PresetFacts& facts) {
    analytics_sdk::PropertiesNode node;
    node.SetString("mx_app_id", options.appName);
    node.SetString("$app_version", options.appVersion);
    node.SetString("$app_id", options.appName);
    node.SetString("mx_app_store", options.appStore);
    node.SetString("mx_edition", toString(static_cast<MxEdition>(options.edition)));
    SetIfPresent(node, "mx_dlapp_id", options.dlAppId);
    SetIfPresent(node, "mx_dlapp_version", options.dlAppVersion);
    node.SetString("mx_app_platform", facts.os.name);
    node.SetString("mx_track_type", "Client");
    node.SetString("mx_sdk_version", "3.3.8");
    node.SetString("mx_sdk", "WindowsCPP");
    node.SetString("$os", facts.os.name);
    node.SetString("$os_version", facts.os.version);
    node.Merge(LocaleProperties(facts.locale));
    node.SetNumber("$screen_height", facts.screen.height);
    node.SetNumber("$screen_width", facts.screen.width);
    SetIfPresent(node, "mx_user_id", facts.userId);
    return node;
}

}  // namespace marlix::tracking
