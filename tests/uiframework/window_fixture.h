#pragma once

// A skinned window built from an inline layout on the headless host, recording what it is
// told.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "uiframework/headless/headless_host.h"
#include "uiframework/headless/headless_window.h"
#include "uiframework/skin_window_base.h"

namespace uiframework::testing {

struct SeenNotification {
    std::string type;
    std::string sender;  // the sender's name
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    friend bool operator==(const SeenNotification&, const SeenNotification&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const SeenNotification& n) {
    return out << n.type << "(" << n.sender << ", " << n.wParam << ", " << n.lParam << ")";
}

class TestWindow : public SkinWindowBase {
  public:
    TestWindow(UiContext& context, std::string file)
        : SkinWindowBase(context), file_(std::move(file)) {}

    std::string GetSkinFile() const override { return file_; }
    std::string GetWindowClassName() const override { return "TestWnd"; }

    HeadlessWindow& Host() { return *static_cast<HeadlessWindow*>(GetHostWindow()); }

    // Notifications seen, except "timer" ones unless asked for.
    std::vector<SeenNotification> seen;
    bool recordTimers = false;
    std::function<void(const Notification&)> onNotify;
    std::function<bool(int)> queryClose;
    std::vector<unsigned> messages;
    std::function<void(WindowMessage&)> onMessage;

  protected:
    void Notify(const Notification& n) override {
        if (n.type != kNotifyTimer || recordTimers) {
            seen.push_back(
                {n.type, n.sender != nullptr ? n.sender->GetName() : "", n.wParam, n.lParam});
        }
        if (onNotify) {
            onNotify(n);
        }
        SkinWindowBase::Notify(n);
    }
    void HandleWindowMessage(WindowMessage& message) override {
        messages.push_back(message.id);
        if (onMessage) {
            onMessage(message);
        }
    }
    bool QueryClose(int result) override { return !queryClose || queryClose(result); }

  private:
    std::string file_;
};

class WindowTest : public ::testing::Test {
  protected:
    // Builds a window from `xml` (a whole layout document).
    std::unique_ptr<TestWindow> Open(const std::string& xml, SkinWindowBase* owner = nullptr) {
        std::string file = "layout" + std::to_string(++layouts_) + ".xml";
        resources_.Add(file, xml);
        auto window = std::make_unique<TestWindow>(context_, file);
        EXPECT_EQ(window->Create(owner, "test"), CreateStatus::kCreated) << window->LoadError();
        return window;
    }

    // A layout document of the given size around `body`.
    static std::string Layout(const std::string& body,
                              const std::string& window = "size=\"200,100\"") {
        return "<?xml version=\"1.0\" encoding=\"utf-8\"?><Window " + window +
               "><Font id=\"0\" name=\"Sans\" size=\"10\" default=\"true\"/>" + body + "</Window>";
    }

    HeadlessHost host_;
    MemoryResourceSource resources_;
    UiContext context_{host_, resources_};

  private:
    int layouts_ = 0;
};

}  // namespace uiframework::testing
