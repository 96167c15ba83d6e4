#pragma once

// A window's queue of posted work. Items are pushed from any thread and run one by one on
// the UI thread in the order pushed; whatever is still queued when the queue is closed is
// dropped without running.

#include <deque>
#include <memory>
#include <mutex>

#include "uiframework/host.h"
#include "uiframework/unique_task.h"

namespace uiframework {

class UiTaskQueue : public std::enable_shared_from_this<UiTaskQueue> {
  public:
    static std::shared_ptr<UiTaskQueue> Create(UiHost& host);

    // Any thread.
    void Push(UniqueTask task);
    // UI thread: drops the queued items and refuses new ones.
    void Close();

  private:
    explicit UiTaskQueue(UiHost& host) : host_(host) {}
    void RunOne();

    UiHost& host_;
    std::mutex mutex_;
    std::deque<UniqueTask> tasks_;
    bool closed_ = false;
};

}  // namespace uiframework
