#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

// Names the calling thread for debuggers and tools (POSIX: pthread_setname_np, cut to
// 15 bytes without splitting a UTF-8 sequence).
void SetCurrentThreadName(std::string_view name);

// The system's id of the calling thread (POSIX: gettid) and of the process.
uint32_t CurrentThreadId();
uint32_t CurrentProcessId();

}  // namespace platform
