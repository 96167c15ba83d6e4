#pragma once

// Installer windows (CSkinFrame) built from inline layouts on the headless host.

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui/controls/skin_frame.h"
#include "uiframework/headless/headless_host.h"
#include "uiframework/headless/headless_window.h"

namespace ui_controls_testing {

class RecordingFrame : public CSkinFrame {
  public:
    using CSkinFrame::CSkinFrame;
    uiframework::HeadlessWindow& Host() {
        return *static_cast<uiframework::HeadlessWindow*>(GetHostWindow());
    }
    // "type sender wParam" of every notification.
    std::vector<std::string> seen;

  protected:
    void Notify(const uiframework::Notification& n) override {
        seen.push_back(n.type + " " + (n.sender != nullptr ? n.sender->GetName() : "") + " " +
                       std::to_string(n.wParam));
        CSkinFrame::Notify(n);
    }
};

class FrameTest : public ::testing::Test {
  protected:
    std::unique_ptr<RecordingFrame> Open(const std::string& windowAttributes,
                                         const std::string& body) {
        std::string file = "Frame" + std::to_string(++layouts_) + ".xml";
        resources_.Add(file, "<Window " + windowAttributes +
                                 "><Font id='0' name='Sans' size='10' default='true'/>" + body +
                                 "</Window>");
        auto frame =
            std::make_unique<RecordingFrame>(context_, file, CSkinFrame::WindowClassNameFor(file));
        EXPECT_EQ(frame->Create(nullptr, "Quorvex"), uiframework::CreateStatus::kCreated)
            << frame->LoadError();
        return frame;
    }

    uiframework::HeadlessHost host_;
    uiframework::MemoryResourceSource resources_;
    uiframework::UiContext context_{host_, resources_};

  private:
    int layouts_ = 0;
};

}  // namespace ui_controls_testing
