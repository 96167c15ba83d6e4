#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <thread>
#include <vector>

namespace {

using platform::DecodeCodePage;
using platform::EncodeCodePage;
using platform::kCodePageAnsi;
using platform::kCodePageUtf8;

const std::string kChineseUtf8 = "中文";
const std::string kChineseGbk = "\xD6\xD0\xCE\xC4";

TEST(CodePageTest, ConvertsBetweenCodePagesAndUtf8) {
    struct Case {
        const char* name;
        uint32_t codePage;
        std::string bytes;
        std::string utf8;
    };
    const Case cases[] = {
        {"GBK", 936, kChineseGbk, kChineseUtf8},
        {"Western", 1252, "caf\xE9 \x80", "café €"},
        {"UTF-8", kCodePageUtf8, kChineseUtf8, kChineseUtf8},
        // A zero byte is text like any other and no terminator is added.
        {"zero byte inside", 936, std::string("a\0b", 3), std::string("a\0b", 3)},
        {"empty", 936, "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeCodePage(c.bytes, c.codePage), c.utf8) << c.name;
        EXPECT_EQ(EncodeCodePage(c.utf8, c.codePage), c.bytes) << c.name;
    }
}

TEST(CodePageTest, FailuresGiveEmptyText) {
    struct Case {
        const char* name;
        bool decode;
        uint32_t codePage;
        std::string input;
    };
    const Case cases[] = {
        {"byte invalid in GBK", true, 936, "ab\xFF"},
        {"GBK sequence cut short", true, 936, "\xD6\xD0\xCE"},
        {"overlong UTF-8", true, kCodePageUtf8, "a\xC0\xAF"},
        {"UTF-16 surrogate in UTF-8", true, kCodePageUtf8, "\xED\xA0\x80"},
        {"UTF-8 cut short", true, kCodePageUtf8, "\xE4\xB8"},
        {"above U+10FFFF", true, kCodePageUtf8, "\xF4\x90\x80\x80"},
        {"unknown code page", true, 12345, "abc"},
        {"invalid UTF-8 to encode", false, 936, "a\xE4\xB8"},
        {"invalid UTF-8 to UTF-8", false, kCodePageUtf8, "\xFF"},
        {"character GBK cannot hold", false, 936, "中\xF0\x9F\x98\x80"},
        {"character the Western page cannot hold", false, 1252, "中"},
    };
    for (const Case& c : cases) {
        const std::string result =
            c.decode ? DecodeCodePage(c.input, c.codePage) : EncodeCodePage(c.input, c.codePage);
        EXPECT_EQ(result, "") << c.name;
    }
}

// Code page 0 follows the locale's charset, and the C locale's ASCII must not turn
// Chinese paths into nothing.
TEST(CodePageTest, AnsiCodePageKeepsUtf8InTheCAndUtf8Locales) {
    const std::string saved = setlocale(LC_CTYPE, nullptr);
    for (const char* locale : {"C", "C.UTF-8"}) {
        if (setlocale(LC_CTYPE, locale) == nullptr) {
            continue;
        }
        EXPECT_EQ(DecodeCodePage(kChineseUtf8, kCodePageAnsi), kChineseUtf8) << locale;
        EXPECT_EQ(EncodeCodePage(kChineseUtf8, kCodePageAnsi), kChineseUtf8) << locale;
        EXPECT_EQ(DecodeCodePage("\xFF", kCodePageAnsi), "") << locale;
    }
    setlocale(LC_CTYPE, saved.c_str());
}

TEST(CodePageTest, ConversionsRunOnSeveralThreadsAtOnce) {
    std::vector<std::thread> threads;
    std::vector<int> mismatches(4, 0);
    for (size_t t = 0; t < mismatches.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 200; ++i) {
                if (EncodeCodePage(DecodeCodePage(kChineseGbk, 936), 936) != kChineseGbk) {
                    ++mismatches[t];
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

}  // namespace
