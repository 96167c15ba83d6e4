#include "install/install_test_support.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace insttest {

namespace fs = std::filesystem;

void PrintTo(const Report& report, std::ostream* out) {
    *out << "(" << report.code << ", " << report.value << ", \"" << report.text << "\")";
}

ReportRecorder::ReportRecorder(std::function<void(const Report&)> after)
    : after_(std::move(after)) {}

StatusCallback ReportRecorder::Callback() {
    return [this](int32_t code, double value, const std::string& text) {
        const Report report{code, value, text};
        {
            std::lock_guard lock(mutex_);
            reports_.push_back(report);
        }
        changed_.notify_all();
        if (after_) {
            after_(report);
        }
    };
}

bool ReportRecorder::WaitForCode(int32_t code, size_t count, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] {
        size_t seen = 0;
        for (const Report& report : reports_) {
            seen += report.code == code ? 1 : 0;
        }
        return seen >= count;
    });
}

bool ReportRecorder::WaitForAny(const std::vector<int32_t>& codes,
                                std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] {
        for (const Report& report : reports_) {
            for (const int32_t code : codes) {
                if (report.code == code) {
                    return true;
                }
            }
        }
        return false;
    });
}

std::vector<Report> ReportRecorder::All() const {
    std::lock_guard lock(mutex_);
    return reports_;
}

std::vector<int32_t> ReportRecorder::Codes() const {
    std::vector<int32_t> codes;
    for (const Report& report : All()) {
        codes.push_back(report.code);
    }
    return codes;
}

std::vector<Report> ReportRecorder::Milestones() const {
    std::vector<Report> milestones;
    for (const Report& report : All()) {
        const bool progress = report.code == 1002 || report.code == 2002 || report.code == 5002;
        if (!progress || report.value == 0) {
            milestones.push_back(report);
        }
    }
    return milestones;
}

ScopedEnv::ScopedEnv(std::string name, const std::optional<std::string>& value)
    : name_(std::move(name)) {
    if (const char* old = ::getenv(name_.c_str())) {
        old_ = old;
    }
    if (value) {
        ::setenv(name_.c_str(), value->c_str(), 1);
    } else {
        ::unsetenv(name_.c_str());
    }
}

ScopedEnv::~ScopedEnv() {
    if (old_) {
        ::setenv(name_.c_str(), old_->c_str(), 1);
    } else {
        ::unsetenv(name_.c_str());
    }
}

Sandbox::Sandbox() {
    std::string pattern = (fs::temp_directory_path() / "quorvex-install-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) {
        root_ = pattern;
    }
    auto set = [this](const char* name, const std::optional<std::string>& value) {
        env_.push_back(std::make_unique<ScopedEnv>(name, value));
    };
    set("HOME", Folder("home"));
    set("XDG_CONFIG_HOME", Folder("home/.config"));
    set("XDG_DATA_HOME", Folder("home/.local/share"));
    set("TMPDIR", Folder("tmp") + "/");
    set("APPDATA", std::nullopt);
    set("QUORVEX_FAKE_DIR", Folder("fake"));
}

Sandbox::~Sandbox() {
    env_.clear();
    std::error_code error;
    fs::remove_all(root_, error);
}

std::string Sandbox::Folder(const std::string& relative) const {
    const std::string path = Path(relative);
    std::error_code error;
    fs::create_directories(path, error);
    return path;
}

void Sandbox::Script(const std::string& programName,
                     const std::vector<std::string>& actions) const {
    std::string text;
    for (const std::string& action : actions) {
        text += action + "\n";
    }
    WriteFile(FakeDir() + "/" + programName + ".script", text);
}

std::vector<std::string> Sandbox::RecordedArguments(const std::string& programName) const {
    std::ifstream in(FakeDir() + "/" + programName + ".args", std::ios::binary);
    std::vector<std::string> arguments;
    for (std::string line; std::getline(in, line);) {
        arguments.push_back(line);
    }
    return arguments;
}

std::string FakeProgramFile() {
    return QUORVEX_FAKE_SETUP;
}

void PlaceFakeProgram(const std::string& path) {
    std::error_code error;
    fs::copy_file(FakeProgramFile(), path, fs::copy_options::overwrite_existing, error);
    EXPECT_FALSE(error) << path << ": " << error.message();
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return fs::exists(path, error);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

std::thread RefuseThread(std::function<void()>) {
    throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
}

std::function<std::thread(std::function<void()>)> ThreadEnds::Starter() {
    return [this](std::function<void()> entry) {
        return std::thread([this, entry = std::move(entry)] {
            entry();
            std::lock_guard lock(mutex_);
            ++ended_;
            changed_.notify_all();
        });
    };
}

bool ThreadEnds::WaitFor(size_t count, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return ended_ >= count; });
}

}  // namespace insttest
