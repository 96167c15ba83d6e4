#pragma once

// When the tracker uploads. Records of non-urgent events wait in the SDK's queue; an urgent
// event uploads everything pending at once. While uploads fail, steps run on threads of
// their own so that a slow or absent endpoint never holds up the caller; this object owns
// those threads and joins them before it goes.
//
// Thread safety: every operation may be called from any thread. One send lock serialises
// the steps, including their uploads.

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace marlix::tracking {

class SendSteps {
  public:
    SendSteps() = default;
    // Joins every send thread still running.
    ~SendSteps();
    SendSteps(const SendSteps&) = delete;
    SendSteps& operator=(const SendSteps&) = delete;

    void AddPending(int32_t count) { pending_ += count; }
    void ResetPending() { pending_ = 0; }
    int32_t pending() const { return pending_; }

    // Runs the urgent step (upload what is pending, at most 3 attempts) or the non-urgent
    // one (count one more pending record): on the calling thread after a successful upload,
    // otherwise on a new send thread.
    void Urgent();
    void NonUrgent();
    // The urgent step on the calling thread, whatever the last upload did.
    void UrgentHere();

    // Shut-down: waits for the send threads, then makes up to 3 immediate upload attempts
    // when records are pending.
    void Finish();

  private:
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    enum class Step { Urgent, NonUrgent };

    void Dispatch(Step step);
    void Run(Step step);
    void RunUrgent();
    void RunNonUrgent();
    void JoinFinished();
    void JoinAll();

    std::atomic<int32_t> pending_{0};
    std::mutex sendMutex_;
    std::mutex workersMutex_;
    std::list<Worker> workers_;
};

}  // namespace marlix::tracking
