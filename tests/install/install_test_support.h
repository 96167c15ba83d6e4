#pragma once

// Shared pieces of the install driver's tests: a sandbox per test (fresh folders for HOME,
// the temp folder, the application data and the fake programs' scripts), the fake package
// and uninstaller, and a recorder of reports.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "download/status_callback.h"

namespace insttest {

struct Report {
    int32_t code;
    double value;
    std::string text;

    bool operator==(const Report& other) const = default;
};

void PrintTo(const Report& report, std::ostream* out);

class ReportRecorder {
  public:
    // Called after each report is recorded, on the reporting thread.
    explicit ReportRecorder(std::function<void(const Report&)> after = {});

    StatusCallback Callback();

    // Waits until a report with `code` arrived `count` times.
    bool WaitForCode(int32_t code, size_t count = 1,
                     std::chrono::milliseconds timeout = std::chrono::seconds(30));
    // Waits until a report with any of `codes` arrived.
    bool WaitForAny(const std::vector<int32_t>& codes,
                    std::chrono::milliseconds timeout = std::chrono::seconds(30));

    std::vector<Report> All() const;
    std::vector<int32_t> Codes() const;
    // Every report but progress (1002, 2002, 5002 with a value other than 0).
    std::vector<Report> Milestones() const;

  private:
    std::function<void(const Report&)> after_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Report> reports_;
};

// Environment variables set for one test, restored at its end.
class ScopedEnv {
  public:
    ScopedEnv(std::string name, const std::optional<std::string>& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    std::optional<std::string> old_;
};

// A fresh folder with HOME, XDG_CONFIG_HOME, XDG_DATA_HOME, TMPDIR and QUORVEX_FAKE_DIR
// inside it and APPDATA unset; everything is removed at the end.
class Sandbox {
  public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    const std::string& Root() const { return root_; }
    std::string Path(const std::string& relative) const { return root_ + "/" + relative; }
    // A folder below the root, created.
    std::string Folder(const std::string& relative) const;
    // Where the fake programs find their scripts and leave their argument records.
    std::string FakeDir() const { return Path("fake"); }

    // The actions the fake program started as `programName` performs.
    void Script(const std::string& programName, const std::vector<std::string>& actions) const;
    // The arguments the fake program started as `programName` received; empty when it did
    // not run.
    std::vector<std::string> RecordedArguments(const std::string& programName) const;

  private:
    std::string root_;
    std::vector<std::unique_ptr<ScopedEnv>> env_;
};

// Copies the fake program to `path` (executable).
void PlaceFakeProgram(const std::string& path);
// The fake program's own file.
std::string FakeProgramFile();

bool FileExists(const std::string& path);
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);

// A thread starter that always fails, as when the system refuses a new thread.
std::thread RefuseThread(std::function<void()> entry);

// A thread starter whose threads are counted when their body has returned, so that a test
// can wait for a worker's end without destroying its owner.
class ThreadEnds {
  public:
    std::function<std::thread(std::function<void()>)> Starter();
    bool WaitFor(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(30));

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    size_t ended_ = 0;
};

}  // namespace insttest
