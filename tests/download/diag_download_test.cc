// quorvex-diag download, run as a real child process against the test server.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/wait.h>

#include <fstream>
#include <string>
#include <vector>

#include "download_test_support.h"
#include "support/download_server.h"

// The suppressions of this test program (tsan_suppressions.cc), handed to the child too.
extern "C" const char* __tsan_default_suppressions();

namespace {

using testing::ElementsAreArray;
using testsupport::DownloadServer;

constexpr int64_t kMiB = 1048576;

struct DiagRun {
    std::vector<std::string> lines;
    int exitCode = -1;
};

// Runs "quorvex-diag download TYPE URL TARGET"; `folder` receives the sanitizer
// suppressions for the child (read only by a sanitizer build).
DiagRun RunDiag(const dltest::TempFolder& folder, const std::string& type, const std::string& url,
                const std::string& target) {
    const std::string suppressions = folder.File("tsan.supp");
    std::ofstream(suppressions) << __tsan_default_suppressions();
    const std::string command = "TSAN_OPTIONS=suppressions='" + suppressions + "' '" +
                                QUORVEX_DIAG_PATH + "' download " + type + " '" + url + "' '" +
                                target + "' 2>/dev/null";
    DiagRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char line[4096];
    while (fgets(line, sizeof line, pipe) != nullptr) {
        std::string text(line);
        if (!text.empty() && text.back() == '\n') {
            text.pop_back();
        }
        run.lines.push_back(text);
    }
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// The lines without the progress reports, which depend on timing.
std::vector<std::string> Milestones(const DiagRun& run) {
    std::vector<std::string> milestones;
    for (const std::string& line : run.lines) {
        if (line.rfind("1002\t", 0) != 0) {
            milestones.push_back(line);
        }
    }
    return milestones;
}

TEST(DiagDownloadTest, EachTypeDownloadsAndPrintsItsReports) {
    dltest::TempFolder folder;
    DownloadServer server;
    auto package = dltest::PublishPackage(server, folder, 3 * kMiB);
    struct Case {
        const char* type;
        std::vector<std::string> milestones;
    } cases[] = {
        {"1", {"1001\t1\t", "1003\t0\tLibCurl"}},
        {"2", {"1001\t1\t", "1003\t0\tURLDownloadToFile"}},
        {"3", {"1001\t1\t", "1003\t0\tLibCurl"}},
        // Any other type is the default downloader.
        {"x", {"1001\t1\t", "1003\t0\tLibCurl"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const std::string target = folder.File(std::string("package-") + c.type + ".exe");
        DiagRun run = RunDiag(folder, c.type, server.Url(package.shortPath), target);

        EXPECT_EQ(run.exitCode, 0);
        EXPECT_THAT(Milestones(run), ElementsAreArray(c.milestones));
        EXPECT_TRUE(dltest::SameContent(target, package.localFile));
        for (const std::string& line : run.lines) {
            EXPECT_THAT(line, testing::MatchesRegex("[0-9]+\t[-0-9.e]+\t.*"));
        }
    }
}

TEST(DiagDownloadTest, RetryStartsTheSameDownloaderAgainAndFailureExitsWithOne) {
    dltest::TempFolder folder;
    DownloadServer server;
    auto package = dltest::PublishPackage(server, folder, 3 * kMiB);
    testsupport::WriteRandomFile(package.localFile, 3 * kMiB, 77);
    for (const char* type : {"1", "3"}) {
        SCOPED_TRACE(type);
        const std::string notice = std::string(type[0] == '1' ? "" : "mt") + "curl文件md5校验失败";
        DiagRun run =
            RunDiag(folder, type, server.Url(package.shortPath), folder.File("package.exe"));

        EXPECT_EQ(run.exitCode, 1);
        EXPECT_THAT(Milestones(run), ElementsAreArray(std::vector<std::string>{
                                         "1001\t1\t", "1006\t0\t" + notice, "1005\t0\tLibCurl",
                                         "1001\t1\t", "1006\t0\t" + notice, "1004\t0\tLibCurl"}));
    }
}

TEST(DiagDownloadTest, EmptyTargetFailsAtOnceAndMissingArgumentsAreAUsageError) {
    dltest::TempFolder folder;
    DiagRun run = RunDiag(folder, "1", "http://127.0.0.1:1/x", "");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.lines, ElementsAreArray({"1001\t1\t", "1004\t1\t"}));

    FILE* pipe =
        popen((std::string("'") + QUORVEX_DIAG_PATH + "' download 1 2>/dev/null").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    EXPECT_EQ(WEXITSTATUS(pclose(pipe)), 2);
}

}  // namespace
