// The GTK host on a private X server: the nested loop of a modal window, posted messages
// from other threads, timers, and the window on screen.

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "uiframework/gtk/gtk_host.h"
#include "uiframework/window_fixture.h"

extern char** environ;

namespace uiframework {
namespace {

// Starts Xvfb on a display number of its own choosing for the whole test program.
class XvfbEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        std::string fd = std::to_string(fds[1]);
        const char* argv[] = {"Xvfb",        "-displayfd", fd.c_str(), "-screen", "0",
                              "1024x768x24", "-nolisten",  "tcp",      nullptr};
        ASSERT_EQ(posix_spawnp(&pid_, "Xvfb", nullptr, nullptr, const_cast<char**>(argv), environ),
                  0);
        close(fds[1]);
        std::string display;
        char c = 0;
        while (read(fds[0], &c, 1) == 1 && c != '\n') {
            display += c;
        }
        close(fds[0]);
        ASSERT_FALSE(display.empty()) << "Xvfb did not start";
        setenv("DISPLAY", (":" + display).c_str(), 1);
    }
    void TearDown() override {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }

  private:
    pid_t pid_ = -1;
};

const auto* const kXvfb = ::testing::AddGlobalTestEnvironment(new XvfbEnvironment);

class GtkHostTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        host_ = GtkUiHost::Create(resources_, &error);
        ASSERT_NE(host_, nullptr) << error;
        context_ = std::make_unique<UiContext>(*host_, resources_);
        resources_.Add("main.xml", Layout(300, 200, "Button name=\"go\" width=\"100\""));
        resources_.Add("dialog.xml", Layout(160, 100, "Button name=\"ok\""));
    }

    static std::string Layout(int w, int h, const std::string& control) {
        return "<Window size=\"" + std::to_string(w) + "," + std::to_string(h) +
               "\" caption=\"0,0,0,20\"><Font id=\"0\" name=\"Sans\" size=\"12\"/>"
               "<HorizontalLayout bkcolor=\"#FFFFFFFF\"><" +
               control + " text=\"x\"/></HorizontalLayout></Window>";
    }

    std::unique_ptr<testing::TestWindow> Open(const std::string& file,
                                              SkinWindowBase* owner = nullptr) {
        auto window = std::make_unique<testing::TestWindow>(*context_, file);
        EXPECT_EQ(window->Create(owner, file), CreateStatus::kCreated);
        return window;
    }

    MemoryResourceSource resources_;
    std::unique_ptr<GtkUiHost> host_;
    std::unique_ptr<UiContext> context_;
};

TEST_F(GtkHostTest, ModalLoopRunsMessagesPostedFromOtherThreadsInOrder) {
    auto owner = Open("main.xml");
    owner->Show();
    auto dialog = Open("dialog.xml", owner.get());
    std::vector<unsigned> handled;
    dialog->onMessage = [&](WindowMessage& message) {
        handled.push_back(message.id);
        if (message.id == 3) {
            dialog->Close(7);
        }
    };
    std::thread poster([&] {
        for (unsigned id = 1; id <= 3; ++id) {
            WindowMessage message;
            message.id = id;
            dialog->PostWindowMessage(std::move(message));
        }
    });
    int result = dialog->ShowModal();
    poster.join();
    EXPECT_EQ(result, 7);
    EXPECT_EQ(handled, (std::vector<unsigned>{1, 2, 3}));
    EXPECT_TRUE(dialog->IsClosed());
    EXPECT_FALSE(owner->IsClosed());
}

TEST_F(GtkHostTest, CloseCanBeRefusedAndTimersTickUntilStopped) {
    auto window = Open("main.xml");
    int ticks = 0;
    TimerId timer = 0;
    timer = host_->StartTimer(10, [&] {
        if (++ticks == 3) {
            host_->StopTimer(timer);
            window->Close(5);  // refused
            host_->Post([&] { window->Close(9); });
        }
    });
    int refusals = 0;
    window->queryClose = [&](int result) {
        refusals += result == 5 ? 1 : 0;
        return result != 5;
    };
    uint64_t start = host_->TickCountMs();
    EXPECT_EQ(window->ShowModal(), 9);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(refusals, 1);
    EXPECT_GE(host_->TickCountMs() - start, 30u);
}

TEST(GtkShellOpen, StartsAnExecutableInItsWorkingFolder) {
    char folderTemplate[] = "/tmp/quorvex-shell-XXXXXX";
    ASSERT_NE(mkdtemp(folderTemplate), nullptr);
    std::string folder = folderTemplate;
    std::string program = folder + "/program.sh";
    ASSERT_TRUE(g_file_set_contents(program.c_str(), "#!/bin/sh\ntouch started\n", -1, nullptr));
    ASSERT_EQ(chmod(program.c_str(), 0755), 0);

    ASSERT_TRUE(GtkUiHost::ShellOpen(program, folder));
    std::string marker = folder + "/started";
    for (int i = 0; i < 100 && !g_file_test(marker.c_str(), G_FILE_TEST_EXISTS); ++i) {
        g_usleep(50 * 1000);
    }
    EXPECT_TRUE(g_file_test(marker.c_str(), G_FILE_TEST_EXISTS));
    remove(marker.c_str());
    remove(program.c_str());
    rmdir(folder.c_str());
}

}  // namespace
}  // namespace uiframework
