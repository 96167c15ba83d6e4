#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <system_error>
#include <vector>

#include "platform/command_line.h"
#include "platform/process.h"

extern char** environ;

namespace platform {

namespace {

class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { Reset(); }
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            Reset();
            fd_ = other.Release();
        }
        return *this;
    }

    int Get() const { return fd_; }
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    void Reset() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = -1;
    }

  private:
    int fd_ = -1;
};

struct Pipe {
    UniqueFd read;
    UniqueFd write;
};

std::string SystemError(const char* what, int code) {
    return std::string(what) + ": " + std::generic_category().message(code);
}

// A child's end is put in place with dup2, which leaves close-on-exec set when source and
// target are the same descriptor; keeping every end above the standard three avoids that.
bool MoveAboveStandardHandles(UniqueFd& fd, std::string& error) {
    if (fd.Get() > STDERR_FILENO) {
        return true;
    }
    const int moved = ::fcntl(fd.Get(), F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    if (moved < 0) {
        error = SystemError("fcntl", errno);
        return false;
    }
    fd = UniqueFd(moved);
    return true;
}

// Both ends close-on-exec: a child started at the same time by another thread must not
// inherit them, and ours get only the three ends dup2 puts in place.
bool MakePipe(Pipe& pipe, std::string& error) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        error = SystemError("pipe2", errno);
        return false;
    }
    pipe.read = UniqueFd(fds[0]);
    pipe.write = UniqueFd(fds[1]);
    return MoveAboveStandardHandles(pipe.read, error) &&
           MoveAboveStandardHandles(pipe.write, error);
}

bool IsProgramFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

uint32_t ExitCodeOf(int status) {
    if (WIFEXITED(status)) {
        return static_cast<uint32_t>(WEXITSTATUS(status));
    }
    return ChildProcess::kSignalExitBase + static_cast<uint32_t>(WTERMSIG(status));
}

class SpawnSetup {
  public:
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
};

class PosixChildProcess final : public ChildProcess {
  public:
    bool Open(std::string& error) {
        return MakePipe(input_, error) && MakePipe(output_, error) && MakePipe(error_, error) &&
               MakePipe(wake_, error);
    }

    ~PosixChildProcess() override {
        input_ = {};
        output_ = {};
        error_ = {};
        if (pid_ != 0) {
            Wait();
        }
    }

    bool Start(std::string_view commandLine, std::string& error) override {
        if (started_) {
            error = "the child was already started";
            return false;
        }
        started_ = true;
        std::vector<std::string> args = SplitForProcessCreation(commandLine, IsProgramFile);
        if (args.empty() || args.front().empty()) {
            error = "the command line names no program";
            return false;
        }
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);

        SpawnSetup setup;
        const int rc = Configure(setup);
        pid_t pid = 0;
        const int spawned = rc != 0 ? rc
                                    : posix_spawnp(&pid, argv[0], &setup.actions, &setup.attributes,
                                                   argv.data(), environ);
        input_.read.Reset();
        output_.write.Reset();
        error_.write.Reset();
        if (spawned != 0) {
            error = SystemError(args.front().c_str(), spawned);
            return false;
        }
        pid_ = pid;
        return true;
    }

    void CloseInput() override { input_.write.Reset(); }

    long ReadOutput(char* buffer, size_t size) override {
        for (;;) {
            const ssize_t n = ::read(output_.read.Get(), buffer, size);
            if (n >= 0 || errno != EINTR) {
                return n;
            }
        }
    }

    long ReadOutputFor(char* buffer, size_t size, int timeoutMs) override {
        pollfd fd = {output_.read.Get(), POLLIN, 0};
        for (;;) {
            const int ready = ::poll(&fd, 1, timeoutMs);
            if (ready > 0) {
                return ReadOutput(buffer, size);
            }
            if (ready == 0) {
                return kNoOutputYet;
            }
            if (errno != EINTR) {
                return -1;
            }
        }
    }

    void DiscardErrorUntilEnd() override {
        pollfd fds[2] = {{error_.read.Get(), POLLIN, 0}, {wake_.read.Get(), POLLIN, 0}};
        char buffer[4096];
        for (;;) {
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return;
            }
            if (fds[1].revents != 0) {
                return;
            }
            const ssize_t n = ::read(fds[0].fd, buffer, sizeof buffer);
            if (n == 0 || (n < 0 && errno != EINTR)) {
                return;
            }
        }
    }

    void StopDiscardingError() override {
        // The byte stays in the pipe, so a later DiscardErrorUntilEnd() returns at once too.
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(wake_.write.Get(), &byte, 1);
    }

    std::optional<uint32_t> ExitCode() override {
        if (!exitCode_ && pid_ == 0) {
            return kUnknownExitCode;
        }
        if (!exitCode_) {
            int status = 0;
            const pid_t reaped = ::waitpid(pid_, &status, WNOHANG);
            if (reaped == pid_) {
                exitCode_ = ExitCodeOf(status);
            } else if (reaped < 0 && errno != EINTR) {
                exitCode_ = kUnknownExitCode;
            }
        }
        return exitCode_;
    }

    uint32_t Wait() override {
        if (pid_ == 0) {
            return kUnknownExitCode;
        }
        while (!exitCode_) {
            int status = 0;
            const pid_t reaped = ::waitpid(pid_, &status, 0);
            if (reaped == pid_) {
                exitCode_ = ExitCodeOf(status);
            } else if (reaped < 0 && errno != EINTR) {
                exitCode_ = kUnknownExitCode;
            }
        }
        return *exitCode_;
    }

    int Id() const override { return pid_; }

  private:
    // The child: pipes as its standard handles, its own process group, an empty signal mask
    // and default signal actions (an installer may ignore SIGPIPE; ignored signals survive
    // exec).
    int Configure(SpawnSetup& setup) const {
        int rc = posix_spawn_file_actions_adddup2(&setup.actions, input_.read.Get(), 0);
        rc =
            rc != 0 ? rc : posix_spawn_file_actions_adddup2(&setup.actions, output_.write.Get(), 1);
        rc = rc != 0 ? rc : posix_spawn_file_actions_adddup2(&setup.actions, error_.write.Get(), 2);
        sigset_t signals;
        sigemptyset(&signals);
        rc = rc != 0 ? rc : posix_spawnattr_setsigmask(&setup.attributes, &signals);
        sigfillset(&signals);
        sigdelset(&signals, SIGKILL);
        sigdelset(&signals, SIGSTOP);
        rc = rc != 0 ? rc : posix_spawnattr_setsigdefault(&setup.attributes, &signals);
        rc = rc != 0 ? rc : posix_spawnattr_setpgroup(&setup.attributes, 0);
        const short flags = POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
        return rc != 0 ? rc : posix_spawnattr_setflags(&setup.attributes, flags);
    }

    Pipe input_;
    Pipe output_;
    Pipe error_;
    Pipe wake_;  // StopDiscardingError() -> DiscardErrorUntilEnd()
    bool started_ = false;
    pid_t pid_ = 0;
    std::optional<uint32_t> exitCode_;
};

}  // namespace

std::unique_ptr<ChildProcess> CreateChildProcess(std::string& error) {
    auto child = std::make_unique<PosixChildProcess>();
    if (!child->Open(error)) {
        return nullptr;
    }
    return child;
}

}  // namespace platform
