#pragma once

// A named worker thread that its owner starts in two steps (create, then resume) and
// always joins. The body runs between the log lines "THREAD BEGIN" and "THREAD END".

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace Utils {

class Thread {
  public:
    using Function = std::function<void()>;
    // Starts a system thread running `entry`; throws std::system_error when it cannot.
    using Starter = std::function<std::thread(std::function<void()> entry)>;

    static constexpr uint32_t kNoThread = 0xFFFFFFFFu;

    Thread();
    // For tests: `starter` stands in for std::thread's constructor.
    explicit Thread(Starter starter);
    // Joins. A thread that was created but never resumed ends without running its body.
    ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Creates the thread suspended and names it `name` (an empty name becomes "t" followed
    // by the thread id). Returns false, and keeps no thread, when the system cannot create
    // one; the owner then sends the failure it reports for the job. Also false while a
    // previous thread of this object still exists (join it first).
    bool Create(std::string name, Function function);

    // Lets the created thread run its body.
    void Resume();

    // Waits for the thread without a time limit; afterwards Id() is kNoThread. A thread that
    // was never resumed is released without running its body instead of waiting forever.
    void Join();

    // The system thread id, kNoThread when there is no thread.
    uint32_t Id() const;

    const std::string& Name() const { return name_; }

  private:
    // Entry of the new thread: publishes its id, names itself, waits for Resume().
    void Run();
    // Runs the body between the log lines "THREAD BEGIN" and "THREAD END".
    void CallBack();

    Starter starter_;
    std::string name_;
    Function function_;
    std::thread thread_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    uint32_t id_ = kNoThread;
    bool started_ = false;  // the new thread has published its id
    bool resumed_ = false;
    bool cancelled_ = false;
};

}  // namespace Utils
