#pragma once

// CUnInstaller runs the old installation's uninstaller, from its copy in the installer's
// temp folder, hidden and silent, and turns its output lines into UNIST_CODE_* reports
// (install_codes.h). A runner serves one attempt.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "app/thread.h"
#include "download/status_callback.h"

// The uninstaller's command line: the quoted copy path, silent console mode, the two
// account flags and "_?=" with the old folder (unquoted, the last argument).
std::string BuildUninstallerCommandLine(const std::string& uninstallerCopy, bool consoleUserIsAdmin,
                                        bool processIsElevated, const std::string& oldFolder);

class CUnInstaller {
  public:
    // `threadStarter` replaces the system's thread creation (tests); empty: std::thread.
    CUnInstaller(StatusCallback callback, std::string uninstallerCopy, std::string oldFolder,
                 Utils::Thread::Starter threadStarter = {});
    // Stops reporting, then waits without a time limit for the uninstaller and the worker.
    ~CUnInstaller();
    CUnInstaller(const CUnInstaller&) = delete;
    CUnInstaller& operator=(const CUnInstaller&) = delete;

    // Determines the account flags, builds the command line and starts the worker
    // "UnInstaller"; returns at once. (5004, 2, empty) when the worker cannot be created.
    void Start();

    // Parses output text line by line and reports what it finds; returns kParseNoResult or,
    // for the last result line, kParseSuccess or kParseFailure. Runs on the worker; a test
    // may call it while no worker runs.
    int Parse(std::string_view text);

    // The command line of the last Start.
    std::string CommandLine() const;
    int32_t CodePage() const { return codePage_.load(); }

    // The id of a running process whose program file name is `name` (compared the way the
    // system compares file names), 0 when there is none. Any thread.
    static int FindRunningProcess(std::string_view name);

  private:
    // False when the worker cannot be created.
    bool StartWorker();
    void Work(const std::string& commandLine);
    int ParseRawLines(const std::vector<std::string>& lines);
    int ParseLine(std::string_view line);
    void Report(int32_t code, double value, const std::string& text);

    const StatusCallback callback_;
    const std::string uninstallerCopy_;
    const std::string oldFolder_;
    const Utils::Thread::Starter threadStarter_;

    mutable std::mutex mutex_;
    std::string commandLine_;
    std::unique_ptr<Utils::Thread> worker_;

    std::atomic<int32_t> codePage_{0};
    std::atomic<bool> closing_{false};
};
