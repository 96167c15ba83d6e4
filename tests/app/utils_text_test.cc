#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "app/utils.h"
#include "platform/clock.h"

namespace {

TEST(GuidTextTest, ThirtyTwoHexDigitsWithALowerCaseThirdGroup) {
    std::set<std::string> seen;
    for (int i = 0; i < 50; ++i) {
        const std::string text = Utils::NewGuidText();
        EXPECT_THAT(text, testing::MatchesRegex("[0-9A-F]{12}[0-9a-f]{4}[0-9A-F]{16}"));
        seen.insert(text);
    }
    EXPECT_EQ(seen.size(), 50u);
}

TEST(AddressDigestSegmentTest, SegmentBeforeTheLast) {
    const struct {
        const char* address;
        const char* expected;
    } cases[] = {
        {"http://dl.example/abc/def/setup.exe", "def"},
        {"http://dl.example/abc/9f86d081884c7d65/", "9f86d081884c7d65"},  // empty last segment
        {"http://h/setup.exe", "h"},
        {"a/b", ""},  // fewer than two "/"
        {"setup.exe", ""},
        {"/setup.exe", ""},
        {"//x", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utils::AddressDigestSegment(c.address), c.expected) << c.address;
    }
}

TEST(EncodeAddressTest, KeepsPrintableAsciiAndEscapesTheRest) {
    const struct {
        std::string text;
        const char* expected;
    } cases[] = {
        {"http://h/a?b=1&c=%2F+d~!", "http://h/a?b=1&c=%2F+d~!"},  // reserved characters stay
        {"a b", "a+b"},
        {"安", "%E5%AE%89"},
        {"\t\r\n", "%09%0D%0A"},
        {std::string("\0\x7F", 2), "%00%7F"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utils::EncodeAddress(c.text), c.expected) << c.text;
    }
}

TEST(TrimTest, RemovesAsciiWhiteSpaceAtBothEnds) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"  ExePath=C:\\Q q\\a.exe \r\n", "ExePath=C:\\Q q\\a.exe"},
        {"\t\v\fx y\f\v\t", "x y"},
        {" \r\n\t", ""},
        {"", ""},
        {"x", "x"},
        {"\xC2\xA0x\xC2\xA0", "\xC2\xA0x\xC2\xA0"},  // no-break space is not trimmed
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utils::Trim(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(ReplaceAllTest, ReplacesEveryOccurrence) {
    const struct {
        const char* text;
        const char* pattern;
        const char* replacement;
        const char* expected;
    } cases[] = {
        {"http://h/${ROUTE}/x?r=${ROUTE}", "${ROUTE}", "download_silent",
         "http://h/download_silent/x?r=download_silent"},
        {"C:/a/b/", "/", "\\", "C:\\a\\b\\"},
        {"aaaa", "aa", "a", "a"},    // searched again: runs collapse
        {"xaab", "ab", "b", "xb"},   // a new occurrence formed with the text before
        {"aab", "ab", "ba", "aba"},  // not shorter: not searched again
        {"none", "x", "y", "none"},
        {"abc", "", "x", "abc"},           // empty pattern: unchanged
        {"abc", "b", "bb", "abc"},         // replacement holding the pattern: unchanged
        {"aaba", "aba", "baab", "abaab"},  // would grow forever if searched from the start
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utils::ReplaceAll(c.text, c.pattern, c.replacement), c.expected)
            << c.text << " " << c.pattern << " " << c.replacement;
    }
}

TEST(CodePageTest, ConversionsRoundTripWithoutATerminator) {
    const std::string gbk = "\xD6\xD0\xCE\xC4";  // "中文" in code page 936
    EXPECT_EQ(Utils::ToUtf8(gbk, 936), "中文");
    EXPECT_EQ(Utils::FromUtf8("中文", 936), gbk);
    EXPECT_EQ(Utils::ToUtf8("abc", 65001), "abc");
    EXPECT_EQ(Utils::FromUtf8("abc", 65001).size(), 3u);
    EXPECT_EQ(Utils::ToUtf8("", 936), "");
    EXPECT_EQ(Utils::ToUtf8("\xFF\xFE", 65001), "");  // not valid UTF-8
}

TEST(NumberToTextTest, Decimal) {
    EXPECT_EQ(Utils::NumberToText(0), "0");
    EXPECT_EQ(Utils::NumberToText(4294967295u), "4294967295");
}

TEST(ElapsedSecondsTest, SecondsSinceTheStartWhileRunning) {
    const uint64_t start = platform::TickCountMs() - 2500;
    const float elapsed = Utils::ElapsedSeconds(start, true);
    EXPECT_GE(elapsed, 2.5f);
    EXPECT_LT(elapsed, 10.0f);
    EXPECT_EQ(Utils::ElapsedSeconds(start, false), 0.0f);
}

}  // namespace
