#pragma once

// CDownloadInstaller turns one click on "install" into the installer's three jobs in order:
// run the old copy's uninstaller when one is registered, download the package, run it. It
// owns the downloader, the package runner and the uninstaller runner; every report of
// theirs goes to the window's callback unchanged, and then the driver takes the next step
// itself, on the reporting thread.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "download/download_settings.h"
#include "download/downloader.h"
#include "download/status_callback.h"
#include "install/installer.h"
#include "install/last_package.h"
#include "install/uninstaller.h"

struct InstallerConfig;

// What the driver takes from the configuration, and its seams.
struct DriverSettings {
    int32_t downloadType = 1;  // 2 system service, 3 two ranges, else one stream
    bool insNew = false;       // wait for a running product before uninstalling it
    std::string instCmd;       // extra text for the package's command line
    download::DownloadSettings download;
    // The record of the last package file; every driver of the process shares one.
    std::shared_ptr<install::LastPackagePath> lastPackage = install::LastPackagePath::ProcessWide();
    // Makes the downloader (tests); empty: install::CreateDownloader.
    std::function<std::unique_ptr<CDownloader>(int32_t type, StatusCallback callback,
                                               std::string address, std::string target)>
        createDownloader;

    static DriverSettings FromConfig(const InstallerConfig& config);
};

class CDownloadInstaller {
  public:
    // Stores the values; no downloader or runner exists yet.
    CDownloadInstaller(StatusCallback callback, std::string address, std::string oldUninstaller,
                       std::string targetFolder, bool desktopShortcut, bool quickLaunchShortcut,
                       bool consoleUserIsAdmin, DriverSettings settings);
    // The same with the settings of the process's configuration.
    CDownloadInstaller(StatusCallback callback, std::string address, std::string oldUninstaller,
                       std::string targetFolder, bool desktopShortcut, bool quickLaunchShortcut,
                       bool consoleUserIsAdmin);
    // Sends no report once begun. Destroys the uninstaller runner (its success would start
    // the download), then the downloader, then the package runner, each of which cancels
    // and joins its threads (the runners wait for their child to end), and then deletes the
    // downloaded package, which nothing uses any more. Window thread.
    ~CDownloadInstaller();
    CDownloadInstaller(const CDownloadInstaller&) = delete;
    CDownloadInstaller& operator=(const CDownloadInstaller&) = delete;

    // The values of the next Start. Window thread.
    void SetParameters(std::string address, std::string oldUninstaller, std::string targetFolder,
                       bool desktopShortcut, bool quickLaunchShortcut, bool consoleUserIsAdmin,
                       bool processIsElevated, std::string language);

    // Begins the sequence, or begins it again after a failure: the uninstaller when the old
    // uninstaller file exists (after waiting for a running "quorvex.exe" with insNew), else
    // the download. Window thread; returns once the first step has started.
    void Start();

    // The package path for the current target folder: "__Package_Quorvex.exe" in it.
    std::string PackagePath() const;

  private:
    struct Parameters {
        std::string address;
        std::string oldUninstaller;
        std::string targetFolder;
        bool desktopShortcut = true;
        bool quickLaunchShortcut = true;
        bool consoleUserIsAdmin = true;
        bool processIsElevated = true;
        std::string language;
    };

    void StartUninstaller(const std::string& oldUninstaller);
    void WaitWhileProductRuns() const;
    bool Forward(int32_t code, double value, const std::string& text);
    CDownloader* Downloader();

    void OnDownloadReport(int32_t code, double value, const std::string& text);
    void OnUninstallReport(int32_t code, double value, const std::string& text);
    void OnInstallReport(int32_t code, double value, const std::string& text);
    void OnPackageEnded(uint64_t install);
    void CleanUpPackage();

    const StatusCallback callback_;
    const DriverSettings settings_;

    mutable std::mutex mutex_;
    Parameters parameters_;
    std::string packagePath_;
    std::string downloadTarget_;    // fixed when the downloader is made
    uint64_t downloadRounds_ = 0;   // downloads begun (1001)
    uint64_t installsStarted_ = 0;  // Install calls (1003)
    uint64_t installRound_ = 0;     // the download whose package the last Install runs
    bool closing_ = false;

    // Made and replaced on the window thread; the handlers reach them under mutex_.
    std::unique_ptr<CUnInstaller> uninstaller_;
    std::unique_ptr<CDownloader> downloader_;
    std::unique_ptr<CInstaller> installer_;
};
