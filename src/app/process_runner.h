#pragma once

// Runs one hidden child program with its standard handles on pipes, for the package and
// uninstaller runners. The owner reads the child's output; the runner itself keeps the child
// from blocking on its other handles: standard input is closed right after the start (the
// child reads end of input) and standard error is read and dropped on a helper thread.
// One worker thread uses a runner from start to destruction.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace platform {
class ChildProcess;
}

namespace Utils {

class ProcessRunner {
  public:
    // Characters of the command-line buffer, its terminating zero included.
    static constexpr size_t kCommandLineCapacity = 1024;
    // See platform::ChildProcess: a signal's end, and an exit code nobody can know.
    static constexpr uint32_t kSignalExitBase = 0x80000000u;
    static constexpr uint32_t kUnknownExitCode = 0xFFFFFFFFu;

    ProcessRunner();
    // Stops and joins the helper thread, closes every pipe end, and waits for a started child
    // that nobody waited for (the runners wait for it before they let go).
    ~ProcessRunner();
    ProcessRunner(const ProcessRunner&) = delete;
    ProcessRunner& operator=(const ProcessRunner&) = delete;

    // Starts the Windows-style `commandLine` with this process's current folder and
    // environment. Throws Utils::Exception when it has more than kCommandLineCapacity - 1
    // characters (counted in Unicode code points) or when the pipes, the helper thread or
    // the program cannot be started; nothing is left running then. Once per runner.
    void Start(const std::string& commandLine);

    // Waits for output: the number of bytes read (at most `size`), 0 at the end of the
    // output (the child and every descendant that inherited the pipe have closed it), -1 on
    // an error or without a started child.
    long ReadOutput(char* buffer, size_t size);

    // ReadOutput() that gives up after `timeout` (zero: takes only what is already in the
    // pipe) and then returns kNoOutputYet, so that a descendant holding the pipe open after
    // the child has ended cannot hold the reader.
    static constexpr long kNoOutputYet = -2;
    long ReadOutputFor(char* buffer, size_t size, std::chrono::milliseconds timeout);

    // The exit code once the child has ended, nothing while it runs. A child ended by
    // signal n gives kSignalExitBase + n; without a started child, kUnknownExitCode.
    std::optional<uint32_t> ExitCode();

    // Waits for the child to end without a time limit and returns its exit code.
    uint32_t Wait();

    // The child's process id, 0 without a started child.
    int ProcessId() const;

  private:
    void StopErrorDrain();

    std::unique_ptr<platform::ChildProcess> child_;
    std::thread errorDrain_;
    bool started_ = false;
};

}  // namespace Utils
