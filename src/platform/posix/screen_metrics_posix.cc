#include "platform/screen_metrics.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace platform {
namespace {

std::string FirstLine(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

// A mode line reads "1920x1080" (some drivers append "i" or a refresh rate).
bool ParseMode(const std::string& mode, ScreenSize& size) {
    int width = 0;
    int height = 0;
    char separator = 0;
    std::istringstream in(mode);
    if (!(in >> width >> separator >> height) || separator != 'x' || width <= 0 || height <= 0) {
        return false;
    }
    size = ScreenSize{width, height};
    return true;
}

}  // namespace

ScreenSize PrimaryScreenSize() {
    std::error_code error;
    std::vector<std::filesystem::path> outputs;
    for (const auto& entry : std::filesystem::directory_iterator("/sys/class/drm", error)) {
        // Outputs are named "<card>-<connector>"; the cards themselves have no '-'.
        if (entry.path().filename().string().find('-') != std::string::npos) {
            outputs.push_back(entry.path());
        }
    }
    std::sort(outputs.begin(), outputs.end());
    for (const auto& output : outputs) {
        ScreenSize size;
        if (FirstLine(output / "status") == "connected" &&
            ParseMode(FirstLine(output / "modes"), size)) {
            return size;
        }
    }
    return ScreenSize{};
}

}  // namespace platform
