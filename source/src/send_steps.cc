#include "source/src/send_steps.h"

#include <chrono>
#include <system_error>

#include "analytics-sdk/sdk.h"
#include "platform/debug_output.h"

namespace marlix::tracking {
namespace {

using analytics_sdk::Sdk;

void SleepOneMillisecond() {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

}  // namespace

SendSteps::~SendSteps() {
    JoinAll();
}

void SendSteps::Urgent() {
    Dispatch(Step::Urgent);
}

void SendSteps::NonUrgent() {
    Dispatch(Step::NonUrgent);
}

void SendSteps::UrgentHere() {
    Run(Step::Urgent);
}

void SendSteps::Finish() {
    JoinAll();
    std::lock_guard lock(sendMutex_);
    for (int attempt = 0; attempt < 3 && pending_ > 0; ++attempt) {
        if (Sdk::Flush()) {
            pending_ = 0;
        }
    }
}

void SendSteps::Dispatch(Step step) {
    if (Sdk::LastSendSucceeded()) {
        Run(step);
        return;
    }
    platform::WriteDebugOutput("[Analytics] Sending messages asynchronously\n");
    JoinFinished();
    // The list node exists before the thread starts, so nothing can fail between starting
    // a thread and recording it.
    std::list<Worker> node(1);
    Worker& worker = node.front();
    worker.done = std::make_shared<std::atomic<bool>>(false);
    try {
        worker.thread = std::thread([this, step, done = worker.done] {
            Run(step);
            *done = true;
        });
    } catch (const std::system_error&) {
        // No thread to be had: the caller waits for the step instead.
        Run(step);
        return;
    }
    std::lock_guard lock(workersMutex_);
    workers_.splice(workers_.end(), node);
}

void SendSteps::Run(Step step) {
    std::lock_guard lock(sendMutex_);
    if (step == Step::Urgent) {
        RunUrgent();
    } else {
        RunNonUrgent();
    }
}

void SendSteps::RunUrgent() {
    for (int attempt = 0; attempt < 3 && pending_ > 0; ++attempt) {
        if (Sdk::Flush()) {
            pending_ = 0;
            return;
        }
        SleepOneMillisecond();
    }
}

void SendSteps::RunNonUrgent() {
    SleepOneMillisecond();
    ++pending_;
}

void SendSteps::JoinFinished() {
    std::list<Worker> finished;
    {
        std::lock_guard lock(workersMutex_);
        for (auto it = workers_.begin(); it != workers_.end();) {
            auto next = std::next(it);
            if (*it->done) {
                finished.splice(finished.end(), workers_, it);
            }
            it = next;
        }
    }
    for (Worker& worker : finished) {
        worker.thread.join();
    }
}

void SendSteps::JoinAll() {
    std::list<Worker> all;
    {
        std::lock_guard lock(workersMutex_);
        all.swap(workers_);
    }
    for (Worker& worker : all) {
        worker.thread.join();
    }
}

}  // namespace marlix::tracking
