#include "platform/crash_hook.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

constexpr char kMarker[] = "crash reporter ran\n";

void WriteMarker() {
    ::write(STDERR_FILENO, kMarker, sizeof kMarker - 1);
}

// A real invalid access that the sanitizers let through to the kernel.
void TouchInaccessibleMemory() {
    void* page = ::mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    *static_cast<volatile int*>(page) = 1;
}

void CrashingReporter() {
    WriteMarker();
    TouchInaccessibleMemory();
}

volatile int gRecursionLimit = 1 << 30;

int Recurse(int depth) {
    volatile char frame[1024];
    frame[0] = static_cast<char>(depth);
    if (depth >= gRecursionLimit) {
        return frame[0];
    }
    return Recurse(depth + 1) + frame[0];
}

void ThrowUncaughtOnAThread() {
    std::thread([] { throw std::runtime_error("uncaught on a worker"); }).join();
}

MATCHER_P(ContainsOnce, needle, "contains \"" + std::string(needle) + "\" exactly once") {
    const std::string text = arg;
    const size_t first = text.find(needle);
    return first != std::string::npos && text.find(needle, first + 1) == std::string::npos;
}

struct Scenario {
    const char* what;
    void (*crash)();
    int signal;
    bool installTwice = false;
    platform::CrashReporter reporter = WriteMarker;
};

void RunScenario(const Scenario& scenario) {
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    platform::InstallCrashHook(scenario.reporter);
    if (scenario.installTwice) {
        platform::InstallCrashHook(scenario.reporter);
    }
    scenario.crash();
}

TEST(CrashHookDeathTest, ReportsOnceAndEndsByTheOriginalSignal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const Scenario scenarios[] = {
        {"invalid access", TouchInaccessibleMemory, SIGSEGV},
        {"abort", [] { std::abort(); }, SIGABRT},
        {"bus error", [] { ::raise(SIGBUS); }, SIGBUS},
        {"illegal instruction", [] { ::raise(SIGILL); }, SIGILL},
        {"arithmetic fault", [] { ::raise(SIGFPE); }, SIGFPE},
        // Needs the alternate stack: the thread's own stack is used up.
        {"stack overflow", [] { Recurse(0); }, SIGSEGV},
        // Another thread has no alternate stack of its own; the report still runs.
        {"fault on a worker", [] { std::thread(TouchInaccessibleMemory).join(); }, SIGSEGV},
        {"uncaught exception", ThrowUncaughtOnAThread, SIGABRT},
        {"installed twice", ThrowUncaughtOnAThread, SIGABRT, true},
        {"the reporter itself crashes", [] { std::abort(); }, SIGSEGV, false, CrashingReporter},
        {"the reporter crashes on the terminate path", ThrowUncaughtOnAThread, SIGSEGV, false,
         CrashingReporter},
    };
    for (const Scenario& scenario : scenarios) {
        EXPECT_EXIT(RunScenario(scenario), ::testing::KilledBySignal(scenario.signal),
                    ContainsOnce(kMarker))
            << scenario.what;
    }
}

TEST(CrashHookDeathTest, TheUncaughtExceptionIsStillDescribed) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        RunScenario({"uncaught", ThrowUncaughtOnAThread, SIGABRT}),
        ::testing::KilledBySignal(SIGABRT),
        ::testing::AllOf(ContainsOnce(kMarker), ::testing::HasSubstr("uncaught on a worker")));
}

}  // namespace
