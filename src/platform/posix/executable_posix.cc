#include "platform/executable.h"

#include <unistd.h>

namespace platform {

std::string ExecutablePath() {
    // readlink neither terminates nor reports truncation: a result that fills the buffer
    // may have been cut, so the buffer grows until the link fits with room to spare.
    std::string buffer(256, '\0');
    for (;;) {
        ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<size_t>(length) < buffer.size()) {
            buffer.resize(static_cast<size_t>(length));
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace platform
