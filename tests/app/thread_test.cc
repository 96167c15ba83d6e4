#include "app/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <future>
#include <string>
#include <system_error>
#include <vector>

#include "app/log.h"
#include "platform/thread_info.h"
#include "support/stderr_capture.h"

namespace {

using testsupport::StderrCapture;
using Utils::Thread;

struct LogLine {
    uint32_t threadId;
    std::string function;
    std::string message;
};

// Splits captured output at each line prefix "<P...><T...><...>(Function)<line>: ". No
// std::regex: GCC 12 warns inside it in sanitizer builds.
std::vector<LogLine> ParseLog(const std::string& text) {
    std::vector<LogLine> lines;
    size_t at = text.find("<P");
    while (at != std::string::npos) {
        const size_t thread = text.find("><T", at) + 3;
        const size_t open = text.find(">(", thread) + 2;
        const size_t close = text.find(")<", open);
        const size_t message = text.find(">: ", close) + 3;
        const size_t next = text.find("<P", message);
        lines.push_back({static_cast<uint32_t>(std::stoul(text.substr(thread))),
                         text.substr(open, close - open),
                         text.substr(message, next == std::string::npos ? next : next - message)});
        at = next;
    }
    return lines;
}

std::string SystemThreadName(uint32_t id) {
    std::ifstream comm("/proc/self/task/" + std::to_string(id) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

TEST(ThreadTest, BodyRunsOnTheNewThreadBetweenBeginAndEndLines) {
    StderrCapture capture;
    std::atomic<uint32_t> bodyThread{0};
    Thread thread;
    ASSERT_TRUE(thread.Create("ABDEF", [&] {
        bodyThread = platform::CurrentThreadId();
        WRITE_LOG("body\r\n");
    }));
    const uint32_t id = thread.Id();
    EXPECT_NE(id, Thread::kNoThread);
    EXPECT_NE(id, platform::CurrentThreadId());
    // Suspended: nothing has run yet, and the object does not take a second thread.
    EXPECT_EQ(capture.Text(), "");
    EXPECT_FALSE(thread.Create("again", [] {}));

    thread.Resume();
    thread.Join();
    EXPECT_EQ(thread.Id(), Thread::kNoThread);
    EXPECT_EQ(bodyThread, id);

    const std::vector<LogLine> lines = ParseLog(capture.Text());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].threadId, id);
    EXPECT_EQ(lines[0].function, "Utils::Thread::CallBack");
    EXPECT_EQ(lines[0].message, "THREAD BEGIN\r\n");
    EXPECT_EQ(lines[1].message, "body\r\n");
    EXPECT_EQ(lines[2].threadId, id);
    EXPECT_EQ(lines[2].function, "Utils::Thread::CallBack");
    EXPECT_EQ(lines[2].message, "THREAD END\r\n");
}

TEST(ThreadTest, ThreadIsNamedBeforeItRunsAndAnEmptyNameBecomesTAndItsId) {
    for (const std::string name : {"ABDEF", "UnInstaller", ""}) {
        Thread thread;
        ASSERT_TRUE(thread.Create(name, [] {}));
        const std::string expected = name.empty() ? "t" + std::to_string(thread.Id()) : name;
        EXPECT_EQ(SystemThreadName(thread.Id()), expected);
        thread.Resume();
    }
}

TEST(ThreadTest, DestructionWaitsForARunningBody) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> entered{false};
    std::atomic<bool> finished{false};
    std::thread releaser;
    {
        Thread thread;
        ASSERT_TRUE(thread.Create("", [&] {
            entered = true;
            released.wait();
            finished = true;
        }));
        thread.Resume();
        while (!entered) {
            std::this_thread::yield();
        }
        releaser = std::thread([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            release.set_value();
        });
    }
    EXPECT_TRUE(finished);
    releaser.join();
}

TEST(ThreadTest, ThreadNeverResumedIsReleasedWithoutRunningItsBody) {
    for (const bool joinFirst : {false, true}) {
        StderrCapture capture;
        std::atomic<bool> ran{false};
        {
            Thread thread;
            ASSERT_TRUE(thread.Create("idle", [&] { ran = true; }));
            if (joinFirst) {
                thread.Join();
                EXPECT_EQ(thread.Id(), Thread::kNoThread);
            }
        }
        EXPECT_FALSE(ran) << "joinFirst=" << joinFirst;
        EXPECT_EQ(capture.Text(), "") << "joinFirst=" << joinFirst;
    }
}

TEST(ThreadTest, CreationFailureIsReportedAndLeavesNoThread) {
    Thread thread([](std::function<void()>) -> std::thread {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    });
    std::atomic<bool> ran{false};
    EXPECT_FALSE(thread.Create("ABDEF", [&] { ran = true; }));
    EXPECT_EQ(thread.Id(), Thread::kNoThread);
    thread.Resume();
    thread.Join();
    EXPECT_FALSE(ran);
}

}  // namespace
