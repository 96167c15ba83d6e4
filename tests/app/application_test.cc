#include "app/application.h"

#include <gtest/gtest.h>

#include "app/scratch.h"

namespace {

using testapp::ScopedEnv;
using testapp::ScratchFolder;

class InstanceLockTest : public testing::Test {
  protected:
    ScratchFolder runtime_;
    ScopedEnv xdg_{"XDG_RUNTIME_DIR", runtime_.Path()};
    // The installer keeps state under the home folder; never the real one.
    ScratchFolder home_;
    ScopedEnv homeEnv_{"HOME", home_.Path()};
    ScopedEnv configHome_{"XDG_CONFIG_HOME", std::nullopt};
    ScopedEnv dataHome_{"XDG_DATA_HOME", std::nullopt};
    ScopedEnv appData_{"APPDATA", std::nullopt};
};

// The tracker would upload to the maker's collection service; these runs are about the lock.
const std::string kNoAnalytics = "-isenableappanalytics=false";

TEST_F(InstanceLockTest, OneHolderAtATime) {
    app::SingleInstance first;
    EXPECT_EQ(first.LockName(), "D1A547DB89C0BC61_Installer_Quorvex");
    ASSERT_TRUE(first.Take());
    EXPECT_TRUE(first.Take());  // taking again keeps the held lock

    app::SingleInstance second;
    EXPECT_FALSE(second.Take());
    EXPECT_FALSE(second.Held());

    first.Release();
    EXPECT_TRUE(second.Take());
}

TEST_F(InstanceLockTest, InstallerExitsAtOnceWhileAnotherInstanceRuns) {
    ScratchFolder output;
    const auto normal = testapp::RunChild(QUORVEX_EXE, {"-downloadscale=nan", "-x", kNoAnalytics}, output);
    EXPECT_EQ(normal.exitStatus, 0) << normal.err;

    app::SingleInstance running;
    ASSERT_TRUE(running.Take());
    const auto second = testapp::RunChild(QUORVEX_EXE, {kNoAnalytics}, output);
    EXPECT_EQ(second.exitStatus, 255);  // -1
    EXPECT_EQ(second.out, "");
    EXPECT_EQ(second.err, "");

    running.Release();
    EXPECT_EQ(testapp::RunChild(QUORVEX_EXE, {kNoAnalytics}, output).exitStatus, 0);
}

}  // namespace
