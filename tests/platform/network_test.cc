#include "platform/network.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include <optional>
#include <thread>
#include <vector>

#include "platform/posix/network_mapping.h"

namespace {

using platform::Connectivity;

bool Same(const std::optional<Connectivity>& a, const std::optional<Connectivity>& b) {
    if (a.has_value() != b.has_value()) {
        return false;
    }
    return !a || (a->flags == b->flags && a->connectedToInternet == b->connectedToInternet);
}

TEST(NetworkTest, GioConnectivityLevelsMapToNetworkListTerms) {
    struct Case {
        GNetworkConnectivity level;
        std::optional<Connectivity> expected;
    };
    const Case cases[] = {
        {G_NETWORK_CONNECTIVITY_FULL, Connectivity{platform::kConnectivityIpv4Internet, true}},
        {G_NETWORK_CONNECTIVITY_LIMITED,
         Connectivity{platform::kConnectivityIpv4LocalNetwork, false}},
        // Behind a captive portal the internet is not reachable yet.
        {G_NETWORK_CONNECTIVITY_PORTAL,
         Connectivity{platform::kConnectivityIpv4LocalNetwork, false}},
        {G_NETWORK_CONNECTIVITY_LOCAL, Connectivity{0, false}},
        {static_cast<GNetworkConnectivity>(0), std::nullopt},  // not a level GIO defines
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(Same(platform::detail::ConnectivityFromGio(c.level), c.expected))
            << "level " << c.level;
    }
}

TEST(NetworkTest, QueriesFromSeveralThreadsAgreeWithoutAMainLoop) {
    constexpr int kThreads = 4;
    std::vector<std::optional<Connectivity>> answers(kThreads);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&answers, i] { answers[i] = platform::QueryConnectivity(); });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (const std::optional<Connectivity>& answer : answers) {
        EXPECT_TRUE(Same(answer, answers[0]));
        if (answer) {
            EXPECT_EQ(answer->connectedToInternet,
                      answer->flags == platform::kConnectivityIpv4Internet);
        }
    }
    EXPECT_TRUE(Same(platform::QueryConnectivity(), answers[0]));
}

size_t OpenDescriptors() {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                             std::filesystem::directory_iterator()));
}

TEST(NetworkTest, RepeatedQueriesLeaveNoDescriptorsBehind) {
    platform::QueryConnectivity();  // the first call sets up GIO's process-wide state
    const size_t before = OpenDescriptors();
    for (int i = 0; i < 20; ++i) {
        platform::QueryConnectivity();
    }
    EXPECT_EQ(OpenDescriptors(), before);
}

}  // namespace
