#pragma once

// The threads of one downloader, all joined by their owner. A thread may start its
// successor from its own body (the restart a downloader asks for with DL_CODE_RETRY is
// requested from inside its report), so a thread is never joined by itself: it stays in
// the group until another thread, or the group's destruction, joins it.

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/thread.h"

namespace download {

class WorkerThreads {
  public:
    // `allowThread` (may be empty) is asked before each creation; false makes it fail as if
    // the system had refused.
    explicit WorkerThreads(std::function<bool()> allowThread = {});
    // Close(). Must not run on one of the group's threads.
    ~WorkerThreads();
    WorkerThreads(const WorkerThreads&) = delete;
    WorkerThreads& operator=(const WorkerThreads&) = delete;

    // Creates a thread named `name` running `body` and lets it run. False when it cannot
    // be created or the group is closed.
    bool Launch(const std::string& name, std::function<void()> body);

    // Waits for every thread of the group except the calling one, and releases them.
    void JoinOthers();

    // Refuses further launches, then JoinOthers().
    void Close();

  private:
    std::function<bool()> allowThread_;
    std::mutex mutex_;
    bool closed_ = false;
    std::vector<std::unique_ptr<Utils::Thread>> threads_;
};

}  // namespace download
