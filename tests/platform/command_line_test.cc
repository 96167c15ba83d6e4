#include "platform/command_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using Args = std::vector<std::string>;

TEST(CommandLineTest, SplitsTheWayWindowsSplitsACommandLine) {
    struct Case {
        std::string line;
        Args expected;
    };
    const Case cases[] = {
        {R"("C:\Program Files\q.exe" /S -console=show)",
         {R"(C:\Program Files\q.exe)", "/S", "-console=show"}},
        {"prog\ta  b   ", {"prog", "a", "b"}},
        {R"(prog "c d" e"f g"h)", {"prog", "c d", "ef gh"}},
        // Backslashes not followed by a quote are plain characters.
        {R"(prog a\\b C:\dir\)", {"prog", R"(a\\b)", R"(C:\dir\)"}},
        // 2n backslashes + quote: n backslashes, and the quote opens quoting.
        {R"(prog a\\"b c")", {"prog", R"(a\b c)"}},
        {R"(prog \\\\"x")", {"prog", R"(\\x)"}},
        // 2n+1 backslashes + quote: n backslashes and a literal quote.
        {R"(prog a\\\"b c)", {"prog", R"(a\"b)", "c"}},
        {R"(prog \"x\")", {"prog", R"("x")"}},
        // A folder ending in a backslash escapes its own closing quote.
        {R"(prog -instdir="C:\Quorvex\" /D=C:\Quorvex\)",
         {"prog", R"(-instdir=C:\Quorvex" /D=C:\Quorvex\)"}},
        // "" inside quotes: one literal quote, and the quoted part ends.
        {R"(prog "a""b c")", {"prog", R"(a"b)", "c"}},
        // Three quotes inside quotes: a literal quote, and quoting goes on.
        {R"(prog "a"""b c")", {"prog", R"(a"b c)"}},
        // Three quotes outside quotes: a literal quote, quoting stays off.
        {R"(prog """a""" b)", {"prog", R"("a")", "b"}},
        {R"(prog "" b)", {"prog", "", "b"}},
        {R"(prog "open end)", {"prog", "open end"}},
        // The program: no escapes, it ends at its closing quote or at the first blank.
        {R"(C:\a\"b c)", {R"(C:\a\"b)", "c"}},
        {R"("C:\dir\"rest x)", {R"(C:\dir\)", "rest", "x"}},
        {R"("open program)", {"open program"}},
        // A leading blank leaves the program empty.
        {" leading", {"", "leading"}},
        {"", {}},
        {"prog \"\xE4\xB8\xAD \xE6\x96\x87\"", {"prog", "\xE4\xB8\xAD \xE6\x96\x87"}},
        {R"("/tmp/pkg" /S -console=show -version=1.0.0 -dsc=true -inslang="zh-CN" )"
         R"(-instdir="/opt/Quorvex 2" /D=/opt/Quorvex 2)",
         {"/tmp/pkg", "/S", "-console=show", "-version=1.0.0", "-dsc=true", "-inslang=zh-CN",
          "-instdir=/opt/Quorvex 2", "/D=/opt/Quorvex", "2"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::SplitCommandLine(c.line), c.expected) << c.line;
    }
}

TEST(CommandLineTest, UnquotedProgramWithBlanksIsFoundByTryingPrefixesShortestFirst) {
    const std::set<std::string> programs = {"/tmp/a b/un.exe", "/tmp/x", "/tmp/x y", "prog"};
    std::vector<std::string> asked;
    auto isProgram = [&](const std::string& path) {
        asked.push_back(path);
        return programs.count(path) != 0;
    };
    struct Case {
        std::string line;
        Args expected;
    };
    const Case cases[] = {
        {"/tmp/a b/un.exe /S -console=show _?=/old dir",
         {"/tmp/a b/un.exe", "/S", "-console=show", "_?=/old", "dir"}},
        {"/tmp/a b/un.exe", {"/tmp/a b/un.exe"}},
        {"/tmp/x y z", {"/tmp/x", "y", "z"}},
        // Nothing matches: the plain split, and starting it will fail.
        {"/tmp/none here /S", {"/tmp/none", "here", "/S"}},
        // A quoted program is never probed.
        {"\"/tmp/a\" b/un.exe", {"/tmp/a", "b/un.exe"}},
        // Only paths are probed; a bare program name is left to the PATH search.
        {"prog b/c", {"prog", "b/c"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::SplitForProcessCreation(c.line, isProgram), c.expected) << c.line;
    }
    EXPECT_EQ(std::count(asked.begin(), asked.end(), "prog"), 0);
    EXPECT_EQ(std::count(asked.begin(), asked.end(), "\"/tmp/a\""), 0);
}

}  // namespace
