#include "install/download_installer.h"

#include <chrono>
#include <filesystem>
#include <system_error>
#include <thread>
#include <utility>

#include "app/installer_config.h"
#include "app/log.h"
#include "app/utils.h"
#include "download/download_codes.h"
#include "install/downloader_factory.h"
#include "install/install_codes.h"
#include "install/install_location.h"
#include "platform/files.h"

namespace {

constexpr std::string_view kPackageFileName = "__Package_Quorvex.exe";
constexpr std::string_view kUninstallerCopyName = "Quorvex_un_asa.exe";
constexpr std::string_view kProductProgram = "quorvex.exe";
constexpr auto kProductCheckInterval = std::chrono::milliseconds(100);

bool IsSeparator(char c) {
    return c == platform::kPathSeparator || c == '/';
}

// The path without its last component.
std::string ParentFolder(const std::string& path) {
    size_t at = path.size();
    while (at > 0 && !IsSeparator(path[at - 1])) {
        --at;
    }
    return path.substr(0, at > 0 ? at - 1 : 0);
}

bool IsFile(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

void RemoveFile(const std::string& path) {
    std::error_code error;
    if (!path.empty()) {
        std::filesystem::remove(path, error);
    }
}

}  // namespace

DriverSettings DriverSettings::FromConfig(const InstallerConfig& config) {
    DriverSettings settings;
    settings.downloadType = config.DownloadType;
    settings.insNew = config.InsNew;
    settings.instCmd = config.InstCmd;
    settings.download.curlAvailable = config.CurlAvailable;
    return settings;
}

CDownloadInstaller::CDownloadInstaller(StatusCallback callback, std::string address,
                                       std::string oldUninstaller, std::string targetFolder,
                                       bool desktopShortcut, bool quickLaunchShortcut,
                                       bool consoleUserIsAdmin, DriverSettings settings)
    : callback_(std::move(callback)), settings_(std::move(settings)) {
    parameters_.address = std::move(address);
    parameters_.oldUninstaller = std::move(oldUninstaller);
    parameters_.targetFolder = std::move(targetFolder);
    parameters_.desktopShortcut = desktopShortcut;
    parameters_.quickLaunchShortcut = quickLaunchShortcut;
    parameters_.consoleUserIsAdmin = consoleUserIsAdmin;
}

CDownloadInstaller::CDownloadInstaller(StatusCallback callback, std::string address,
                                       std::string oldUninstaller, std::string targetFolder,
                                       bool desktopShortcut, bool quickLaunchShortcut,
                                       bool consoleUserIsAdmin)
    : CDownloadInstaller(std::move(callback), std::move(address), std::move(oldUninstaller),
                         std::move(targetFolder), desktopShortcut, quickLaunchShortcut,
                         consoleUserIsAdmin, DriverSettings::FromConfig(Config())) {}

CDownloadInstaller::~CDownloadInstaller() {
    std::unique_ptr<CUnInstaller> uninstaller;
    std::unique_ptr<CDownloader> downloader;
    std::unique_ptr<CInstaller> installer;
    std::string downloadTarget;
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
        uninstaller = std::move(uninstaller_);
        downloader = std::move(downloader_);
        installer = std::move(installer_);
        downloadTarget = downloadTarget_;
    }
    // A handler that took one of them before closing_ runs on a thread the earlier ones
    // join: 5003 on the uninstaller's, 1003 and 1005 on the downloader's.
    uninstaller.reset();
    downloader.reset();
    installer.reset();
    RemoveFile(downloadTarget);
}

void CDownloadInstaller::SetParameters(std::string address, std::string oldUninstaller,
                                       std::string targetFolder, bool desktopShortcut,
                                       bool quickLaunchShortcut, bool consoleUserIsAdmin,
                                       bool processIsElevated, std::string language) {
    std::lock_guard lock(mutex_);
    parameters_ = {std::move(address), std::move(oldUninstaller), std::move(targetFolder),
                   desktopShortcut,    quickLaunchShortcut,       consoleUserIsAdmin,
                   processIsElevated,  std::move(language)};
}

