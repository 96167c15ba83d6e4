#include "install/installer.h"

#include <charconv>
#include <chrono>
#include <utility>

#include "app/log.h"
#include "app/utils.h"
#include "install/console_child.h"
#include "install/console_values.h"
#include "install/install_codes.h"

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(100);
const char kInstallFailed[] = "安装包安装失败";

const char* TrueFalse(bool flag) {
    return flag ? "true" : "false";
}

// Reads one "%d" of "InstallVersion=%d.%d.%d" from the front of `text`.
bool TakeInteger(std::string_view& text, int32_t& number) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    if (text.size() > 1 && text.front() == '+') {
        text.remove_prefix(1);
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc()) {
        return false;
    }
    text.remove_prefix(static_cast<size_t>(end - text.data()));
    return true;
}

}  // namespace

std::string BuildPackageCommandLine(const std::string& packageCommand, const PackageValues& values,
                                    const std::string& instCmd) {
    std::string line = packageCommand;
    line += " /S -console=show -version=1.0.0";
    line += std::string(" -adminact=") + TrueFalse(values.consoleUserIsAdmin);
    line += std::string(" -authorizationact=") + TrueFalse(values.processIsElevated);
    line += std::string(" -dsc=") + TrueFalse(values.desktopShortcut);
    line += std::string(" -ssc=") + TrueFalse(values.quickLaunchShortcut);
    if (!values.language.empty()) {
        line += " -inslang=\"" + values.language + "\"";
    }
    if (!instCmd.empty()) {
        line += " " + instCmd;
    }
    if (!values.targetFolder.empty()) {
        line += " -instdir=\"" + values.targetFolder + "\"";
        line += " /D=" + values.targetFolder;
    }
    return line;
}

// First match wins, so the order is part of the protocol.
const CInstaller::Row CInstaller::kRows[] = {
    {"Progress=", &CInstaller::OnProgress},
    {"InstPath=", &CInstaller::OnInstallPath},
    {"State=", &CInstaller::OnState},
    {"InstallVersion=", &CInstaller::OnInstallVersion},
    {"ExePath=", &CInstaller::OnExePath},
    {"StartExe=", &CInstaller::OnStartExe},
    {"UninstExePath=", &CInstaller::OnUninstallExe},
    {"UninstExe=", &CInstaller::OnUninstallExe},
    {"UninstEp=", &CInstaller::OnUninstallRecord},
    {"Error=", &CInstaller::OnError},
    {"TopShowDetention=", &CInstaller::OnTopShowDetention},
    {"FinsihCloseDetention=", &CInstaller::OnFinishCloseDetention},
    {"StartUrl=", &CInstaller::OnStartUrl},
    {"StartupStyle=", &CInstaller::OnStartupStyle},
    {"Encode=", &CInstaller::OnEncode},
    {"Message=", &CInstaller::OnMessage},
};

CInstaller::CInstaller(StatusCallback callback, std::string packageCommand,
                       std::string targetFolder, bool desktopShortcut, bool quickLaunchShortcut,
                       bool consoleUserIsAdmin, Options options)
    : callback_(std::move(callback)),
      packageCommand_(std::move(packageCommand)),
      options_(std::move(options)) {
    values_.targetFolder = std::move(targetFolder);
    values_.desktopShortcut = desktopShortcut;
    values_.quickLaunchShortcut = quickLaunchShortcut;
    values_.consoleUserIsAdmin = consoleUserIsAdmin;
}

CInstaller::~CInstaller() {
    closing_ = true;
    std::unique_ptr<Utils::Thread> worker;
    {
        std::lock_guard lock(workerMutex_);
        worker = std::move(worker_);
    }
    worker.reset();
}

void CInstaller::SetValues(PackageValues values) {
    std::lock_guard lock(valuesMutex_);
    values_ = std::move(values);
}

void CInstaller::Install() {
    if (!StartWorker()) {
        Report(IST_CODE_FAIL, 2, "");
    }
}

bool CInstaller::StartWorker() {
    std::lock_guard lock(workerMutex_);
    if (closing_) {
        return true;
    }
    const uint64_t install = ++installs_;
    std::string commandLine;
    {
        std::lock_guard valuesLock(valuesMutex_);
        commandLine_ = BuildPackageCommandLine(packageCommand_, values_, options_.instCmd);
        commandLine = commandLine_;
    }
    worker_.reset();
    // Destruction may have begun while the earlier package was still running.
    if (closing_) {
        return true;
    }
    worker_ = options_.threadStarter ? std::make_unique<Utils::Thread>(options_.threadStarter)
                                     : std::make_unique<Utils::Thread>();
    if (!worker_->Create("ABDEF", [this, commandLine, install] { Work(commandLine, install); })) {
        worker_.reset();
        return false;
    }
    worker_->Resume();
    return true;
}

std::string CInstaller::CommandLine() const {
    std::lock_guard lock(valuesMutex_);
    return commandLine_;
}

std::array<int32_t, 3> CInstaller::InstallVersion() const {
    std::lock_guard lock(valuesMutex_);
    return installVersion_;
}

