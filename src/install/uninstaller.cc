#include "install/uninstaller.h"

#include <chrono>
#include <filesystem>
#include <system_error>
#include <utility>

#include "app/log.h"
#include "app/utils.h"
#include "install/console_child.h"
#include "install/console_values.h"
#include "install/install_codes.h"
#include "platform/processes.h"

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(100);
const char kUninstallFailed[] = "安装包卸载失败";
const char kNoUninstaller[] = "可执行卸载文件不存在";

const char* TrueFalse(bool flag) {
    return flag ? "true" : "false";
}

bool ConsoleUserIsAdmin() {
    std::string user;
    return Utils::GetConsoleUserName(user) && Utils::IsUserAdministrator(user);
}

}  // namespace

std::string BuildUninstallerCommandLine(const std::string& uninstallerCopy, bool consoleUserIsAdmin,
                                        bool processIsElevated, const std::string& oldFolder) {
    // The copy's path is quoted: unquoted, a path with spaces could start another program.
    return "\"" + uninstallerCopy + "\" /S -adminact=" + TrueFalse(consoleUserIsAdmin) +
           " -authorizationact=" + TrueFalse(processIsElevated) + " -console=show _?=" + oldFolder;
}

CUnInstaller::CUnInstaller(StatusCallback callback, std::string uninstallerCopy,
                           std::string oldFolder, Utils::Thread::Starter threadStarter)
    : callback_(std::move(callback)),
      uninstallerCopy_(std::move(uninstallerCopy)),
      oldFolder_(std::move(oldFolder)),
      threadStarter_(std::move(threadStarter)) {}

CUnInstaller::~CUnInstaller() {
    closing_ = true;
    std::unique_ptr<Utils::Thread> worker;
    {
        std::lock_guard lock(mutex_);
        worker = std::move(worker_);
    }
    worker.reset();
}

void CUnInstaller::Start() {
    if (!StartWorker()) {
        Report(UNIST_CODE_FAIL, 2, "");
    }
}

bool CUnInstaller::StartWorker() {
    const std::string commandLine = BuildUninstallerCommandLine(
        uninstallerCopy_, ConsoleUserIsAdmin(), Utils::IsProcessElevated(), oldFolder_);
    std::lock_guard lock(mutex_);
    if (closing_) {
        return true;
    }
    commandLine_ = commandLine;
    worker_.reset();
    worker_ = threadStarter_ ? std::make_unique<Utils::Thread>(threadStarter_)
                             : std::make_unique<Utils::Thread>();
    if (!worker_->Create("UnInstaller", [this, commandLine] { Work(commandLine); })) {
        worker_.reset();
        return false;
    }
    worker_->Resume();
    return true;
}

std::string CUnInstaller::CommandLine() const {
    std::lock_guard lock(mutex_);
    return commandLine_;
}

int CUnInstaller::FindRunningProcess(std::string_view name) {
    return platform::FindProcessByName(name);
}

void CUnInstaller::Work(const std::string& commandLine) {
    std::error_code error;
    if (!std::filesystem::exists(uninstallerCopy_, error)) {
        Report(UNIST_CODE_FAIL, 1, kNoUninstaller);
        return;
    }
    Report(UNIST_CODE_PROGRESS, 0, "");
    install::ConsoleChild uninstaller;
    if (!uninstaller.Start(commandLine)) {
        Report(UNIST_CODE_FAIL, 2, "");
        return;
    }
    // Unlike the package's, the uninstaller's output is read to its end after a result.
    bool finalReportNeeded = true;
    while (!uninstaller.Finished()) {
        if (ParseRawLines(uninstaller.ReadLines(kPollInterval)) != kParseNoResult) {
            finalReportNeeded = false;
        }
    }
    const uint32_t exitCode = uninstaller.Wait();
    if (!finalReportNeeded) {
        return;
    }
    if (exitCode == 0) {
        Report(UNIST_CODE_SUCCESS, 1, "");
    } else {
        WRITE_LOG("uninstaller exit code %u without a result\r\n", exitCode);
        Report(UNIST_CODE_ERROR, 0, kUninstallFailed);
    }
}

int CUnInstaller::ParseRawLines(const std::vector<std::string>& lines) {
    int result = kParseNoResult;
    for (const std::string& line : lines) {
        const std::string text = Utils::ToUtf8(line, static_cast<uint32_t>(codePage_.load()));
        if (const int lineResult = ParseLine(text); lineResult != kParseNoResult) {
            result = lineResult;
        }
    }
    return result;
}

int CUnInstaller::Parse(std::string_view text) {
    int result = kParseNoResult;
    for (const std::string_view line : install::SplitLines(text)) {
        if (const int lineResult = ParseLine(line); lineResult != kParseNoResult) {
            result = lineResult;
        }
    }
    return result;
}

int CUnInstaller::ParseLine(std::string_view line) {
    static constexpr std::string_view kProgress = "Progress=";
    static constexpr std::string_view kError = "Error=";
    static constexpr std::string_view kState = "State=";
    static constexpr std::string_view kEncode = "Encode=";
    if (line.starts_with(kProgress)) {
        Report(UNIST_CODE_PROGRESS, install::ReadNumber(line.substr(kProgress.size())), "");
        return kParseNoResult;
    }
    if (line.starts_with(kError)) {
        Report(UNIST_CODE_ERROR, 0, install::RestOfLine(line.substr(kError.size())));
        return kParseFailure;
    }
    if (line.starts_with(kState)) {
        const std::string state = install::TrimmedValue(line.substr(kState.size()));
        if (state == "Success") {
            Report(UNIST_CODE_SUCCESS, 0, "");
            return kParseSuccess;
        }
        if (state == "Fail") {
            Report(UNIST_CODE_ERROR, 0, kUninstallFailed);
            return kParseFailure;
        }
        return kParseNoResult;
    }
    if (line.starts_with(kEncode)) {
        // No code page numbers here: only UTF-8 or the system's ANSI code page.
        codePage_ = install::TrimmedValue(line.substr(kEncode.size())) == "UTF8" ? 65001 : 0;
    }
    return kParseNoResult;
}

void CUnInstaller::Report(int32_t code, double value, const std::string& text) {
    if (!closing_ && callback_) {
        callback_(code, value, text);
    }
}
