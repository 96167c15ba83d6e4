#include "platform/child_program.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace platformtest {
namespace {

std::string NameOf(const std::string& entry) {
    return entry.substr(0, entry.find('='));
}

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& extra) {
    std::vector<std::string> merged = extra;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string inherited(*entry);
        bool overridden = false;
        for (const std::string& e : extra) {
            overridden = overridden || NameOf(e) == NameOf(inherited);
        }
        if (!overridden) {
            merged.push_back(inherited);
        }
    }
    return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

ChildResult RunChild(const std::vector<std::string>& argv,
                     const std::vector<std::string>& extraEnvironment) {
    ChildResult result;
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);

    std::vector<std::string> args = argv;
    std::vector<std::string> environment = MergedEnvironment(extraEnvironment);
    std::vector<char*> argPointers = Pointers(args);
    std::vector<char*> envPointers = Pointers(environment);
    pid_t pid = 0;
    const int spawnError = ::posix_spawn(&pid, argPointers[0], &actions, nullptr,
                                         argPointers.data(), envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (spawnError != 0) {
        ::close(pipeFds[0]);
        return result;
    }
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(pipeFds[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        result.output.append(buffer, static_cast<size_t>(got));
    }
    ::close(pipeFds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    }
    return result;
}

}  // namespace platformtest
