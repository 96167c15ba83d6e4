#include "platform/thread_info.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <unistd.h>

#include <string>
#include <thread>

namespace {

std::string CurrentName() {
    char name[32] = {};
    pthread_getname_np(pthread_self(), name, sizeof name);
    return name;
}

TEST(ThreadInfoTest, NamesAreCutToFifteenBytesWithoutSplittingACharacter) {
    struct Case {
        std::string given;
        std::string expected;
    };
    const Case cases[] = {
        {"ABDEF", "ABDEF"},
        {"UnInstaller", "UnInstaller"},
        {"0123456789abcdefgh", "0123456789abcde"},
        // 14 ASCII bytes then a three-byte character: the character does not fit whole.
        {"0123456789abcd\xE4\xB8\xAD", "0123456789abcd"},
    };
    for (const Case& c : cases) {
        std::string seen;
        std::thread([&] {
            platform::SetCurrentThreadName(c.given);
            seen = CurrentName();
        }).join();
        EXPECT_EQ(seen, c.expected);
    }
}

TEST(ThreadInfoTest, ThreadIdsDifferBetweenThreadsAndTheMainThreadIdIsThePid) {
    EXPECT_EQ(platform::CurrentThreadId(), static_cast<uint32_t>(getpid()));
    uint32_t other = 0;
    std::thread([&] { other = platform::CurrentThreadId(); }).join();
    EXPECT_NE(other, platform::CurrentThreadId());
    EXPECT_EQ(platform::CurrentProcessId(), static_cast<uint32_t>(getpid()));
}

}  // namespace
