#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::detail {

// One logged-in user's session as the login records (utmp) list it.
struct LoginSession {
    std::string user;
    std::string line;  // "tty1", "pts/0", ":0"
    std::string host;  // empty or ":0" for local logins, an address for remote ones
    pid_t pid = 0;
    int64_t loginSeconds = 0;
};

// The user sessions (USER_PROCESS records) of a login-records file; empty when it cannot be
// read.
std::vector<LoginSession> ReadLoginSessions(const std::string& path);

// The user of the session that stands for "the console": a graphical local seat before a
// text console before another local terminal, the latest login among equals. Remote
// sessions never count. nullopt when no local session is left.
std::optional<std::string> PickConsoleUser(const std::vector<LoginSession>& sessions);

// ReadLoginSessions, less the records whose process has ended without its record being
// cleared, then PickConsoleUser.
std::optional<std::string> ConsoleUserFromLoginRecords(const std::string& path);

}  // namespace platform::detail
