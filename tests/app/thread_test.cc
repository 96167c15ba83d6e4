#include "app/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <future>
#include <regex>
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

std::vector<LogLine> ParseLog(const std::string& text) {
    static const std::regex prefix(R"(<P\d{5,}><T(\d{5,})><[^>]*>\(([^)]*)\)<\d{4,}>: )");
    std::vector<LogLine> lines;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), prefix);
         it != std::sregex_iterator(); ++it) {
        const auto next = std::next(it);
        const size_t start = it->position() + it->length();
        const size_t end = next == std::sregex_iterator() ? text.size() : next->position();
        lines.push_back({static_cast<uint32_t>(std::stoul((*it)[1])), (*it)[2],
                         text.substr(start, end - start)});
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
