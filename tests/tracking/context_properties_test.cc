#include "source/src/mx_context_properties.h"

#include <gtest/gtest.h>

#include "source/src/mx_exception.h"

namespace {

using marlix::tracking::MxContextProperties;
using marlix::tracking::MxException;

// The message and function name of what `call` throws; empty when it throws nothing.
template <typename Call>
std::pair<std::string, std::string> Thrown(Call&& call) {
    try {
        call();
    } catch (const MxException& e) {
        EXPECT_EQ(e.sourceUnit(), "MxContextProperties");
        return {e.what(), e.function()};
    }
    return {};
}

TEST(MxContextPropertiesTest, AbValueCheck) {
    for (const char* valid : {"IN", "B", "A1", "Z9Z", "AZ0"}) {
        EXPECT_TRUE(MxContextProperties::isValidABValue(valid)) << valid;
    }
    EXPECT_FALSE(MxContextProperties::isValidABValue(""));

    const std::pair<const char*, const char*> invalid[] = {
        {"in", "First char is not in A to Z"},
        {"1A", "First char is not in A to Z"},
        {"Ab", "second char is not in A to Z and 0 to 9"},
        {"A-", "second char is not in A to Z and 0 to 9"},
        {"AB!", "third char is not in A to Z and 0 to 9"},
        {"ABCD", "value's length is great than 3."},
        {"中", "First char is not in A to Z"},  // three bytes: the length check passes
    };
    for (const auto& [value, message] : invalid) {
        const auto [what, function] = Thrown([&] { MxContextProperties::isValidABValue(value); });
        EXPECT_EQ(what, message) << value;
        EXPECT_EQ(function, "isValidABValue");
    }
}

TEST(MxContextPropertiesTest, GroupIsStoredForEachListedEventType) {
    MxContextProperties context;
    context.setProperty("IN", {7, 3});
    for (int32_t type : {3, 7}) {
        const auto& entries = context.getEventProperties(type);
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].key, "mxc_ab");
        EXPECT_EQ(*entries[0].value, "IN");
    }
    EXPECT_TRUE(context.getEventProperties(4).empty());
    EXPECT_TRUE(context.getEventProperties(0).empty());
}

TEST(MxContextPropertiesTest, SecondGroupIsRejected) {
    MxContextProperties context;
    context.setProperty("IN", {7});
    const auto [what, function] = Thrown([&] { context.setProperty("B", {3}); });
    EXPECT_EQ(what, "Property[mxc_ab] already exist!");
    EXPECT_EQ(function, "setProperty");
    EXPECT_TRUE(context.getEventProperties(3).empty());
}

TEST(MxContextPropertiesTest, EventTypeOutsideTheListsIsRejected) {
    MxContextProperties context;
    const auto [what, function] = Thrown([&] { context.setProperty("IN", {7, 15, 3}); });
    EXPECT_EQ(what, "MxEvent[15] overflow!");
    EXPECT_EQ(function, "setProperty");
    EXPECT_EQ(context.getEventProperties(7).size(), 1u);  // appended before the overflow
    EXPECT_TRUE(context.getEventProperties(3).empty());

    for (int32_t type : {15, -1}) {
        const auto [message, name] = Thrown([&] { context.getEventProperties(type); });
        EXPECT_EQ(message, "MxEvent[" + std::to_string(type) + "] overflow!");
        EXPECT_EQ(name, "getEventProperties");
    }
    MxContextProperties other;
    EXPECT_EQ(Thrown([&] { other.setProperty("IN", {-2}); }).first, "MxEvent[-2] overflow!");
}

}  // namespace
