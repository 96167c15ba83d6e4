#pragma once

// Fixtures shared by the SDK's tests: a fresh folder per test, file helpers and JSON parsing.

#include <json/reader.h>
#include <json/value.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace sdktest {

// A new folder under the system temp folder, removed with its contents at the end.
class TempFolder {
  public:
    TempFolder() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("quorvex-sdk-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string Path() const { return path_.string(); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Parses `text` strictly; throws when it is not valid JSON.
inline Json::Value ParseJson(const std::string& text) {
    Json::CharReaderBuilder builder;
    Json::CharReaderBuilder::strictMode(&builder.settings_);
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value value;
    std::string error;
    if (!reader->parse(text.data(), text.data() + text.size(), &value, &error)) {
        throw std::runtime_error("invalid JSON: " + error + " in " + text);
    }
    return value;
}

// A record text like the SDK's, numbered so that tests can follow each one.
inline std::string NumberedRecord(int n) {
    return "{\"n\":" + std::to_string(n) + "}";
}

inline std::vector<std::string> NumberedRecords(int first, int count) {
    std::vector<std::string> records;
    for (int n = first; n < first + count; ++n) {
        records.push_back(NumberedRecord(n));
    }
    return records;
}

}  // namespace sdktest
