#include "platform/instance_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/child_program.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr const char* kLockName = "D1A547DB89C0BC61_Installer_QuorvexTest";

int ProbeLock(const std::string& name) {
    return platformtest::RunChild({PLATFORM_PROBE_PATH, "lock", name}).exitCode;
}

// Sets or unsets an environment variable for one test and puts the old value back after.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

class InstanceLockTest : public ::testing::Test {
  protected:
    InstanceLockTest() : runtimeDir_(MakeTempDir()), env_("XDG_RUNTIME_DIR", runtimeDir_.c_str()) {}
    ~InstanceLockTest() override { fs::remove_all(runtimeDir_); }

    static std::string MakeTempDir() {
        std::string pattern = (fs::temp_directory_path() / "lock-test-XXXXXX").string();
        return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }

    const std::string runtimeDir_;
    ScopedEnv env_;
};

TEST_F(InstanceLockTest, AnotherProcessCannotTakeTheLockUntilItIsReleased) {
    auto lock = platform::InstanceLock::TryAcquire(kLockName);
    ASSERT_NE(lock, nullptr);
    EXPECT_TRUE(fs::exists(runtimeDir_ + "/" + kLockName + ".lock"));

    EXPECT_EQ(ProbeLock(kLockName), 3);
    EXPECT_EQ(platform::InstanceLock::TryAcquire(kLockName), nullptr) << "same process, second try";
    EXPECT_EQ(ProbeLock("D1A547DB89C0BC61_OtherProduct"), 0) << "other names are independent";

    lock.reset();
    EXPECT_EQ(ProbeLock(kLockName), 0);
    EXPECT_NE(platform::InstanceLock::TryAcquire(kLockName), nullptr);
}

TEST_F(InstanceLockTest, AChildStartedWhileHoldingDoesNotKeepTheLockAlive) {
    auto lock = platform::InstanceLock::TryAcquire(kLockName);
    ASSERT_NE(lock, nullptr);
    pid_t child = 0;
    char program[] = "/bin/sleep";
    char seconds[] = "30";
    char* argv[] = {program, seconds, nullptr};
    ASSERT_EQ(::posix_spawn(&child, program, nullptr, nullptr, argv, environ), 0);

    lock.reset();
    EXPECT_EQ(ProbeLock(kLockName), 0);

    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
}

TEST_F(InstanceLockTest, ASlashInTheNameStaysInsideTheLockDirectory) {
    auto lock = platform::InstanceLock::TryAcquire("Global/Installer");
    ASSERT_NE(lock, nullptr);
    EXPECT_TRUE(fs::exists(runtimeDir_ + "/Global_Installer.lock"));
}

TEST(InstanceLockFallbackTest, WithoutAUsableRuntimeDirectoryTheLockIsInTmp) {
    const std::string name = "quorvex-lock-test-" + std::to_string(::getpid());
    const std::string tmpLock = "/tmp/" + name + ".lock";
    const char* runtimeDirs[] = {nullptr, "", "relative/run"};
    for (const char* runtimeDir : runtimeDirs) {
        SCOPED_TRACE(runtimeDir == nullptr ? "unset" : runtimeDir);
        ScopedEnv env("XDG_RUNTIME_DIR", runtimeDir);
        auto lock = platform::InstanceLock::TryAcquire(name);
        ASSERT_NE(lock, nullptr);
        EXPECT_TRUE(fs::exists(tmpLock));
        EXPECT_EQ(ProbeLock(name), 3);
        fs::remove(tmpLock);
    }
}

}  // namespace
