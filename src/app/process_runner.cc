#include "app/process_runner.h"

#include <algorithm>
#include <climits>
#include <string_view>
#include <system_error>

#include "app/exception.h"
#include "platform/process.h"

namespace Utils {

namespace {

static_assert(ProcessRunner::kSignalExitBase == platform::ChildProcess::kSignalExitBase);
static_assert(ProcessRunner::kUnknownExitCode == platform::ChildProcess::kUnknownExitCode);
static_assert(ProcessRunner::kNoOutputYet == platform::ChildProcess::kNoOutputYet);

// Every byte that does not continue a UTF-8 sequence starts a character.
size_t CountCodePoints(std::string_view text) {
    size_t count = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

}  // namespace

ProcessRunner::ProcessRunner() = default;

ProcessRunner::~ProcessRunner() {
    StopErrorDrain();
    child_.reset();
}

void ProcessRunner::Start(const std::string& commandLine) {
    if (started_) {
        throw Exception("the process runner was already started");
    }
    started_ = true;
    if (CountCodePoints(commandLine) >= kCommandLineCapacity) {
        throw Exception("the command line does not fit its buffer of 1024 characters");
    }
    std::string error;
    std::unique_ptr<platform::ChildProcess> child = platform::CreateChildProcess(error);
    if (!child) {
        throw Exception(error);
    }
    // The drain runs before the child does, so that a failure to start it leaves no child
    // behind that nobody reads.
    try {
        errorDrain_ = std::thread([drained = child.get()] { drained->DiscardErrorUntilEnd(); });
    } catch (const std::system_error& e) {
        throw Exception(e.what());
    }
    child_ = std::move(child);
    if (!child_->Start(commandLine, error)) {
        StopErrorDrain();
        child_.reset();
        throw Exception(error);
    }
    child_->CloseInput();
}

long ProcessRunner::ReadOutput(char* buffer, size_t size) {
    return child_ ? child_->ReadOutput(buffer, size) : -1;
}

long ProcessRunner::ReadOutputFor(char* buffer, size_t size, std::chrono::milliseconds timeout) {
    if (!child_) {
        return -1;
    }
    const auto milliseconds =
        std::clamp<std::chrono::milliseconds::rep>(timeout.count(), 0, INT_MAX);
    return child_->ReadOutputFor(buffer, size, static_cast<int>(milliseconds));
}

std::optional<uint32_t> ProcessRunner::ExitCode() {
    return child_ ? child_->ExitCode() : std::optional<uint32_t>(kUnknownExitCode);
}

uint32_t ProcessRunner::Wait() {
    return child_ ? child_->Wait() : kUnknownExitCode;
}

int ProcessRunner::ProcessId() const {
    return child_ ? child_->Id() : 0;
}

void ProcessRunner::StopErrorDrain() {
    if (errorDrain_.joinable()) {
        child_->StopDiscardingError();
        errorDrain_.join();
    }
}

}  // namespace Utils
