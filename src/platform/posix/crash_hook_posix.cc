#include "platform/crash_hook.h"

#include <signal.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <ctime>
#include <exception>

namespace platform {
namespace {

constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};

enum Phase : int { kIdle, kReporting, kDone };

// A signal handler gets no context argument, so what it needs has to live at namespace
// scope; every field is a lock-free atomic because handlers may only touch those.
struct CrashHookState {
    std::atomic<CrashReporter> reporter{nullptr};
    std::atomic<std::terminate_handler> previousTerminate{nullptr};
    std::atomic<int> phase{kIdle};
    std::atomic<pid_t> reportingThread{0};
};
CrashHookState gState;

pid_t CurrentThread() {
    return static_cast<pid_t>(::syscall(SYS_gettid));
}

void SleepBriefly() {
    timespec pause{0, 10'000'000};
    ::nanosleep(&pause, nullptr);
}

// Runs the reporter the first time any thread gets here. A later fault on the reporting
// thread (the reporter crashed, or the terminate path went on to abort) must not report
// again; a fault on another thread waits, because the reporting thread ends the process
// when it is done.
void ReportOnce() {
    const pid_t self = CurrentThread();
    int expected = kIdle;
    if (gState.phase.compare_exchange_strong(expected, kReporting)) {
        gState.reportingThread.store(self);
        if (CrashReporter reporter = gState.reporter.load()) {
            reporter();
        }
        gState.phase.store(kDone);
        return;
    }
    if (gState.reportingThread.load() == self) {
        return;
    }
    while (gState.phase.load() != kDone) {
        SleepBriefly();
    }
}

[[noreturn]] void DieBy(int signal) {
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    // The signal is blocked while its handler runs; unblock it so that raise() ends the
    // process here, with the signal's own exit status (and core dump, where enabled).
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);
}

void OnFatalSignal(int signal, siginfo_t*, void*) {
    ReportOnce();
    DieBy(signal);
}

[[noreturn]] void OnTerminate() {
    ReportOnce();
    // The previous handler usually prints the uncaught exception before it aborts.
    if (std::terminate_handler previous = gState.previousTerminate.load()) {
        previous();
    }
    std::abort();
}

// A stack overflow leaves no room to run a handler on the faulting stack. Each thread needs
// its own alternate stack; this gives one to the calling thread unless it already has one.
// It is never freed: a fault may come at any time until the thread ends.
void EnsureAlternateStack() {
    stack_t current{};
    if (::sigaltstack(nullptr, &current) == 0 && (current.ss_flags & SS_DISABLE) == 0) {
        return;
    }
    const size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
    const long suggested = ::sysconf(_SC_SIGSTKSZ);
    size_t size = std::max<size_t>(64 * 1024, suggested > 0 ? 4 * suggested : 0);
    size = (size + page - 1) / page * page;
    // One inaccessible page below the stack turns an overflow of the handler into a fault.
    void* memory =
        ::mmap(nullptr, size + page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) {
        return;
    }
    ::mprotect(memory, page, PROT_NONE);
    stack_t stack{};
    stack.ss_sp = static_cast<char*>(memory) + page;
    stack.ss_size = size;
    if (::sigaltstack(&stack, nullptr) != 0) {
        ::munmap(memory, size + page);
    }
}

}  // namespace

void InstallCrashHook(CrashReporter reporter) {
    gState.reporter.store(reporter);
    EnsureAlternateStack();

    struct sigaction action {};
    action.sa_sigaction = OnFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    // A second fault while reporting ends the process at once instead of nesting handlers.
    sigemptyset(&action.sa_mask);
    for (int signal : kFatalSignals) {
        sigaddset(&action.sa_mask, signal);
    }
    for (int signal : kFatalSignals) {
        ::sigaction(signal, &action, nullptr);
    }

    const std::terminate_handler previous = std::set_terminate(OnTerminate);
    // Installing twice must not chain the handler to itself.
    if (previous != OnTerminate) {
        gState.previousTerminate.store(previous);
    }
}

}  // namespace platform
