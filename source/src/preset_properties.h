#pragma once

// The properties registered once as the SDK's super properties, so that every record carries
// them: the application, the tracker layer, the system, the locale and the screen.

#include <optional>
#include <string>

#include "analytics-sdk/properties_node.h"
#include "platform/screen_metrics.h"
#include "platform/user_locale.h"
#include "source/src/mx_tracker.h"
#include "source/src/os_names.h"

namespace marlix::tracking {

struct LocaleTexts {
    std::string locale;
    std::string language;
    std::string country;
};

// From the locale set with setLocale when it has the form language_country, else from the
// system's names (language + "_" + country); empty texts when neither is known.
LocaleTexts ResolveLocale(const std::string& trackerLocale,
                          const std::optional<platform::LocaleNames>& system);

// "mx_l10n_locale", "mx_l10n_language" and "mx_l10n_country".
analytics_sdk::PropertiesNode LocaleProperties(const LocaleTexts& locale);

struct PresetFacts {
    OsDescription os;
    LocaleTexts locale;
    platform::ScreenSize screen;
    std::string userId;  // the logged-in user, or empty
};

// Every preset property; throws MxException for an unknown edition.
analytics_sdk::PropertiesNode PresetProperties(const TrackerOptions& options,
                                               const PresetFacts& facts);

}  // namespace marlix::tracking
