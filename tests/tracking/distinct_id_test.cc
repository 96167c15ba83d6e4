#include "source/src/distinct_id.h"

#include <gtest/gtest.h>

#include <set>

#include "tracking_test_support.h"

namespace {

using marlix::tracking::FormatDistinctId;
using marlix::tracking::NewDistinctId;

bool IsGuidForm(const std::string& id) {
    return trackingtest::HasShape(id, trackingtest::kGuidShape);
}

// "%x%x-%x-%x-%x-%x%x%x" with the fourth group 0x4xxx and the fifth 0x8000..0xBFFE.
bool IsFallbackForm(const std::string& id) {
    std::vector<std::string> groups(1);
    for (char c : id) {
        if (c == '-') {
            groups.emplace_back();
        } else if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')) {
            groups.back().push_back(c);
        } else {
            return false;
        }
    }
    for (const std::string& group : groups) {
        if (group.empty()) {
            return false;
        }
    }
    return groups.size() == 5 && groups[2].size() == 4 && groups[2][0] == '4' &&
           groups[3].size() == 4 && std::string("89ab").find(groups[3][0]) != std::string::npos;
}

TEST(DistinctIdTest, GuidIsWrittenInCapitalHexGroups) {
    platform::Guid guid{
        0x0A1B2C3D, 0x00EF, 0xA0B1, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};
    EXPECT_EQ(FormatDistinctId(guid), "0A1B2C3D-00EF-A0B1-0123-456789ABCDEF");
    EXPECT_TRUE(IsGuidForm(NewDistinctId()));
}

TEST(DistinctIdTest, DiscardsTheFirstGuidAndRetriesFailuresUpToTenTimes) {
    int calls = 0;
    const std::string id = NewDistinctId([&]() -> std::optional<platform::Guid> {
        ++calls;
        if (calls < 5) {
            return std::nullopt;
        }
        return platform::Guid{static_cast<uint32_t>(calls), 0, 0, {}};
    });
    EXPECT_EQ(calls, 5);
    EXPECT_EQ(id, "00000005-0000-0000-0000-000000000000");
}

TEST(DistinctIdTest, FallbackIdIsRandomPerDevice) {
    int calls = 0;
    auto failing = [&]() -> std::optional<platform::Guid> {
        ++calls;
        return std::nullopt;
    };
    const std::string first = NewDistinctId(failing);
    EXPECT_EQ(calls, 11);
    const std::string second = NewDistinctId(failing);
    EXPECT_TRUE(IsFallbackForm(first)) << first;
    EXPECT_TRUE(IsFallbackForm(second)) << second;
    EXPECT_NE(first, second);
}

}  // namespace
