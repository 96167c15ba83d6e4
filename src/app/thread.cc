#include "app/thread.h"

#include <system_error>
#include <utility>

#include "app/log.h"
#include "platform/thread_info.h"

namespace Utils {

Thread::Thread()
    : Thread([](std::function<void()> entry) { return std::thread(std::move(entry)); }) {}

Thread::Thread(Starter starter) : starter_(std::move(starter)) {}

Thread::~Thread() {
    Join();
    name_.clear();
    function_ = nullptr;
}

bool Thread::Create(std::string name, Function function) {
    if (thread_.joinable()) {
        return false;
    }
    name_ = std::move(name);
    function_ = std::move(function);
    {
        std::lock_guard lock(mutex_);
        id_ = kNoThread;
        started_ = resumed_ = cancelled_ = false;
    }
    try {
        thread_ = starter_([this] { Run(); });
    } catch (const std::system_error&) {
    }
    if (!thread_.joinable()) {
        function_ = nullptr;
        return false;
    }
    // Like a thread created suspended: id and name exist when Create returns.
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return started_; });
    return true;
}

void Thread::Resume() {
    std::lock_guard lock(mutex_);
    if (started_ && !cancelled_) {
        resumed_ = true;
        changed_.notify_all();
    }
}

void Thread::Join() {
    if (!thread_.joinable()) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        if (!resumed_) {
            cancelled_ = true;
            changed_.notify_all();
        }
    }
    thread_.join();
    std::lock_guard lock(mutex_);
    id_ = kNoThread;
}

uint32_t Thread::Id() const {
    std::lock_guard lock(mutex_);
    return id_;
}

void Thread::Run() {
    const uint32_t id = platform::CurrentThreadId();
    platform::SetCurrentThreadName(name_.empty() ? "t" + std::to_string(id) : name_);
    std::unique_lock lock(mutex_);
    id_ = id;
    started_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return resumed_ || cancelled_; });
    const bool resumed = resumed_;
    lock.unlock();
    if (resumed) {
        CallBack();
    }
}

void Thread::CallBack() {
    WRITE_LOG("THREAD BEGIN\r\n");
    if (function_) {
        function_();
    }
    WRITE_LOG("THREAD END\r\n");
}

}  // namespace Utils
