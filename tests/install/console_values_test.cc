#include "install/console_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using install::ReadInteger;
using install::ReadNumber;
using install::RestOfLine;
using install::SplitLines;

TEST(ConsoleValues, RestOfLineLosesExactlyOneCarriageReturn) {
    EXPECT_EQ(RestOfLine("C:/Apps/Quorvex\r"), "C:/Apps/Quorvex");
    EXPECT_EQ(RestOfLine("a\r\r"), "a\r");
    EXPECT_EQ(RestOfLine("  spaced  "), "  spaced  ");  // kept as printed
    EXPECT_EQ(RestOfLine("\r"), "");
    EXPECT_EQ(RestOfLine(""), "");
}

TEST(ConsoleValues, NumbersReadLikeScanf) {
    struct Case {
        std::string text;
        double number;
    };
    const std::vector<Case> cases = {
        {"0.5", 0.5}, {" 0.25\r", 0.25}, {"+1", 1}, {"-2.5e-1", -0.25}, {"1.5xyz", 1.5},
        {"abc", 0},   {"", 0},           {"+", 0},  {"\t7", 7},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(ReadNumber(c.text), c.number) << "\"" << c.text << "\"";
    }
}

TEST(ConsoleValues, IntegersReadLikeScanfAndRefuseWhatDoesNotFit32Bits) {
    struct Case {
        std::string text;
        std::optional<int32_t> number;
    };
    const std::vector<Case> cases = {
        {"936", 936},
        {" 65001\r", 65001},
        {"-1", -1},
        {"+12", 12},
        {"12abc", 12},
        {"2147483647", 2147483647},
        {"2147483648", std::nullopt},  // one past the 32-bit range
        {"-2147483649", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"x1", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadInteger(c.text), c.number) << "\"" << c.text << "\"";
    }
}

TEST(ConsoleValues, SplitLinesKeepsAnUnfinishedLastLine) {
    EXPECT_EQ(SplitLines("a\nb\r\nc"), (std::vector<std::string_view>{"a", "b\r", "c"}));
    EXPECT_EQ(SplitLines("a\n\nb\n"), (std::vector<std::string_view>{"a", "", "b"}));
    EXPECT_TRUE(SplitLines("").empty());
}

}  // namespace
