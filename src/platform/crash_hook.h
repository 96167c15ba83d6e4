#pragma once

namespace platform {

// Called once, on the first crashing thread, before the system's default handling ends the
// process. It runs inside a signal handler (or the terminate handler).
using CrashReporter = void (*)();

// Installs `reporter` process-wide for fatal faults. POSIX: SIGSEGV, SIGBUS, SIGILL, SIGFPE
// and SIGABRT on an alternate stack, plus std::set_terminate; after the report the default
// action is restored and the signal raised again, so the process ends as it would have.
// Threads that crash while the report runs wait for it; a crash inside the reporter ends the
// process without a second report. Installing again replaces the reporter. Only the calling
// thread gets an alternate stack, so a stack overflow is reported on that thread alone.
void InstallCrashHook(CrashReporter reporter);

}  // namespace platform
