#include "uiframework/ui_task_queue.h"

namespace uiframework {

std::shared_ptr<UiTaskQueue> UiTaskQueue::Create(UiHost& host) {
    return std::shared_ptr<UiTaskQueue>(new UiTaskQueue(host));
}

void UiTaskQueue::Push(UniqueTask task) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (closed_) {
            return;
        }
        tasks_.push_back(std::move(task));
    }
    // One host task per item keeps this queue's order in step with everything else the
    // host runs.
    host_.Post([weak = weak_from_this()] {
        if (auto queue = weak.lock()) {
            queue->RunOne();
        }
    });
}

void UiTaskQueue::Close() {
    std::deque<UniqueTask> dropped;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
        dropped.swap(tasks_);
    }
}

void UiTaskQueue::RunOne() {
    UniqueTask task;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (closed_ || tasks_.empty()) {
            return;
        }
        task = std::move(tasks_.front());
        tasks_.pop_front();
    }
    task();
}

}  // namespace uiframework
