#include "platform/guid.h"

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>

namespace platform {
namespace {

bool FillFromGetrandom(unsigned char* bytes, size_t size) {
    size_t filled = 0;
    while (filled < size) {
        // Flags 0 waits until the kernel's pool is initialised, and never afterwards.
        ssize_t got = ::getrandom(bytes + filled, size - filled, 0);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        filled += static_cast<size_t>(got);
    }
    return true;
}

// For sandboxes whose system-call filter refuses getrandom.
bool FillFromUrandom(unsigned char* bytes, size_t size) {
    const int fd = ::open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    size_t filled = 0;
    while (filled < size) {
        ssize_t got = ::read(fd, bytes + filled, size - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        filled += static_cast<size_t>(got);
    }
    ::close(fd);
    return filled == size;
}

}  // namespace

Guid NewGuid() {
    unsigned char bytes[16] = {};
    if (!FillFromGetrandom(bytes, sizeof bytes)) {
        FillFromUrandom(bytes, sizeof bytes);
    }
    Guid guid;
    guid.data1 = static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
                 static_cast<uint32_t>(bytes[2]) << 8 | bytes[3];
    guid.data2 = static_cast<uint16_t>(bytes[4] << 8 | bytes[5]);
    // Version 4 (random) in the top nibble of data3; the variant bits 10 in data4[0].
    guid.data3 = static_cast<uint16_t>((bytes[6] << 8 | bytes[7]) & 0x0FFF) | 0x4000;
    guid.data4[0] = static_cast<uint8_t>((bytes[8] & 0x3F) | 0x80);
    for (size_t i = 1; i < 8; ++i) {
        guid.data4[i] = bytes[8 + i];
    }
    return guid;
}

}  // namespace platform
