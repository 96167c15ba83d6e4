#include "analytics-sdk/staging_file.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace analytics_sdk {

std::deque<std::string> ReadStagedRecords(const std::string& path, size_t keep) {
    std::deque<std::string> records;
    if (keep == 0) {
        return records;
    }
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line.front() != '{' || line.back() != '}') {
            continue;
        }
        records.push_back(std::move(line));
        if (records.size() > keep) {
            records.pop_front();
        }
    }
    return records;
}

void TruncateStagingFile(const std::string& path) {
    std::ofstream out(path, std::ios::out | std::ios::trunc);
}

bool RewriteStagingFile(const std::string& path, const std::deque<std::string>& records) {
    if (path.empty()) {
        return false;
    }
    const std::string temporary = path + ".tmp";
    {
        // Text mode: lines end with the platform's line end.
        std::ofstream out(temporary, std::ios::out | std::ios::trunc);
        for (const std::string& record : records) {
            out << record << '\n';
        }
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

}  // namespace analytics_sdk
