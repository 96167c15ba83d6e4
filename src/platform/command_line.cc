#include "platform/command_line.h"

#include <algorithm>

namespace platform {

namespace {

constexpr std::string_view kBlanks = " \t";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Appends the arguments of `text` to `args`.
void AppendArguments(std::string_view text, std::vector<std::string>& args) {
    std::string current;
    bool inArgument = false;
    // 0 outside quotes, 1 inside; 2 only while a run of quotes is being counted.
    int quotes = 0;
    size_t backslashes = 0;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (IsBlank(c) && quotes == 0) {
            if (inArgument) {
                args.push_back(std::move(current));
                current.clear();
                inArgument = false;
            }
            backslashes = 0;
            ++i;
            continue;
        }
        inArgument = true;
        if (c != '"') {
            backslashes = c == '\\' ? backslashes + 1 : 0;
            current.push_back(c);
            ++i;
            continue;
        }
        // The backslashes were copied as they came; before a quote only half of them stay,
        // and an odd one out escapes the quote.
        const bool escaped = backslashes % 2 == 1;
        current.erase(current.size() - (backslashes + 1) / 2);
        backslashes = 0;
        if (escaped) {
            current.push_back('"');
        } else {
            ++quotes;
        }
        for (++i; i < text.size() && text[i] == '"'; ++i) {
            if (++quotes == 3) {
                current.push_back('"');
                quotes = 0;
            }
        }
        if (quotes == 2) {
            quotes = 0;
        }
    }
    if (inArgument) {
        args.push_back(std::move(current));
    }
}

}  // namespace

std::vector<std::string> SplitArguments(std::string_view arguments) {
    std::vector<std::string> args;
    AppendArguments(arguments, args);
    return args;
}

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
    if (commandLine.empty()) {
        return {};
    }
    size_t rest = 0;
    std::string_view program;
    if (commandLine.front() == '"') {
        const size_t close = commandLine.find('"', 1);
        program = commandLine.substr(1, close == std::string_view::npos ? close : close - 1);
        rest = close == std::string_view::npos ? commandLine.size() : close + 1;
    } else {
        rest = std::min(commandLine.find_first_of(kBlanks), commandLine.size());
        program = commandLine.substr(0, rest);
    }
    std::vector<std::string> args{std::string(program)};
    AppendArguments(commandLine.substr(rest), args);
    return args;
}

std::vector<std::string> SplitForProcessCreation(
    std::string_view commandLine, const std::function<bool(const std::string&)>& isProgram) {
    if (commandLine.empty() || commandLine.front() == '"' || IsBlank(commandLine.front())) {
        return SplitCommandLine(commandLine);
    }
    size_t from = 0;
    while (from < commandLine.size()) {
        const size_t end = std::min(commandLine.find_first_of(kBlanks, from), commandLine.size());
        const std::string candidate(commandLine.substr(0, end));
        if (!candidate.empty() && candidate.find('/') != std::string::npos &&
            isProgram(candidate)) {
            std::vector<std::string> args{candidate};
            AppendArguments(commandLine.substr(end), args);
            return args;
        }
        from = std::min(commandLine.find_first_not_of(kBlanks, end), commandLine.size());
    }
    return SplitCommandLine(commandLine);
}

}  // namespace platform
