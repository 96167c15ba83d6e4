#include "download/worker_threads.h"

#include <system_error>
#include <thread>
#include <utility>

#include "platform/thread_info.h"

namespace download {

WorkerThreads::WorkerThreads(std::function<bool()> allowThread)
    : allowThread_(std::move(allowThread)) {}

WorkerThreads::~WorkerThreads() {
    Close();
}

bool WorkerThreads::Launch(const std::string& name, std::function<void()> body) {
    auto thread = std::make_unique<Utils::Thread>([this](std::function<void()> entry) {
        if (allowThread_ && !allowThread_()) {
            throw std::system_error(
                std::make_error_code(std::errc::resource_unavailable_try_again));
        }
        return std::thread(std::move(entry));
    });
    std::lock_guard<std::mutex> lock(mutex_);
    if (closed_ || !thread->Create(name, std::move(body))) {
        return false;
    }
    thread->Resume();
    threads_.push_back(std::move(thread));
    return true;
}

void WorkerThreads::JoinOthers() {
    const uint32_t self = platform::CurrentThreadId();
    std::vector<std::unique_ptr<Utils::Thread>> others;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto& thread : threads_) {
            if (thread->Id() != self) {
                others.push_back(std::move(thread));
            }
        }
        std::erase(threads_, nullptr);
    }
    // Joined outside the lock: a thread being joined may still launch its successor.
    others.clear();
}

void WorkerThreads::Close() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
    }
    JoinOthers();
}

}  // namespace download
