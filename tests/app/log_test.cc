#include "app/log.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <thread>
#include <vector>

#include "platform/thread_info.h"
#include "support/stderr_capture.h"

namespace {

using testsupport::StderrCapture;

struct Hit {
    uint32_t pid;
    uint32_t tid;
    std::string function;
    int line;
    std::string message;
};

// Reads one prefix "<P…><T…><YYYY-MM-DD hh:mm:ss.mmm>(function)<line>: " at `at`; returns the
// position after it, or npos when the text there is not a prefix.
size_t ReadPrefix(const std::string& text, size_t at, Hit& hit) {
    unsigned pid = 0, tid = 0;
    int year, month, day, hour, minute, second, millis, consumed = 0;
    if (std::sscanf(text.c_str() + at, "<P%u><T%u><%4d-%2d-%2d %2d:%2d:%2d.%3d>(%n", &pid, &tid,
                    &year, &month, &day, &hour, &minute, &second, &millis, &consumed) != 9 ||
        consumed == 0) {
        return std::string::npos;
    }
    size_t nameEnd = text.find(")<", at + consumed);
    size_t lineEnd = text.find(">: ", nameEnd);
    if (nameEnd == std::string::npos || lineEnd == std::string::npos || lineEnd - nameEnd < 6) {
        return std::string::npos;
    }
    hit.pid = pid;
    hit.tid = tid;
    hit.function = text.substr(at + consumed, nameEnd - at - consumed);
    hit.line = std::stoi(text.substr(nameEnd + 2, lineEnd - nameEnd - 2));
    return lineEnd + 3;
}

// Splits captured output into lines at each prefix (messages may lack a line break).
std::vector<Hit> ParseLines(const std::string& text) {
    std::vector<Hit> hits;
    size_t at = text.find("<P");
    while (at != std::string::npos) {
        Hit hit;
        size_t messageStart = ReadPrefix(text, at, hit);
        if (messageStart == std::string::npos) {
            ADD_FAILURE() << "not a log prefix at " << at << ": " << text.substr(at, 80);
            break;
        }
        size_t next = text.find("<P", messageStart);
        hit.message = text.substr(messageStart, next == std::string::npos ? std::string::npos
                                                                         : next - messageStart);
        hits.push_back(std::move(hit));
        at = next;
    }
    return hits;
}

TEST(LogTest, PrefixCarriesProcessThreadFunctionAndLine) {
    StderrCapture capture;
    const int line = __LINE__ + 1;
    WRITE_LOG("DL_TYPE=%d\r\n", 3);

    auto hits = ParseLines(capture.Text());
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].pid, static_cast<uint32_t>(getpid()));
    EXPECT_EQ(hits[0].tid, platform::CurrentThreadId());
    EXPECT_EQ(hits[0].function, 
              "{anonymous}::LogTest_PrefixCarriesProcessThreadFunctionAndLine_Test::TestBody");
    EXPECT_EQ(hits[0].line, line);
    EXPECT_EQ(hits[0].message, "DL_TYPE=3\r\n");
}

TEST(LogTest, PrefixFieldsArePaddedToTheirWidths) {
    EXPECT_THAT(applog::LinePrefix("A::B", 7),
                testing::MatchesRegex(R"(<P[0-9]{5,}><T[0-9]{5,}><[0-9]{4}-[0-9]{2}-[0-9]{2} )"
                                      R"([0-9]{2}:[0-9]{2}:[0-9]{2}\.[0-9]{3}>\(A::B\)<0007>: )"));
}

TEST(LogTest, WindowsSizedFormatsPrintWholeValuesAndDataStaysData) {
    StderrCapture capture;
    int64_t big = 5000000000LL;
    WRITE_LOG("code=%ld path=%s\r\n", big, std::string("C:\\100%s\\x"));
    WRITE_LOG("ExePath: %s", std::string("a"));
    WRITE_LOG("%d", std::string("mismatch"));

    auto hits = ParseLines(capture.Text());
    ASSERT_EQ(hits.size(), 3u);
    EXPECT_EQ(hits[0].message, "code=5000000000 path=C:\\100%s\\x\r\n");
    // No line break: the next line continues right after it.
    EXPECT_EQ(hits[1].message, "ExePath: a");
    EXPECT_EQ(hits[2].message, "%d");
}

TEST(LogTest, LinesFromTwoThreadsStayWholeAndCarryTheirThreadIds) {
    StderrCapture capture;
    constexpr int kLines = 200;
    uint32_t ids[2] = {};
    auto writer = [&](int index) {
        ids[index] = platform::CurrentThreadId();
        for (int i = 0; i < kLines; ++i) {
            WRITE_LOG("writer %d line %d of a line long enough to be split if it were\r\n", index, i);
        }
    };
    std::thread a(writer, 0), b(writer, 1);
    a.join();
    b.join();

    auto hits = ParseLines(capture.Text());
    ASSERT_EQ(hits.size(), 2u * kLines);
    int counts[2] = {};
    for (const Hit& hit : hits) {
        int index = -1, number = -1;
        ASSERT_EQ(std::sscanf(hit.message.c_str(), "writer %d line %d", &index, &number), 2)
            << hit.message;
        ASSERT_TRUE(index == 0 || index == 1);
        EXPECT_EQ(hit.tid, ids[index]);
        EXPECT_EQ(hit.message, fmt::sprintf("writer %d line %d of a line long enough to be split "
                                            "if it were\r\n", index, number));
        ++counts[index];
    }
    EXPECT_EQ(counts[0], kLines);
    EXPECT_EQ(counts[1], kLines);
}

TEST(LogTest, QualifiedFunctionNameDropsReturnTypeAndParameters) {
    struct Case {
        const char* pretty;
        const char* expected;
    };
    const Case cases[] = {
        {"static unsigned int Utils::Thread::CallBack(void*)", "Utils::Thread::CallBack"},
        {"void CDownloadInstaller::Start()", "CDownloadInstaller::Start"},
        {"int main(int, char**)", "main"},
        {"const char* Foo::Name() const", "Foo::Name"},
        // A lambda is named by its enclosing function.
        {"CDownloadInstaller::Start()::<lambda(int, double)>", "CDownloadInstaller::Start"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(applog::QualifiedFunctionName(c.pretty), c.expected) << c.pretty;
    }
}

}  // namespace
