#pragma once

// CInstaller runs the downloaded package hidden with the command line that makes it install
// silently and report on its standard output, and turns each recognised output line into a
// report: IST_CODE_* and IST_INFO_* (install_codes.h).

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "app/thread.h"
#include "download/status_callback.h"

// The values a runner takes again before every installation.
struct PackageValues {
    std::string targetFolder;  // may be empty
    bool desktopShortcut = true;
    bool quickLaunchShortcut = true;
    bool consoleUserIsAdmin = true;
    bool processIsElevated = true;
    std::string language;  // interface language code; may be empty
};

// The package's command line: the quoted package path, silent console mode, the flags,
// the language, `instCmd` and the target folder, in this order.
std::string BuildPackageCommandLine(const std::string& packageCommand, const PackageValues& values,
                                    const std::string& instCmd);

class CInstaller {
  public:
    struct Options {
        // Extra text for the package's command line (the configuration's InstCmd).
        std::string instCmd;
        // Called on the worker once the package process has ended, after the last report
        // (not once destruction has begun), with the number of the Install call whose
        // package it was (the first call is 1).
        std::function<void(uint64_t install)> packageEnded;
        // Replaces the system's thread creation (tests). Empty: std::thread.
        Utils::Thread::Starter threadStarter;
    };

    // `packageCommand` is the package path in double quotation marks. No worker yet.
    CInstaller(StatusCallback callback, std::string packageCommand, std::string targetFolder,
               bool desktopShortcut, bool quickLaunchShortcut, bool consoleUserIsAdmin,
               Options options = {});
    // Stops reporting, then waits without a time limit for the package and the worker.
    ~CInstaller();
    CInstaller(const CInstaller&) = delete;
    CInstaller& operator=(const CInstaller&) = delete;

    // The values of the next Install. Any thread.
    void SetValues(PackageValues values);

    // Builds the command line, waits for the worker of an earlier Install, and starts a new
    // worker that runs the package and reports. Returns at once; (2004, 2, empty) when the
    // worker cannot be created. Any thread; safe beside the destructor (does nothing once
    // destruction has begun).
    void Install();

    // Parses output text line by line and reports what it finds. Returns kParseNoResult, or
    // for the last result line: kParseSuccess ("State=Success") or kParseFailure ("State=Fail",
    // "Error="). Runs on the worker; a test may call it while no worker runs.
    int Parse(std::string_view text);

    // The command line of the last Install.
    std::string CommandLine() const;
    // Major, minor, build from "InstallVersion=", zeros before.
    std::array<int32_t, 3> InstallVersion() const;
    // Code page of the package's output: 0 the system's ANSI code page, 65001 UTF-8.
    int32_t CodePage() const { return codePage_.load(); }

  private:
    // False when the worker cannot be created.
    bool StartWorker();
    void Work(const std::string& commandLine, uint64_t install);
    int ParseRawLines(const std::vector<std::string>& lines);
    int ParseLine(std::string_view line);
    void Report(int32_t code, double value, const std::string& text);

    int OnProgress(std::string_view value);
    int OnInstallPath(std::string_view value);
    int OnState(std::string_view value);
    int OnInstallVersion(std::string_view value);
    int OnExePath(std::string_view value);
    int OnStartExe(std::string_view value);
    int OnUninstallExe(std::string_view value);
    int OnUninstallRecord(std::string_view value);
    int OnError(std::string_view value);
    int OnTopShowDetention(std::string_view value);
    int OnFinishCloseDetention(std::string_view value);
    int OnStartUrl(std::string_view value);
    int OnStartupStyle(std::string_view value);
    int OnEncode(std::string_view value);
    int OnMessage(std::string_view value);

    struct Row {
        std::string_view key;
        int (CInstaller::*apply)(std::string_view value);
    };
    static const Row kRows[];

    const StatusCallback callback_;
    const std::string packageCommand_;
    const Options options_;

    mutable std::mutex valuesMutex_;
    PackageValues values_;
    std::string commandLine_;
    std::array<int32_t, 3> installVersion_{};

    std::atomic<int32_t> codePage_{0};
    std::atomic<bool> closing_{false};

    std::mutex workerMutex_;
    std::unique_ptr<Utils::Thread> worker_;
    uint64_t installs_ = 0;
};
