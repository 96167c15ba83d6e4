#pragma once

namespace platform {

// Called once, on the crashing thread, before the system's default handling ends the process.
using CrashReporter = void (*)();

// Installs `reporter` process-wide for fatal faults. POSIX: SIGSEGV, SIGBUS, SIGILL, SIGFPE
// and SIGABRT on an alternate stack, plus std::set_terminate; after the report the default
// action is restored and the signal raised again, so the process ends as it would have.
void InstallCrashHook(CrashReporter reporter);

}  // namespace platform