std::string CDownloadInstaller::PackagePath() const {
    std::lock_guard lock(mutex_);
    return install::JoinPath(parameters_.targetFolder, kPackageFileName);
}

void CDownloadInstaller::Start() {
    Parameters parameters;
    std::string packagePath;
    {
        std::lock_guard lock(mutex_);
        packagePath_ = install::JoinPath(parameters_.targetFolder, kPackageFileName);
        packagePath = packagePath_;
        parameters = parameters_;
    }
    WRITE_LOG("DL_TYPE=%d\r\n", settings_.downloadType);
    if (!downloader_) {
        StatusCallback report = [this](int32_t code, double value, const std::string& text) {
            OnDownloadReport(code, value, text);
        };
        std::unique_ptr<CDownloader> downloader =
            settings_.createDownloader
                ? settings_.createDownloader(settings_.downloadType, std::move(report),
                                             parameters.address, packagePath)
                : install::CreateDownloader(settings_.downloadType, std::move(report),
                                            parameters.address, packagePath, settings_.download);
        std::lock_guard lock(mutex_);
        downloader_ = std::move(downloader);
        downloadTarget_ = packagePath;
    }
    if (!installer_) {
        CInstaller::Options options;
        options.instCmd = settings_.instCmd;
        options.packageEnded = [this](uint64_t install) { OnPackageEnded(install); };
        auto installer = std::make_unique<CInstaller>(
            [this](int32_t code, double value, const std::string& text) {
                OnInstallReport(code, value, text);
            },
            "\"" + packagePath + "\"", parameters.targetFolder, parameters.desktopShortcut,
            parameters.quickLaunchShortcut, parameters.consoleUserIsAdmin, std::move(options));
        std::lock_guard lock(mutex_);
        installer_ = std::move(installer);
    }
    installer_->SetValues({parameters.targetFolder, parameters.desktopShortcut,
                           parameters.quickLaunchShortcut, parameters.consoleUserIsAdmin,
                           parameters.processIsElevated, parameters.language});
    if (IsFile(parameters.oldUninstaller)) {
        StartUninstaller(parameters.oldUninstaller);
    } else {
        downloader_->Start();
    }
}

void CDownloadInstaller::StartUninstaller(const std::string& oldUninstaller) {
    // The runner of an earlier attempt goes first: its uninstaller may still hold the copy.
    std::unique_ptr<CUnInstaller> previous;
    {
        std::lock_guard lock(mutex_);
        previous = std::move(uninstaller_);
    }
    previous.reset();

    const std::string tempFolder = Utils::GetInstallerTempFolder();
    const std::string copy =
        tempFolder.empty() ? std::string() : install::JoinPath(tempFolder, kUninstallerCopyName);
    if (!copy.empty()) {
        // A failed copy shows as the runner's missing-file report.
        std::error_code error;
        std::filesystem::copy_file(oldUninstaller, copy,
                                   std::filesystem::copy_options::overwrite_existing, error);
    }
    auto uninstaller = std::make_unique<CUnInstaller>(
        [this](int32_t code, double value, const std::string& text) {
            OnUninstallReport(code, value, text);
        },
        copy, ParentFolder(oldUninstaller));
    CUnInstaller* runner = uninstaller.get();
    {
        std::lock_guard lock(mutex_);
        uninstaller_ = std::move(uninstaller);
    }
    if (settings_.insNew) {
        WaitWhileProductRuns();
    }
    runner->Start();
}

void CDownloadInstaller::WaitWhileProductRuns() const {
    while (CUnInstaller::FindRunningProcess(kProductProgram) != 0) {
        std::this_thread::sleep_for(kProductCheckInterval);
    }
}

bool CDownloadInstaller::Forward(int32_t code, double value, const std::string& text) {
    {
        std::lock_guard lock(mutex_);
        if (closing_) {
            return false;
        }
    }
    if (callback_) {
        callback_(code, value, text);
    }
    return true;
}

CDownloader* CDownloadInstaller::Downloader() {
    std::lock_guard lock(mutex_);
    return closing_ ? nullptr : downloader_.get();
}

