#pragma once

// The property set of each event type, under the maker's names. Each builder first checks
// its record and throws MxException (function name: the track operation) when a required
// field is missing or a value is invalid; enumeration texts are converted while building,
// so an out-of-range value throws too. Context properties are added by the caller.

#include <string>

#include "analytics-sdk/properties_node.h"
#include "source/src/mx_events.h"
#include "source/src/mx_tracker.h"
#include "source/src/os_names.h"

namespace marlix::tracking {

using analytics_sdk::PropertiesNode;

inline constexpr char kInstallSourceText[] = "android_id=123##imei=1234##mac=123";

PropertiesNode ActivityProperties(const TrackerOptions& options, const OsDescription& os);
// "$is_first_time" only for a user with an id.
PropertiesNode LoginProperties(const MxUser& user, bool success, const std::string& reason);
PropertiesNode ClickProperties(const MxEventClick& click);
PropertiesNode ViewProperties(const MxEventView& view);
PropertiesNode CashierProperties(const MxEventCashier& cashier);
PropertiesNode ShareProperties(const MxEventShare& share);
PropertiesNode TaskProperties(const MxEventTask& task);
PropertiesNode FileProperties(const MxEventFile& file);
PropertiesNode OrderProperties(const MxEventOrder& order);
PropertiesNode PaymentProperties(const MxEventPayment& payment);
PropertiesNode UninstallProperties(const std::string& reason);
PropertiesNode CrashProperties(const std::string& reason);
PropertiesNode UpdateProperties(const MxEventUpdate& update);
PropertiesNode AppOpenNotificationProperties(const AppOpenNotification* notification);

}  // namespace marlix::tracking
