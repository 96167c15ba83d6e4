#include "install/console_child.h"

#include "app/exception.h"
#include "app/log.h"
#include "app/process_runner.h"

namespace install {

ConsoleChild::ConsoleChild() = default;

ConsoleChild::~ConsoleChild() = default;

bool ConsoleChild::Start(const std::string& commandLine) {
    auto runner = std::make_unique<Utils::ProcessRunner>();
    try {
        runner->Start(commandLine);
    } catch (const Utils::Exception& e) {
        WRITE_LOG("start failed: %s\r\n", e.what());
        finished_ = true;
        return false;
    }
    runner_ = std::move(runner);
    return true;
}

std::vector<std::string> ConsoleChild::ReadLines(std::chrono::milliseconds wait) {
    if (finished_) {
        return {};
    }
    if (ended_) {
        return ReadRest();
    }
    char buffer[kReadSize];
    const long n = runner_->ReadOutputFor(buffer, sizeof buffer, wait);
    if (n == 0 || n == -1) {
        return Finish();
    }
    if (n > 0) {
        pending_.append(buffer, static_cast<size_t>(n));
    }
    ended_ = runner_->ExitCode().has_value();
    return TakeLines();
}

uint32_t ConsoleChild::Wait() {
    if (!runner_) {
        return Utils::ProcessRunner::kUnknownExitCode;
    }
    const uint32_t exitCode = runner_->Wait();
    runner_.reset();
    finished_ = true;
    return exitCode;
}

std::vector<std::string> ConsoleChild::ReadRest() {
    char buffer[kReadSize];
    for (size_t total = 0; total < kFinalReadLimit;) {
        const long n = runner_->ReadOutputFor(buffer, sizeof buffer, std::chrono::milliseconds(0));
        if (n <= 0) {
            break;
        }
        pending_.append(buffer, static_cast<size_t>(n));
        total += static_cast<size_t>(n);
    }
    return Finish();
}

std::vector<std::string> ConsoleChild::Finish() {
    std::vector<std::string> lines = TakeLines();
    if (!pending_.empty()) {
        lines.push_back(pending_.substr(0, pending_.find('\0')));
        pending_.clear();
    }
    finished_ = true;
    return lines;
}

std::vector<std::string> ConsoleChild::TakeLines() {
    std::vector<std::string> lines;
    size_t begin = 0;
    for (size_t feed = pending_.find('\n'); feed != std::string::npos;
         feed = pending_.find('\n', begin)) {
        const std::string_view line(pending_.data() + begin, feed - begin);
        lines.emplace_back(line.substr(0, line.find('\0')));
        begin = feed + 1;
    }
    pending_.erase(0, begin);
    while (pending_.size() >= kLineLimit) {
        const std::string_view piece(pending_.data(), kLineLimit);
        lines.emplace_back(piece.substr(0, piece.find('\0')));
        pending_.erase(0, kLineLimit);
    }
    return lines;
}

}  // namespace install
