#pragma once

// Windows-style command lines turned into argument vectors, so that a child started on
// POSIX receives the arguments a Windows child would read from the same text.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Splits `commandLine` the way CommandLineToArgvW does:
// - the first argument (the program) is either everything up to the next quote after a
//   leading quote, or everything up to the first blank (space or tab); backslashes and
//   quotes have no special meaning in it, and a line that starts with a blank has an empty
//   program;
// - the other arguments are separated by blanks outside quotes; quotes group and are
//   removed; 2n backslashes before a quote give n backslashes and the quote toggles quoting,
//   2n+1 give n backslashes and a literal quote; other backslashes stay as they are;
// - inside quotes, a run of quotes is counted together with the opening one: every third
//   quote is literal, and the run closes the quoted part unless its count is a multiple of
//   three (so "" inside quotes gives one literal quote and closes the quoted part).
// An empty text gives no arguments (Windows would name the running program).
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// The arguments after the program, split by the rules above for the arguments.
std::vector<std::string> SplitArguments(std::string_view arguments);

// As SplitCommandLine, but an unquoted program path that contains blanks is found the way
// Windows process creation finds it: each prefix of the line that ends before a blank, then
// the whole line, is tried in turn (shortest first); the first that contains a '/' and for
// which `isProgram` is true becomes the program and the rest of the line its arguments.
// Without such a prefix the result is SplitCommandLine's.
std::vector<std::string> SplitForProcessCreation(
    std::string_view commandLine, const std::function<bool(const std::string&)>& isProgram);

}  // namespace platform
