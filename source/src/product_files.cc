#include "source/src/product_files.h"

#include <fmt/printf.h>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/ini_profile.h"
#include "platform/known_folders.h"
#include "source/src/tracker_files.h"

namespace marlix::tracking {
namespace {

constexpr size_t kMaxPathChars = 260;

size_t CodePoints(const std::string& text) {
    size_t count = 0;
    for (unsigned char c : text) {
        count += (c & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

}  // namespace

std::string ProductDataFolder() {
    constexpr char kSep = platform::kPathSeparator;
    return platform::folders::RoamingAppData() + kSep + "MarlixData" + kSep + "Quorvex";
}

bool WriteProductAnalyticsFiles(const std::string& setIniPath) {
    try {
        const std::string folder = ProductDataFolder();
        if (CodePoints(folder) > kMaxPathChars ||
            !CreateFolders(folder + platform::kPathSeparator)) {
            return false;
        }
        const std::string analyticsIni = folder + platform::kPathSeparator + "MXAnalytics.ini";
        const platform::LocalTime now = platform::NowLocal();
        const std::string updateTime =
            fmt::sprintf("%d-%02d-%02d %02d:%02d:%02d", now.year, now.month, now.day, now.hour,
                         now.minute, now.second);
        const bool keyWritten =
            platform::ini::WriteString(setIniPath, "Install", "MXAnalyticsIni", analyticsIni);
        const bool timeWritten =
            platform::ini::WriteString(analyticsIni, "Init", "UpdateTime", updateTime);
        return keyWritten && timeWritten;
    } catch (...) {
        return false;
    }
}

}  // namespace marlix::tracking