void CInstaller::Work(const std::string& commandLine, uint64_t install) {
    Report(IST_CODE_START, 0, "");
    Report(IST_CODE_PROGRESS, 0, "");
    install::ConsoleChild package;
    if (!package.Start(commandLine)) {
        Report(IST_CODE_FAIL, 2, "");
        return;
    }
    bool finalReportNeeded = true;
    while (!package.Finished()) {
        if (ParseRawLines(package.ReadLines(kPollInterval)) != kParseNoResult) {
            finalReportNeeded = false;
            break;
        }
    }
    const uint32_t exitCode = package.Wait();
    if (finalReportNeeded) {
        // Without a result line only the exit code can tell a failed installation.
        if (exitCode == 0) {
            Report(INSTALL_SUCCESS, 1, "");
        } else {
            WRITE_LOG("package exit code %u without a result\r\n", exitCode);
            Report(IST_CODE_FAIL, 0, kInstallFailed);
        }
    }
    if (options_.packageEnded && !closing_) {
        options_.packageEnded(install);
    }
}

int CInstaller::ParseRawLines(const std::vector<std::string>& lines) {
    int result = kParseNoResult;
    for (const std::string& line : lines) {
        // Each line is decoded with the code page in force when it arrives, so an "Encode="
        // line applies to the lines after it.
        const std::string text = Utils::ToUtf8(line, static_cast<uint32_t>(codePage_.load()));
        if (const int lineResult = ParseLine(text); lineResult != kParseNoResult) {
            result = lineResult;
        }
    }
    return result;
}

int CInstaller::Parse(std::string_view text) {
    int result = kParseNoResult;
    for (const std::string_view line : install::SplitLines(text)) {
        if (const int lineResult = ParseLine(line); lineResult != kParseNoResult) {
            result = lineResult;
        }
    }
    return result;
}

int CInstaller::ParseLine(std::string_view line) {
    for (const Row& row : kRows) {
        if (line.starts_with(row.key)) {
            return (this->*row.apply)(line.substr(row.key.size()));
        }
    }
    return kParseNoResult;
}

void CInstaller::Report(int32_t code, double value, const std::string& text) {
    if (!closing_ && callback_) {
        callback_(code, value, text);
    }
}

int CInstaller::OnProgress(std::string_view value) {
    Report(IST_CODE_PROGRESS, install::ReadNumber(value), "");
    return kParseNoResult;
}

int CInstaller::OnInstallPath(std::string_view value) {
    Report(IST_INFO_INSTALL_PATH, 0, install::RestOfLine(value));
    return kParseNoResult;
}

int CInstaller::OnState(std::string_view value) {
    const std::string state = install::TrimmedValue(value);
    if (state == "Success") {
        Report(INSTALL_SUCCESS, 0, "");
        return kParseSuccess;
    }
    if (state == "Fail") {
        Report(IST_CODE_FAIL, 0, kInstallFailed);
        return kParseFailure;
    }
    return kParseNoResult;
}

int CInstaller::OnInstallVersion(std::string_view value) {
    // As scanf would: the numbers read before the first mismatch are stored.
    std::lock_guard lock(valuesMutex_);
    for (size_t i = 0; i < installVersion_.size(); ++i) {
        if (i > 0) {
            if (!value.starts_with('.')) {
                break;
            }
            value.remove_prefix(1);
        }
        if (!TakeInteger(value, installVersion_[i])) {
            break;
        }
    }
    return kParseNoResult;
}

int CInstaller::OnExePath(std::string_view value) {
    const std::string path = install::RestOfLine(value);
    Report(IST_INFO_EXE_PATH, 0, path);
    WRITE_LOG("ExePath: %s", path);
    return kParseNoResult;
}

int CInstaller::OnStartExe(std::string_view value) {
    Report(IST_INFO_EXE_PATH, 0, install::RestOfLine(value));
    return kParseNoResult;
}

int CInstaller::OnUninstallExe(std::string_view value) {
    Report(IST_INFO_UNINSTALL_EXE, 0, install::RestOfLine(value));
    return kParseNoResult;
}

int CInstaller::OnUninstallRecord(std::string_view value) {
    Report(IST_INFO_UNINSTALL_RECORD, 0, install::RestOfLine(value));
    return kParseNoResult;
}

int CInstaller::OnError(std::string_view value) {
    Report(IST_CODE_FAIL, 1000, install::RestOfLine(value));
    return kParseFailure;
}

int CInstaller::OnTopShowDetention(std::string_view value) {
    const auto number = static_cast<uint32_t>(install::ReadInteger(value).value_or(0));
    Report(IST_INFO_TOP_SHOW_DETENTION, number, "");
    return kParseNoResult;
}

int CInstaller::OnFinishCloseDetention(std::string_view value) {
    const auto number = static_cast<uint32_t>(install::ReadInteger(value).value_or(0));
    Report(IST_INFO_FINISH_CLOSE_DETENTION, number, "");
    return kParseNoResult;
}

int CInstaller::OnStartUrl(std::string_view value) {
    Report(IST_INFO_START_URL, 0, install::RestOfLine(value));
    return kParseNoResult;
}

int CInstaller::OnStartupStyle(std::string_view value) {
    const std::string style = install::TrimmedValue(value);
    const int number = style == "AutoStartup" ? 1 : style == "UserStartup" ? 2 : 0;
    Report(IST_INFO_STARTUP_STYLE, number, "");
    return kParseNoResult;
}

int CInstaller::OnEncode(std::string_view value) {
    const std::string name = install::TrimmedValue(value);
    if (name == "UTF8") {
        codePage_ = 65001;
    } else if (name == "ACP") {
        codePage_ = 0;
    } else {
        codePage_ = install::ReadInteger(name).value_or(0);
    }
    return kParseNoResult;
}

int CInstaller::OnMessage(std::string_view value) {
    Report(IST_INFO_MESSAGE, 0, install::RestOfLine(value));
    return kParseNoResult;
}
