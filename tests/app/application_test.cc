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
};

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
    const auto normal = testapp::RunChild(QUORVEX_EXE, {"-downloadscale=nan", "-x"}, output);
    EXPECT_EQ(normal.exitStatus, 0) << normal.err;

    app::SingleInstance running;
    ASSERT_TRUE(running.Take());
    const auto second = testapp::RunChild(QUORVEX_EXE, {}, output);
    EXPECT_EQ(second.exitStatus, 255);  // -1
    EXPECT_EQ(second.out, "");
    EXPECT_EQ(second.err, "");

    running.Release();
    EXPECT_EQ(testapp::RunChild(QUORVEX_EXE, {}, output).exitStatus, 0);
}

}  // namespace
