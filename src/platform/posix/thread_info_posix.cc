#include "platform/thread_info.h"

#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <string>

namespace platform {

void SetCurrentThreadName(std::string_view name) {
    // The kernel keeps 15 bytes; cut before a UTF-8 continuation byte, never inside a character.
    size_t length = name.size() < 15 ? name.size() : 15;
    while (length > 0 && length < name.size() &&
           (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80) {
        --length;
    }
    const std::string cut(name.substr(0, length));
    pthread_setname_np(pthread_self(), cut.c_str());
}

uint32_t CurrentThreadId() { return static_cast<uint32_t>(::syscall(SYS_gettid)); }

uint32_t CurrentProcessId() { return static_cast<uint32_t>(::getpid()); }

}  // namespace platform
