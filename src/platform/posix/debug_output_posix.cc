#include "platform/debug_output.h"

#include <unistd.h>

#include <cerrno>

namespace platform {

void WriteDebugOutput(std::string_view line) {
    // One write(2) keeps a line whole against writers on other threads; a short write
    // (a full pipe, a signal) is finished in further calls rather than dropped.
    const char* data = line.data();
    size_t left = line.size();
    while (left > 0) {
        ssize_t written = ::write(STDERR_FILENO, data, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
}

}  // namespace platform
