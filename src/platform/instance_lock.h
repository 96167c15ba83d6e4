#pragma once

#include <memory>
#include <string_view>

namespace platform {

// A process-wide named lock that at most one process of the user holds at a time.
// POSIX: flock(LOCK_EX | LOCK_NB) on "$XDG_RUNTIME_DIR/<name>.lock" (else "/tmp/<name>.lock";
// a "/" in the name becomes "_"). The lock is held until the object is destroyed or the
// process ends; child processes do not inherit it. A second TryAcquire in the same process
// fails too while the first lock lives.
class InstanceLock {
public:
    // Returns the held lock, or nullptr when another process holds it (or the lock
    // file cannot be opened).
    static std::unique_ptr<InstanceLock> TryAcquire(std::string_view name);

    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

private:
    explicit InstanceLock(int fd) : fd_(fd) {}
    int fd_;
};

}  // namespace platform
