#pragma once

// A hidden child program whose standard input, output and error are pipes to this process.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class ChildProcess {
  public:
    // Exit code of a child ended by a signal: this base plus the signal number. Codes given
    // to exit() stay below 256, so the two never meet.
    static constexpr uint32_t kSignalExitBase = 0x80000000u;

    // Exit code when none can be known: no child was started, or the system reaped it
    // elsewhere (SIGCHLD ignored).
    static constexpr uint32_t kUnknownExitCode = 0xFFFFFFFFu;

    // Closes every pipe end still open, then, if a child was started and not yet waited
    // for, waits for it to end so that it does not linger as a zombie. Closing first means
    // a child still writing its output sees a broken pipe instead of a full one.
    // DiscardErrorUntilEnd() must have returned before.
    virtual ~ChildProcess() = default;

    // Starts the program named by the Windows-style `commandLine` (split as
    // SplitForProcessCreation does, the program searched in PATH when it names no folder),
    // in its own process group, with this process's current folder and environment. The
    // parent's copies of the child's pipe ends are closed afterwards, so reading the output
    // ends only when the child and every descendant that inherited the pipe have closed it.
    // Once per object. False, with a reason in `error`, when the program cannot be started.
    virtual bool Start(std::string_view commandLine, std::string& error) = 0;

    // Closes this side of the child's standard input: the child reads end of input.
    virtual void CloseInput() = 0;

    // Waits until output arrives or the pipe's last writer has closed it. Returns the
    // number of bytes read (at most `size`), 0 at the end of the output, -1 on an error.
    virtual long ReadOutput(char* buffer, size_t size) = 0;

    // ReadOutput() that waits at most `timeoutMs` milliseconds (0: only what is already
    // there) and then returns kNoOutputYet. A descendant that keeps the pipe open after the
    // child has ended cannot hold the reader longer than that.
    static constexpr long kNoOutputYet = -2;
    virtual long ReadOutputFor(char* buffer, size_t size, int timeoutMs) = 0;

    // Reads and drops the child's standard error until its end or until
    // StopDiscardingError() is called. Meant for a helper thread; the only member that may
    // run beside the others.
    virtual void DiscardErrorUntilEnd() = 0;

    // Makes DiscardErrorUntilEnd() return, now or as soon as it is called. Any thread.
    virtual void StopDiscardingError() = 0;

    // The exit code once the child has ended; nothing while it still runs. Without a started
    // child: kUnknownExitCode.
    virtual std::optional<uint32_t> ExitCode() = 0;

    // Waits for the child to end and returns its exit code.
    virtual uint32_t Wait() = 0;

    // The child's process id; 0 before Start.
    virtual int Id() const = 0;
};

// Makes the three pipes of a child not yet started. Null, with a reason in `error`, when
// the system refuses them.
std::unique_ptr<ChildProcess> CreateChildProcess(std::string& error);

}  // namespace platform
