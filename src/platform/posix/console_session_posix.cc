#include "platform/posix/console_session.h"

#include <signal.h>
#include <utmp.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

namespace platform::detail {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// utmp text fields are fixed-size arrays that are not terminated when full.
template <size_t N>
std::string FieldText(const char (&field)[N]) {
    return std::string(field, ::strnlen(field, N));
}

bool StartsWith(const std::string& text, std::string_view prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Higher is more console-like; negative means not a local session at all.
int ConsoleRank(const LoginSession& session) {
    const bool localHost = session.host.empty() || StartsWith(session.host, ":");
    if (!localHost) {
        return -1;
    }
    if (StartsWith(session.line, ":") || StartsWith(session.host, ":")) {
        return 3;
    }
    if (StartsWith(session.line, "tty") || session.line == "console") {
        return 2;
    }
    return 1;
}

bool ProcessHasEnded(pid_t pid) {
    // EPERM means the process exists but belongs to someone else.
    return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH;
}

}  // namespace

// Read directly rather than through getutent(): that walks a process-wide cursor and
// would race with a second caller.
std::vector<LoginSession> ReadLoginSessions(const std::string& path) {
    std::vector<LoginSession> sessions;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rbe"));
    if (!file) {
        return sessions;
    }
    utmp record{};
    while (std::fread(&record, sizeof record, 1, file.get()) == 1) {
        if (record.ut_type != USER_PROCESS || record.ut_user[0] == '\0') {
            continue;
        }
        sessions.push_back(LoginSession{FieldText(record.ut_user), FieldText(record.ut_line),
                                        FieldText(record.ut_host), record.ut_pid,
                                        static_cast<int64_t>(record.ut_tv.tv_sec)});
    }
    return sessions;
}

std::optional<std::string> PickConsoleUser(const std::vector<LoginSession>& sessions) {
    const LoginSession* best = nullptr;
    for (const LoginSession& session : sessions) {
        const int rank = ConsoleRank(session);
        if (rank < 0) {
            continue;
        }
        if (best == nullptr || rank > ConsoleRank(*best) ||
            (rank == ConsoleRank(*best) && session.loginSeconds > best->loginSeconds)) {
            best = &session;
        }
    }
    if (best == nullptr) {
        return std::nullopt;
    }
    return best->user;
}

std::optional<std::string> ConsoleUserFromLoginRecords(const std::string& path) {
    // A session that crashed leaves its record behind; it must not name the console user.
    std::vector<LoginSession> sessions = ReadLoginSessions(path);
    std::erase_if(sessions, [](const LoginSession& s) { return ProcessHasEnded(s.pid); });
    return PickConsoleUser(sessions);
}

}  // namespace platform::detail
