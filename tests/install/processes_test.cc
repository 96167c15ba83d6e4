#include "platform/processes.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "install/install_test_support.h"
#include "install/uninstaller.h"
#include "platform/environment.h"
#include "platform/path_compare.h"

extern char** environ;

namespace {

// A copy of the test child under a name no other test uses, sleeping until it is killed.
class NamedChild {
  public:
    NamedChild(const insttest::Sandbox& sandbox, const std::string& name)
        : path_(sandbox.Path(name)) {
        std::filesystem::copy_file(QUORVEX_TEST_CHILD, path_);
        std::string sleep = "sleep:30000";
        char* argv[] = {path_.data(), sleep.data(), nullptr};
        EXPECT_EQ(posix_spawn(&pid_, path_.c_str(), nullptr, nullptr, argv, environ), 0);
    }
    ~NamedChild() {
        Kill();
        Reap();
    }
    NamedChild(const NamedChild&) = delete;
    NamedChild& operator=(const NamedChild&) = delete;

    int Pid() const { return pid_; }
    const std::string& Path() const { return path_; }
    void Kill() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
        }
    }
    void Reap() {
        if (pid_ > 0) {
            ::waitpid(pid_, nullptr, 0);
            pid_ = 0;
        }
    }

  private:
    std::string path_;
    pid_t pid_ = 0;
};

// The name shows up once the child has exec'd its program file, right after the spawn.
int FindWithin(const std::string& name, int expected) {
    int found = 0;
    for (int i = 0; i < 200 && found != expected; ++i) {
        found = CUnInstaller::FindRunningProcess(name);
        if (found != expected) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    return found;
}

TEST(RunningProcessCheck, FindsTheProgramFileNameExactly) {
    insttest::Sandbox sandbox;
    const std::string name = "Qvx_" + std::to_string(::getpid()) + "_probe.exe";
    NamedChild child(sandbox, name);
    EXPECT_EQ(FindWithin(name, child.Pid()), child.Pid());
    std::string upper = name;
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    EXPECT_EQ(CUnInstaller::FindRunningProcess(upper), 0);
    EXPECT_EQ(CUnInstaller::FindRunningProcess(name.substr(1)), 0);
    EXPECT_EQ(CUnInstaller::FindRunningProcess(""), 0);

    // A program whose file was deleted after the start still runs under its name.
    std::filesystem::remove(child.Path());
    EXPECT_EQ(CUnInstaller::FindRunningProcess(name), child.Pid());

    // Ended but not yet reaped: no longer running.
    child.Kill();
    EXPECT_EQ(FindWithin(name, 0), 0);
    child.Reap();
    EXPECT_EQ(CUnInstaller::FindRunningProcess(name), 0);
}

TEST(PathCompare, SameFolderJudgesTheTextAsFolders) {
    struct Case {
        const char* a;
        const char* b;
        bool same;
    };
    const std::vector<Case> cases = {
        {"/opt/Quorvex", "/opt/Quorvex", true},
        {"/opt/Quorvex/", "/opt/Quorvex", true},
        {"/opt//Quorvex", "/opt/./Quorvex/", true},
        {"/opt/x/../Quorvex", "/opt/Quorvex", true},
        {"/", "/", true},
        {"/opt/Quorvex", "/opt/quorvex", false},  // POSIX names are case-sensitive
        {"/opt/Quorvex", "/opt/Quorvex/Quorvex", false},
        {"/opt/Quorvex", "opt/Quorvex", false},
        {"", "", false},
        {"/opt", "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::SameFolder(c.a, c.b), c.same) << c.a << " | " << c.b;
        EXPECT_EQ(platform::SameFolder(c.b, c.a), c.same) << c.b << " | " << c.a;
    }
    EXPECT_TRUE(platform::SameFileName("quorvex.exe", "quorvex.exe"));
    EXPECT_FALSE(platform::SameFileName("quorvex.exe", "Quorvex.exe"));
}

TEST(Environment, TellsAnEmptyValueFromNone) {
    insttest::ScopedEnv set("QUORVEX_TEST_VALUE", "");
    EXPECT_EQ(platform::EnvironmentVariable("QUORVEX_TEST_VALUE"), std::optional<std::string>(""));
    insttest::ScopedEnv unset("QUORVEX_TEST_VALUE", std::nullopt);
    EXPECT_EQ(platform::EnvironmentVariable("QUORVEX_TEST_VALUE"), std::nullopt);
}

}  // namespace
