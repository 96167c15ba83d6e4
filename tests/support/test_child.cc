// quorvex_test_child: a child program for the process tests, whose behaviour its arguments
// choose. Each argument is one action; the actions run in order:
//
//   out:TEXT    writes TEXT and "\n" to standard output
//   crlf:TEXT   writes TEXT and "\r\n" to standard output
//   raw:TEXT    writes TEXT to standard output, without a line break
//   err:N       writes N bytes to standard error (1048576 fills any pipe)
//   stdin       reads standard input to its end, waiting at most 5 s, then writes
//               "stdin=N\n" (N bytes read) or "stdin=timeout\n"
//   args        writes "argv[I]=VALUE\n" for every argument of this program, argv[0] too,
//               and exits with 0 (the arguments after it are data, not actions)
//   env:NAME    writes "NAME=VALUE\n" (VALUE empty when NAME is not set)
//   cwd         writes the current folder and "\n"
//   sleep:MS    sleeps MS milliseconds
//   exit:CODE   exits at once with CODE
//   signal:N    raises signal N
//   spawn       starts this program again with the arguments after "spawn" as its actions
//               (a grandchild that inherits the standard handles) and exits with 0 at once
//
// After the last action the program exits with 0. Example, a grandchild that keeps the
// output open 300 ms after its parent has gone, then prints a last line:
//   quorvex_test_child out:first spawn sleep:300 out:last

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

extern char** environ;

namespace {

void WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0) {
            return;
        }
        text.remove_prefix(static_cast<size_t>(n));
    }
}

void Out(std::string_view text) {
    WriteAll(STDOUT_FILENO, text);
}

std::string ReadStdinToEnd() {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(5);
    size_t total = 0;
    char buffer[4096];
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd fd = {STDIN_FILENO, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&fd, 1, static_cast<int>(left.count())) == 0) {
            return "timeout";
        }
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            return std::to_string(total);
        }
        total += static_cast<size_t>(n);
    }
}

void SpawnSelf(const char* program, char** actions) {
    std::vector<char*> argv{const_cast<char*>(program)};
    for (char** action = actions; *action != nullptr; ++action) {
        argv.push_back(*action);
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, argv.data(), environ) != 0) {
        WriteAll(STDERR_FILENO, "spawn failed\n");
        ::_exit(99);
    }
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view action = argv[i];
        const size_t colon = action.find(':');
        const std::string_view verb = action.substr(0, colon);
        const std::string value(colon == std::string_view::npos ? "" : action.substr(colon + 1));
        if (verb == "out") {
            Out(value + "\n");
        } else if (verb == "crlf") {
            Out(value + "\r\n");
        } else if (verb == "raw") {
            Out(value);
        } else if (verb == "err") {
            WriteAll(STDERR_FILENO, std::string(std::stoul(value), 'e'));
        } else if (verb == "stdin") {
            Out("stdin=" + ReadStdinToEnd() + "\n");
        } else if (verb == "args") {
            for (int a = 0; a < argc; ++a) {
                Out("argv[" + std::to_string(a) + "]=" + argv[a] + "\n");
            }
            return 0;
        } else if (verb == "env") {
            const char* found = ::getenv(value.c_str());
            Out(value + "=" + (found != nullptr ? found : "") + "\n");
        } else if (verb == "cwd") {
            char folder[4096] = {};
            Out(std::string(::getcwd(folder, sizeof folder) != nullptr ? folder : "") + "\n");
        } else if (verb == "sleep") {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::stol(value)));
        } else if (verb == "exit") {
            return std::stoi(value);
        } else if (verb == "signal") {
            ::raise(std::stoi(value));
        } else if (verb == "spawn") {
            SpawnSelf(argv[0], argv + i + 1);
            return 0;
        } else {
            WriteAll(STDERR_FILENO, "unknown action: " + std::string(action) + "\n");
            return 98;
        }
    }
    return 0;
}
