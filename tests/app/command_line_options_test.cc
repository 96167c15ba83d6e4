#include "app/command_line_options.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using app::CommandLineOptions;

TEST(CommandLineOptionsTest, SplitsAtTheFirstEqualsAndTheFirstOccurrenceWins) {
    const CommandLineOptions options({
        "/opt/quorvex",  // the program path counts like any other argument
        "-downloadurl=http://h/a?x=1&y=2", "-downloadtype=2",
        "-downloadtype=3",  // later repeat: ignored
        "-insnew",          // no "=": empty value
        "-DownloadType=9",  // another key: letter case matters
        "ischecknet=true",  // no leading "-": the whole text is the key
    });
    EXPECT_EQ(options.Text("/opt/quorvex"), "");
    EXPECT_EQ(options.Text("-downloadurl"), "http://h/a?x=1&y=2");
    EXPECT_EQ(options.Integer("-downloadtype"), 2);
    EXPECT_EQ(options.Text("-insnew"), "");
    EXPECT_EQ(options.Bool("-insnew"), false);
    EXPECT_EQ(options.Integer("-DownloadType"), 9);
    EXPECT_EQ(options.Text("ischecknet=true"), "");
    EXPECT_EQ(options.Text("ischecknet"), std::nullopt);
    EXPECT_EQ(options.Bool("-language"), std::nullopt);
}

TEST(CommandLineOptionsTest, FurtherEqualsSignsBelongToTheValue) {
    const CommandLineOptions options({"-instcmd=-a=1 -b=2", "-dlappversion="});
    EXPECT_EQ(options.Text("-instcmd"), "-a=1 -b=2");
    EXPECT_EQ(options.Text("-dlappversion"), "");
}

TEST(NumberTextTest, IntegersAreDecimalWithZeroForAnythingElse) {
    const struct {
        const char* text;
        int32_t expected;
    } cases[] = {
        {"42", 42},
        {"  -7", -7},
        {"+8", 8},
        {"12abc", 12},  // trailing text ignored
        {"", 0},
        {"abc", 0},
        {"0x10", 0},  // decimal only
        {"+-3", 0},
        {"2147483647", std::numeric_limits<int32_t>::max()},
        {"-2147483648", std::numeric_limits<int32_t>::min()},
        {"2147483648", 0},  // out of range: the unparsable fallback
        {"12345678901", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(app::ParseInteger(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(NumberTextTest, DoublesAreFiniteDecimalNumbersOrNothing) {
    const struct {
        const char* text;
        std::optional<double> expected;
    } cases[] = {
        {"0.7", 0.7},
        {" 0.25x", 0.25},
        {"+0.5", 0.5},
        {"-1.5", -1.5},
        {".5", 0.5},
        {"1e-1", 0.1},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"1e999", std::nullopt},  // out of range
        {"-1e999", std::nullopt},
        {"inf", std::nullopt},  // not finite
        {"nan", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(app::ParseDouble(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(NumberTextTest, OnlyExactLowerCaseTrueIsTrue) {
    EXPECT_TRUE(app::ParseBool("true"));
    for (const char* text : {"True", "TRUE", "1", "yes", " true", "true ", ""}) {
        EXPECT_FALSE(app::ParseBool(text)) << '"' << text << '"';
    }
}

}  // namespace
