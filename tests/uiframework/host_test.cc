#include <gtest/gtest.h>

#include <thread>

#include "window_fixture.h"

namespace uiframework::testing {
namespace {

class HostTest : public WindowTest {
  protected:
    std::unique_ptr<TestWindow> OpenPlain() {
        return Open(Layout(R"(<VerticalLayout name="root"><Button name="okBtn" height="20"/>
            <Button name="cancelBtn" height="20"/><Control/></VerticalLayout>)"));
    }
};

TEST_F(HostTest, ControlTimersFireAsTheClockAdvances) {
    auto window = OpenPlain();
    window->recordTimers = true;
    std::vector<uint64_t> stamps;
    window->onNotify = [&](const Notification& n) { stamps.push_back(n.timestamp); };
    Control* root = window->Manager().GetRoot();
    root->SetTimer(10, 3000);
    root->SetTimer(11, 5000);

    host_.Advance(5999);
    root->KillTimer(10);
    host_.Advance(9001);
    EXPECT_EQ(window->seen, (std::vector<SeenNotification>{{"timer", "root", 10, 0},
                                                           {"timer", "root", 11, 0},
                                                           {"timer", "root", 11, 0},
                                                           {"timer", "root", 11, 0}}));
    EXPECT_EQ(stamps, (std::vector<uint64_t>{3000, 5000, 10000, 15000}));
}

TEST_F(HostTest, SettingARunningTimerRestartsIt) {
    auto window = OpenPlain();
    window->recordTimers = true;
    Control* root = window->Manager().GetRoot();
    root->SetTimer(1, 100);
    host_.Advance(60);
    root->SetTimer(1, 100);
    host_.Advance(60);
    EXPECT_TRUE(window->seen.empty());
    host_.Advance(40);
    EXPECT_EQ(window->seen.size(), 1u);
    EXPECT_TRUE(window->Manager().HasTimer(root, 1));
}

TEST_F(HostTest, TimerPeriodsAreHeldToWhatATimerServiceTakes) {
    auto window = OpenPlain();
    window->recordTimers = true;
    Control* root = window->Manager().GetRoot();
    root->SetTimer(1, 0);
    root->SetTimer(2, 0xFFFFFFFF);  // the longest period: in effect never
    host_.Advance(10);
    EXPECT_EQ(window->seen, (std::vector<SeenNotification>{{"timer", "root", 1, 0}}));
}

TEST_F(HostTest, TimersStopWithTheirWindow) {
    auto window = OpenPlain();
    window->Manager().GetRoot()->SetTimer(1, 10);
    window->Manager().FindControl("okBtn")->SetTimer(2, 10);
    EXPECT_EQ(host_.RunningTimers(), 2u);
    window.reset();
    EXPECT_EQ(host_.RunningTimers(), 0u);
    host_.Advance(100);
}

TEST_F(HostTest, PostedWorkRunsInPostingOrderWhenPumped) {
    auto window = OpenPlain();
    PaintManager& manager = window->Manager();
    Control* root = manager.GetRoot();
    manager.PostNotify(root, "checknet", 65536);
    window->PostWindowMessage(WindowMessage{2024, 0, 0, nullptr});
    std::thread worker([&] {
        manager.PostNotify(root, "install", 1);
        window->PostWindowMessage(WindowMessage{1224, 0, 0, nullptr});
    });
    worker.join();
    window->Close(5);
    EXPECT_TRUE(window->seen.empty());
    EXPECT_TRUE(window->messages.empty());

    // After each message id, how many notifications had been handled by then.
    window->onMessage = [&](WindowMessage&) {
        window->messages.push_back(static_cast<unsigned>(window->seen.size()));
    };
    host_.Pump();
    EXPECT_EQ(window->seen, (std::vector<SeenNotification>{{"checknet", "root", 65536, 0},
                                                           {"install", "root", 1, 0}}));
    EXPECT_EQ(window->messages, (std::vector<unsigned>{2024, 1, 1224, 2}));
    EXPECT_TRUE(window->IsClosed());
    EXPECT_EQ(window->Host().Result(), 5);
}

TEST_F(HostTest, SentNotificationsAreHandledBeforeSendReturns) {
    auto window = OpenPlain();
    PaintManager& manager = window->Manager();
    window->onNotify = [&](const Notification& n) {
        if (n.type == "checknet") {
            manager.SendNotify(n.sender, "install", n.wParam >> 16 == 0 ? 1 : 0);
        }
    };
    manager.SendNotify(manager.GetRoot(), "checknet", 65535);
    EXPECT_EQ(window->seen, (std::vector<SeenNotification>{{"checknet", "root", 65535, 0},
                                                           {"install", "root", 1, 0}}));
}

struct FlagPayload : MessagePayload {
    explicit FlagPayload(bool& freed) : freed_(freed) {}
    ~FlagPayload() override { freed_ = true; }
    bool& freed_;
};

TEST_F(HostTest, PostedWorkForAWindowThatWentIsDroppedAndFreed) {
    auto window = OpenPlain();
    bool freed = false;
    window->Manager().PostNotify(window->Manager().GetRoot(), "install", 1);
    window->PostWindowMessage(WindowMessage{2024, 0, 0, std::make_unique<FlagPayload>(freed)});
    window->Close();
    window.reset();
    EXPECT_TRUE(freed);
    host_.Pump();  // nothing left to run; must not touch the window
}

TEST_F(HostTest, AModalWindowRunsItsScriptWithItsOwnerDisabled) {
    auto owner = OpenPlain();
    auto box = Open(Layout(R"(<HorizontalLayout><Button name="okBtn" width="50"/>
        <Button name="cancelBtn" width="50"/></HorizontalLayout>)"),
                    owner.get());
    box->onNotify = [&](const Notification& n) {
        if (n.type == kNotifyClick && n.sender->GetName() == "okBtn") {
            box->Close(0);
        }
    };
    bool ownerEnabledDuringModal = true;
    host_.ScriptModal([&](HeadlessWindow& w) {
        ownerEnabledDuringModal = owner->Host().IsEnabled();
        // Work posted to the owner still runs in the modal loop.
        owner->Manager().PostNotify(owner->Manager().GetRoot(), "install", 1);
        owner->Host().ClickControl("okBtn");  // ignored: the owner is disabled
        EXPECT_TRUE(w.ClickControl("okBtn"));
    });

    EXPECT_EQ(box->ShowModal(), 0);
    EXPECT_FALSE(ownerEnabledDuringModal);
    EXPECT_TRUE(owner->Host().IsEnabled());
    EXPECT_EQ(owner->seen, (std::vector<SeenNotification>{{"install", "root", 1, 0}}));
    EXPECT_EQ(host_.ModalLog(), (std::vector<std::string>{"TestWnd"}));
}

TEST_F(HostTest, CloseRequestsCanBeRefused) {
    auto window = OpenPlain();
    bool allow = false;
    std::vector<int> asked;
    window->queryClose = [&](int result) {
        asked.push_back(result);
        return allow;
    };
    window->Host().RequestClose();  // the frame's close box
    window->Close(3);
    host_.Pump();
    EXPECT_FALSE(window->IsClosed());

    allow = true;
    host_.ScriptModal([&](HeadlessWindow& w) { w.RequestClose(); });
    EXPECT_EQ(window->ShowModal(), kCloseResultCancel);
    EXPECT_EQ(asked, (std::vector<int>{kCloseResultCancel, 3, kCloseResultCancel}));
}

TEST_F(HostTest, AModalWindowLeftOpenByItsScriptIsAbandoned) {
    auto window = OpenPlain();
    EXPECT_EQ(window->ShowModal(), kModalAbandoned);  // no script at all
    auto second = OpenPlain();
    host_.ScriptModal([](HeadlessWindow&) {});
    EXPECT_EQ(second->ShowModal(), kModalAbandoned);
    EXPECT_TRUE(host_.OpenWindows().empty());
}

TEST_F(HostTest, TheFolderPickerReturnsWhatTheTestScripted) {
    auto window = OpenPlain();
    host_.ScriptFolderPick("/home/user/Apps");
    host_.ScriptFolderPick(std::nullopt);
    EXPECT_EQ(window->PickFolder("选择一个文件夹"), "/home/user/Apps");
    EXPECT_EQ(window->PickFolder("选择一个文件夹"), std::nullopt);
    EXPECT_EQ(window->PickFolder("选择一个文件夹"), std::nullopt);
}

TEST_F(HostTest, AWindowWhoseLayoutIsMissingOrBrokenOpensNothing) {
    resources_.Add("broken.xml", "<Window><VerticalLayout></Window>");
    TestWindow missing(context_, "nothere.xml");
    TestWindow broken(context_, "Broken.XML");  // found regardless of letter case
    EXPECT_EQ(missing.Create(nullptr, "t"), CreateStatus::kLayoutMissing);
    EXPECT_EQ(broken.Create(nullptr, "t"), CreateStatus::kLayoutInvalid);
    EXPECT_NE(broken.LoadError().find("does not parse"), std::string::npos);
    EXPECT_EQ(missing.ShowModal(), kModalNotShown);
    EXPECT_TRUE(host_.OpenWindows().empty());
}

}  // namespace
}  // namespace uiframework::testing
