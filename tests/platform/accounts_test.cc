#include "platform/accounts.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utmp.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/child_program.h"
#include "platform/posix/console_session.h"

namespace {

namespace fs = std::filesystem;
using platform::detail::LoginSession;

class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "accounts-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~TempFolder() { fs::remove_all(path_); }
    const fs::path& Path() const { return path_; }

  private:
    fs::path path_;
};

TEST(ConsoleUserTest, PicksTheMostConsoleLikeLocalSession) {
    struct Case {
        const char* what;
        std::vector<LoginSession> sessions;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"no sessions", {}, std::nullopt},
        {"remote logins are not the console",
         {{"ruth", "pts/0", "10.0.0.5", 0, 100}, {"sam", "pts/1", "host.example", 0, 200}},
         std::nullopt},
        {"a terminal multiplexer's record is not the console",
         {{"tess", "pts/2", "tmux(811).%0", 0, 100}},
         std::nullopt},
        {"a graphical seat beats a later text console",
         {{"anna", ":0", "", 0, 100}, {"ben", "tty1", "", 0, 200}},
         "anna"},
        {"a terminal on a local display counts as graphical",
         {{"ben", "tty1", "", 0, 200}, {"xena", "pts/3", ":0", 0, 100}},
         "xena"},
        {"a text console beats a local pseudo-terminal",
         {{"cara", "pts/1", "", 0, 300}, {"ben", "tty1", "", 0, 200}},
         "ben"},
        {"the latest login wins among equals",
         {{"ben", "tty1", "", 0, 100}, {"dora", "tty2", "", 0, 200}, {"eve", "tty3", "", 0, 150}},
         "dora"},
        {"a local session beats remote ones",
         {{"ruth", "pts/0", "10.0.0.5", 0, 900}, {"cara", "pts/1", "", 0, 100}},
         "cara"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::detail::PickConsoleUser(c.sessions), c.expected) << c.what;
    }
}

utmp Record(short type, const std::string& user, const std::string& line, pid_t pid,
            int64_t seconds) {
    utmp record{};
    record.ut_type = type;
    record.ut_pid = pid;
    std::strncpy(record.ut_user, user.c_str(), sizeof record.ut_user);
    std::strncpy(record.ut_line, line.c_str(), sizeof record.ut_line);
    record.ut_tv.tv_sec = static_cast<decltype(record.ut_tv.tv_sec)>(seconds);
    return record;
}

pid_t PidOfAnEndedProcess() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(ConsoleUserTest, ReadsLoginRecordsAndSkipsStaleAndNonUserOnes) {
    TempFolder folder;
    const fs::path path = folder.Path() / "utmp";
    const std::string fullWidthName(sizeof(utmp{}.ut_user), 'u');  // fills the field, no zero
    const utmp records[] = {
        Record(LOGIN_PROCESS, "LOGIN", "tty3", ::getpid(), 500),
        Record(DEAD_PROCESS, "gone", ":1", ::getpid(), 500),
        // Graphical and latest, but its session process has ended without clearing it.
        Record(USER_PROCESS, "stale", ":0", PidOfAnEndedProcess(), 400),
        Record(USER_PROCESS, fullWidthName, "tty1", ::getpid(), 100),
    };
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(records), sizeof records);

    const std::vector<LoginSession> sessions = platform::detail::ReadLoginSessions(path);
    ASSERT_EQ(sessions.size(), 2u);
    EXPECT_EQ(sessions[1].user, fullWidthName);
    EXPECT_EQ(sessions[1].line, "tty1");
    EXPECT_EQ(sessions[1].loginSeconds, 100);

    EXPECT_EQ(platform::detail::ConsoleUserFromLoginRecords(path), fullWidthName);
    EXPECT_EQ(platform::detail::ConsoleUserFromLoginRecords(folder.Path() / "missing"),
              std::nullopt);
}

TEST(ConsoleUserTest, ThereIsAlwaysAKnownConsoleUserForALoggedInProcess) {
    std::string name = "unchanged";
    ASSERT_TRUE(platform::ConsoleUserName(name));
    EXPECT_NE(::getpwnam(name.c_str()), nullptr) << name;
}

TEST(AdministratorTest, RootAndOnlyWholeNamesOfRealAccounts) {
    EXPECT_TRUE(platform::UserIsAdministrator("root"));
    EXPECT_FALSE(platform::UserIsAdministrator(""));
    EXPECT_FALSE(platform::UserIsAdministrator(std::string_view("root\0x", 6)));
    EXPECT_FALSE(platform::UserIsAdministrator("no-such-account-q7"));
    EXPECT_EQ(platform::ProcessIsElevated(), ::geteuid() == 0);
}

// The account and group databases are replaced for a child process by nss_wrapper, so the
// lookups run through the real system calls against accounts made for the test.
TEST(AdministratorTest, MembershipOfAnAdministratorGroupInAnyWay) {
    const std::string wrapper = NSS_WRAPPER_PATH;
    if (wrapper.empty()) {
        GTEST_SKIP() << "libnss-wrapper is not installed";
    }
    TempFolder folder;
    const fs::path passwd = folder.Path() / "passwd";
    const fs::path group = folder.Path() / "group";
    std::ofstream(passwd) << "root:x:0:0::/root:/bin/sh\n"
                             "alice:x:1001:1001::/home/alice:/bin/sh\n"
                             "bob:x:1002:10::/home/bob:/bin/sh\n"
                             "carol:x:1003:1003::/home/carol:/bin/sh\n"
                             "dave:x:1004:100::/home/dave:/bin/sh\n"
                             "erin:x:1005:1005::/home/erin:/bin/sh\n"
                             "frank:x:1006:1006::/home/frank:/bin/sh\n";
    std::ofstream(group) << "root:x:0:\n"
                            "wheel:x:10:\n"
                            "sudo:x:27:alice\n"
                            "users:x:100:dave\n"
                            "admin:x:115:carol\n"
                            "sudoers:x:200:erin\n"
                            "adm:x:4:frank\n";
    const std::vector<std::string> environment = {
        "LD_PRELOAD=" + wrapper,
        "NSS_WRAPPER_PASSWD=" + passwd.string(),
        "NSS_WRAPPER_GROUP=" + group.string(),
        // AddressSanitizer builds otherwise refuse a library loaded ahead of their runtime;
        // ThreadSanitizer misreads the wrapper's locking done before it starts.
        "ASAN_OPTIONS=verify_asan_link_order=0",
        "TSAN_OPTIONS=report_bugs=0",
    };
    struct Case {
        const char* user;
        bool administrator;
    };
    const Case cases[] = {
        {"root", true},    // uid 0 needs no group
        {"alice", true},   // supplementary member of sudo
        {"bob", true},     // wheel is his primary group, without a member line
        {"carol", true},   // member of admin
        {"dave", false},   // an ordinary group
        {"erin", false},   // a group whose name only begins like an administrator group
        {"frank", false},  // adm reads logs; it is not an administrator group
        {"nobody-q7", false},
    };
    for (const Case& c : cases) {
        const int exitCode =
            platformtest::RunChild({PLATFORM_PROBE_PATH, "admin", c.user}, environment).exitCode;
        EXPECT_EQ(exitCode, c.administrator ? 0 : 4) << c.user;
    }
}

}  // namespace
