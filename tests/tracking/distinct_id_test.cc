#include "source/src/distinct_id.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

namespace {

using marlix::tracking::FormatDistinctId;
using marlix::tracking::NewDistinctId;

bool IsGuidForm(const std::string& id) {
    static const std::regex form("[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}");
    return std::regex_match(id, form);
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
    // "%x%x-%x-%x-%x-%x%x%x" with the fourth group 0x4xxx and the fifth 0x8000..0xBFFE.
    static const std::regex form("[0-9a-f]+-[0-9a-f]+-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]+");
    EXPECT_TRUE(std::regex_match(first, form)) << first;
    EXPECT_TRUE(std::regex_match(second, form)) << second;
    EXPECT_NE(first, second);
}

}  // namespace
