#pragma once

// The analytics part of the installed product's files, so that the product's own tracker
// finds its settings: the product data folder (roaming application data + "MarlixData" +
// "Quorvex"), "MXAnalyticsIni" in section "Install" of the product's set.ini naming
// "MXAnalytics.ini" in that folder, and "UpdateTime" in section "Init" of that file.

#include <string>

namespace marlix::tracking {

// Creates the product data folder with its missing parents and, only when that worked,
// writes both keys (the local time now as "%d-%02d-%02d %02d:%02d:%02d"). False when the
// folder could not be made or a write failed. Call it after writing set.ini's other
// "Install" keys; it never throws.
bool WriteProductAnalyticsFiles(const std::string& setIniPath);

// The product data folder, without a trailing separator.
std::string ProductDataFolder();

}  // namespace marlix::tracking
