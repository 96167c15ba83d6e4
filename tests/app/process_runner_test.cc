#include "app/process_runner.h"

#include <dirent.h>
#include <errno.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "app/exception.h"

namespace {

namespace fs = std::filesystem;
using Utils::ProcessRunner;

const std::string kChild = QUORVEX_TEST_CHILD;

std::string ChildLine(const std::string& actions) {
    return "\"" + kChild + "\" " + actions;
}

std::string ReadToEnd(ProcessRunner& runner) {
    std::string text;
    char buffer[1024];
    for (;;) {
        const long n = runner.ReadOutput(buffer, sizeof buffer);
        if (n <= 0) {
            EXPECT_EQ(n, 0);
            return text;
        }
        text.append(buffer, static_cast<size_t>(n));
    }
}

// Asks for the exit code the way the runners do, but gives up instead of hanging.
std::optional<uint32_t> ExitCodeWithin(ProcessRunner& runner, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        if (const std::optional<uint32_t> code = runner.ExitCode()) {
            return code;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
}

size_t OpenDescriptors() {
    size_t count = 0;
    for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        (void)entry;
        ++count;
    }
    return count;
}

TEST(ProcessRunnerTest, ExitCodesOfEndedChildren) {
    struct Case {
        std::string actions;
        uint32_t expected;
    };
    const Case cases[] = {
        {"out:x", 0},
        {"exit:7", 7},
        {"exit:255", 255},
        // Ended by a signal: a code no exit() can give.
        {"signal:9", ProcessRunner::kSignalExitBase + 9},
        {"signal:15", ProcessRunner::kSignalExitBase + 15},
    };
    for (const Case& c : cases) {
        ProcessRunner runner;
        runner.Start(ChildLine(c.actions));
        ReadToEnd(runner);
        EXPECT_EQ(runner.Wait(), c.expected) << c.actions;
        EXPECT_EQ(runner.ExitCode(), c.expected) << c.actions;
    }
}

TEST(ProcessRunnerTest, ExitCodeIsEmptyWhileTheChildRuns) {
    ProcessRunner runner;
    runner.Start(ChildLine("sleep:200 exit:4"));
    EXPECT_EQ(runner.ExitCode(), std::nullopt);
    EXPECT_EQ(ExitCodeWithin(runner, std::chrono::seconds(10)), 4u);
}

TEST(ProcessRunnerTest, ChildWritingOnlyToStandardErrorStillEnds) {
    ProcessRunner runner;
    runner.Start(ChildLine("err:1048576 exit:3"));
    ASSERT_EQ(ExitCodeWithin(runner, std::chrono::seconds(10)), 3u);
    EXPECT_EQ(ReadToEnd(runner), "");
}

TEST(ProcessRunnerTest, ChildReadingStandardInputSeesItsEnd) {
    ProcessRunner runner;
    runner.Start(ChildLine("stdin out:done"));
    EXPECT_EQ(ReadToEnd(runner), "stdin=0\ndone\n");
}

TEST(ProcessRunnerTest, OutputEndsOnlyWhenAGrandchildHoldingItHasClosedIt) {
    ProcessRunner runner;
    runner.Start(ChildLine("out:first spawn sleep:300 crlf:last"));
    char buffer[1024];
    const long n = runner.ReadOutput(buffer, sizeof buffer);
    ASSERT_GT(n, 0);
    EXPECT_EQ(std::string(buffer, static_cast<size_t>(n)), "first\n");
    // The child has gone; its grandchild still holds the pipe.
    EXPECT_EQ(ExitCodeWithin(runner, std::chrono::seconds(10)), 0u);
    EXPECT_EQ(ReadToEnd(runner), "last\r\n");
}

TEST(ProcessRunnerTest, CommandLineMustFitTheBufferCountedInCharacters) {
    const std::string prefix = ChildLine("out:");
    const std::string e = "\xC3\xA9";  // one character, two bytes
    struct Case {
        std::string padding;
        bool starts;
    };
    const Case cases[] = {
        {std::string(1023 - prefix.size(), 'a'), true},
        {std::string(1024 - prefix.size(), 'a'), false},
        // 1023 characters in about 2000 bytes still fit.
        {[&] {
             std::string s;
             for (size_t i = prefix.size(); i < 1023; ++i)
                 s += e;
             return s;
         }(),
         true},
        {[&] {
             std::string s;
             for (size_t i = prefix.size(); i < 1024; ++i)
                 s += e;
             return s;
         }(),
         false},
    };
    for (const Case& c : cases) {
        ProcessRunner runner;
        if (c.starts) {
            runner.Start(prefix + c.padding);
            EXPECT_EQ(ReadToEnd(runner), c.padding + "\n");
            EXPECT_EQ(runner.Wait(), 0u);
        } else {
            EXPECT_THROW(runner.Start(prefix + c.padding), Utils::Exception);
            EXPECT_EQ(runner.ProcessId(), 0);
        }
    }
}

TEST(ProcessRunnerTest, ProgramThatCannotBeStartedThrows) {
    for (const std::string line :
         {"\"/nonexistent/quorvex\" /S", "quorvex-no-such-program /S", "/tmp", "", "\"\" /S"}) {
        ProcessRunner runner;
        EXPECT_THROW(runner.Start(line), Utils::Exception) << line;
        EXPECT_EQ(runner.ProcessId(), 0) << line;
    }
}

TEST(ProcessRunnerTest, UnquotedProgramPathWithBlanksStartsAndGetsItsArguments) {
    const fs::path folder = fs::path(testing::TempDir()) / "quorvex dir with blanks";
    fs::create_directories(folder);
    const fs::path program = folder / "un asa";
    fs::copy_file(kChild, program, fs::copy_options::overwrite_existing);
    fs::permissions(program, fs::perms::owner_all);

    ProcessRunner runner;
    runner.Start(program.string() + " args -x=\"a b\" _?=/old dir");
    EXPECT_EQ(ReadToEnd(runner),
              "argv[0]=" + program.string() +
                  "\nargv[1]=args\nargv[2]=-x=a b\nargv[3]=_?=/old\nargv[4]=dir\n");
    EXPECT_EQ(runner.Wait(), 0u);
    fs::remove_all(folder);
}

TEST(ProcessRunnerTest, ChildInheritsEnvironmentAndCurrentFolder) {
    ::setenv("QUORVEX_PROBE", "probe value", 1);
    ProcessRunner runner;
    runner.Start(ChildLine("env:QUORVEX_PROBE cwd"));
    EXPECT_EQ(ReadToEnd(runner),
              "QUORVEX_PROBE=probe value\n" + fs::current_path().string() + "\n");
    ::unsetenv("QUORVEX_PROBE");
}

TEST(ProcessRunnerTest, DestructionClosesEveryHandleAndReapsTheChild) {
    const size_t before = OpenDescriptors();
    int pid = 0;
    {
        ProcessRunner runner;
        runner.Start(ChildLine("sleep:100"));
        pid = runner.ProcessId();
        ASSERT_GT(pid, 0);
    }
    EXPECT_EQ(::waitpid(pid, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
    EXPECT_EQ(OpenDescriptors(), before);
}

}  // namespace
