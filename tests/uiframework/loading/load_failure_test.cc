// A window whose layout is missing or broken tells the user and ends the process with
// exit code 1; a window that loads does neither.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "uiframework/headless/headless_host.h"
#include "uiframework/loading/window_loader.h"

namespace uiframework {
namespace {

class LayoutWindow : public SkinWindowBase {
  public:
    LayoutWindow(UiContext& context, std::string file)
        : SkinWindowBase(context), file_(std::move(file)) {}
    std::string GetSkinFile() const override { return file_; }
    std::string GetWindowClassName() const override { return "LayoutWnd"; }

  private:
    std::string file_;
};

struct RecordingMessageBox : SystemMessageBox {
    void ShowError(std::string_view caption, std::string_view text) override {
        shown.push_back(std::string(caption) + "|" + std::string(text));
    }
    std::vector<std::string> shown;
};

TEST(LoadFailure, MissingOrBrokenLayoutShowsTheErrorBoxThenExitsWithOne) {
    struct Case {
        const char* file;
        CreateStatus status;
        bool exits;
    };
    const Case cases[] = {
        {"absent.xml", CreateStatus::kLayoutMissing, true},
        {"broken.xml", CreateStatus::kLayoutInvalid, true},
        {"good.xml", CreateStatus::kCreated, false},
    };
    MemoryResourceSource resources;
    resources.Add("broken.xml", "<Window size=\"10,10\"><VerticalLayout>");
    resources.Add("good.xml", "<Window size=\"10,10\"><VerticalLayout/></Window>");
    HeadlessHost host;
    UiContext context(host, resources);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        RecordingMessageBox box;
        std::optional<int> exitCode;
        LayoutWindow window(context, c.file);
        CreateStatus status =
            CreateWindowOrExit(window, nullptr, "t", box, [&](int code) { exitCode = code; });
        EXPECT_EQ(status, c.status);
        if (c.exits) {
            EXPECT_EQ(box.shown, std::vector<std::string>{"Quorvex|加载资源文件失败"});
            EXPECT_EQ(exitCode, 1);
            EXPECT_EQ(window.GetHostWindow(), nullptr);
        } else {
            EXPECT_TRUE(box.shown.empty());
            EXPECT_FALSE(exitCode);
        }
    }
}

}  // namespace
}  // namespace uiframework
