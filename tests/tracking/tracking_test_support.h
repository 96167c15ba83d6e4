#pragma once

// Fixtures for the tracker's tests: a fresh home folder per test (the tracker's files go
// below it), a local collection endpoint, standard output captured, and record lookups.

#include <gtest/gtest.h>
#include <json/value.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "source/src/mx_tracker.h"
#include "source/src/mx_tracker_impl.h"
#include "support/collection_endpoint.h"

namespace trackingtest {

// A new folder under the system temp folder, removed with its contents at the end.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quorvex-trk-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

// Sets (or with nullopt removes) an environment variable for the object's life.
class ScopedEnv {
  public:
    ScopedEnv(std::string name, const std::optional<std::string>& value) : name_(std::move(name)) {
        if (const char* old = getenv(name_.c_str())) {
            old_ = old;
        }
        Apply(value);
    }
    ~ScopedEnv() { Apply(old_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    void Apply(const std::optional<std::string>& value) {
        if (value) {
            setenv(name_.c_str(), value->c_str(), 1);
        } else {
            unsetenv(name_.c_str());
        }
    }
    std::string name_;
    std::optional<std::string> old_;
};

// Redirects standard output into a temporary file for the object's life.
class StdoutCapture {
  public:
    StdoutCapture() {
        char name[] = "/tmp/quorvex-stdout-XXXXXX";
        fileFd_ = mkstemp(name);
        unlink(name);
        fflush(stdout);
        savedFd_ = dup(STDOUT_FILENO);
        dup2(fileFd_, STDOUT_FILENO);
    }
    ~StdoutCapture() {
        fflush(stdout);
        dup2(savedFd_, STDOUT_FILENO);
        close(savedFd_);
        close(fileFd_);
    }
    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;

    std::string Text() const {
        fflush(stdout);
        std::string text;
        char buffer[4096];
        off_t offset = 0;
        for (ssize_t n; (n = pread(fileFd_, buffer, sizeof buffer, offset)) > 0; offset += n) {
            text.append(buffer, static_cast<size_t>(n));
        }
        return text;
    }

  private:
    int savedFd_ = -1;
    int fileFd_ = -1;
};

inline std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteTextFile(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

inline constexpr char kAppName[] = "Quorvex.downloader";

// A fresh home with no XDG overrides, so the tracker directory is
// <home>/.local/share/MXLocal/Quorvex.downloader/, and an endpoint on 127.0.0.1.
class TrackerTest : public testing::Test {
  protected:
    marlix::tracking::TrackerOptions Options() const {
        marlix::tracking::TrackerOptions options;
        options.appName = kAppName;
        options.appVersion = "1.7.9";
        options.appStore = "QuorvexSetup.exe";
        options.dlAppId = "Quorvex";
        options.serverUrl = endpoint_.Url();
        return options;
    }
    // Set.ini is looked for beside this (absent) program, inside the home folder.
    marlix::tracking::TrackerEnvironment Environment() const { return {home_ / "bin/installer"}; }
    std::unique_ptr<marlix::tracking::MxTrackerImpl> Start(
        const marlix::tracking::TrackerOptions& options) const {
        auto tracker = std::make_unique<marlix::tracking::MxTrackerImpl>(options, Environment());
        tracker->init();
        return tracker;
    }
    std::unique_ptr<marlix::tracking::MxTrackerImpl> Start() const { return Start(Options()); }

    std::string TrackerDir() const {
        return home_ / (std::string(".local/share/MXLocal/") + kAppName + "/");
    }
    std::string SettingsFile() const { return TrackerDir() + kAppName + "_MXSConfigure.ini"; }

    // Records of type "track" named `event`, in arrival order.
    std::vector<Json::Value> Events(const std::string& event) const {
        std::vector<Json::Value> found;
        for (const Json::Value& record : endpoint_.Records()) {
            if (record["type"].asString() == "track" && record["event"].asString() == event) {
                found.push_back(record);
            }
        }
        return found;
    }
    std::vector<Json::Value> ProfileRecords() const {
        std::vector<Json::Value> found;
        for (const Json::Value& record : endpoint_.Records()) {
            if (record["type"].asString().rfind("profile_", 0) == 0) {
                found.push_back(record);
            }
        }
        return found;
    }

    ScratchFolder home_;
    ScopedEnv homeEnv_{"HOME", home_.Path()};
    ScopedEnv dataHome_{"XDG_DATA_HOME", std::nullopt};
    ScopedEnv configHome_{"XDG_CONFIG_HOME", std::nullopt};
    ScopedEnv appData_{"APPDATA", home_ / "AppData/Roaming"};
    ScopedEnv localeAll_{"LC_ALL", std::nullopt};
    ScopedEnv localeMessages_{"LC_MESSAGES", std::nullopt};
    ScopedEnv lang_{"LANG", std::string("zh_CN.UTF-8")};
    testsupport::CollectionEndpoint endpoint_;
};

// Whether `text` has the shape of `pattern`, character by character: 'X' stands for a capital
// hexadecimal digit, '9' for a decimal digit, anything else for itself. (std::regex draws a
// false warning from g++ 12 in the sanitizer builds.)
inline bool HasShape(const std::string& text, const std::string& pattern) {
    if (text.size() != pattern.size()) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool ok = pattern[i] == 'X'   ? ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))
                        : pattern[i] == '9' ? (c >= '0' && c <= '9')
                                            : c == pattern[i];
        if (!ok) {
            return false;
        }
    }
    return true;
}

inline constexpr char kGuidShape[] = "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX";

}  // namespace trackingtest