void CDownloadInstaller::OnDownloadReport(int32_t code, double value, const std::string& text) {
    if (!Forward(code, value, text)) {
        return;
    }
    switch (code) {
        case DL_CODE_START: {
            WRITE_LOG("DL_CODE_START\r\n");
            std::string folder;
            {
                std::lock_guard lock(mutex_);
                ++downloadRounds_;
                folder = parameters_.targetFolder;
            }
            Utils::CreateFolderTree(folder);
            break;
        }
        case DL_CODE_PROGRESS:
            WRITE_LOG("DL_CODE_PROGRESS\r\n");
            break;
        case DL_CODE_SUCCESS: {
            WRITE_LOG("DOWNLOAD_SUCCESS\r\n");
            CInstaller* installer = nullptr;
            std::string package;
            {
                std::lock_guard lock(mutex_);
                if (closing_) {
                    return;
                }
                ++installsStarted_;
                installRound_ = downloadRounds_;
                installer = installer_.get();
                package = downloadTarget_;
            }
            // A downloaded file carries no execute permission.
            std::error_code error;
            std::filesystem::permissions(package, std::filesystem::perms::owner_exec,
                                         std::filesystem::perm_options::add, error);
            installer->Install();
            WRITE_LOG("DL_CODE_SUCCESS\r\n");
            break;
        }
        case DL_CODE_FAIL:
            WRITE_LOG("DL_CODE_FAIL\r\n");
            CleanUpPackage();
            break;
        case DL_CODE_RETRY:
            WRITE_LOG("DL_CODE_RETRY\r\n");
            if (CDownloader* downloader = Downloader()) {
                downloader->Start();
            }
            break;
        default:
            break;
    }
}

void CDownloadInstaller::OnUninstallReport(int32_t code, double value, const std::string& text) {
    if (!Forward(code, value, text)) {
        return;
    }
    switch (code) {
        case UNIST_CODE_START:
            WRITE_LOG("UNIST_CODE_START\r\n");
            break;
        case UNIST_CODE_PROGRESS:
            WRITE_LOG("UNIST_CODE_PROGRESS\r\n");
            break;
        case UNIST_CODE_SUCCESS: {
            WRITE_LOG("UNIST_CODE_SUCCESS\r\n");
            CDownloader* downloader = nullptr;
            {
                std::lock_guard lock(mutex_);
                downloader = closing_ || !installer_ ? nullptr : downloader_.get();
            }
            if (downloader != nullptr) {
                downloader->Start();
            }
            break;
        }
        case UNIST_CODE_FAIL:
            WRITE_LOG("UNIST_CODE_FAIL\r\n");
            break;
        case UNIST_CODE_ERROR:
            WRITE_LOG("UNIST_CODE_ERROR\r\n");
            break;
        default:
            break;
    }
}

void CDownloadInstaller::OnInstallReport(int32_t code, double value, const std::string& text) {
    if (!Forward(code, value, text)) {
        return;
    }
    switch (code) {
        case IST_CODE_START:
            WRITE_LOG("IST_CODE_START\r\n");
            break;
        case IST_CODE_PROGRESS:
            WRITE_LOG("IST_CODE_PROGRESS\r\n");
            break;
        case INSTALL_SUCCESS:
            WRITE_LOG("INSTALL_SUCCESS\r\n");
            CleanUpPackage();
            break;
        case IST_CODE_FAIL:
            WRITE_LOG("IST_CODE_FAIL\r\n");
            CleanUpPackage();
            break;
        default:
            break;
    }
}

void CDownloadInstaller::OnPackageEnded(uint64_t install) {
    // The package could not be deleted while it ran (Windows keeps a running program's
    // file); now it can, unless a later download or installation has taken the file over.
    std::lock_guard lock(mutex_);
    if (!closing_ && install == installsStarted_ && installRound_ == downloadRounds_) {
        RemoveFile(downloadTarget_);
    }
}

void CDownloadInstaller::CleanUpPackage() {
    std::string package;
    {
        std::lock_guard lock(mutex_);
        package = downloadTarget_;
    }
    RemoveFile(package);
    const std::string last = settings_.lastPackage->Exchange(package);
    if (!last.empty() && last != package) {
        RemoveFile(last);
    }
}
