// The shipped skin, read from the archive linked into the program, laid out by the
// framework: window sizes, the places of the controls the windows bind, start states and
// the pictures the windows draw.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ui/controls/skin_frame.h"
#include "uiframework/cairo/image_cache.h"
#include "uiframework/headless/headless_host.h"
#include "uiframework/headless/headless_window.h"
#include "uiframework/headless/recording_canvas.h"
#include "uiframework/loading/skin_resources.h"
#include "uiframework/option.h"
#include "uiframework/paint_manager.h"
#include "uiframework/tab_layout.h"

namespace uiframework {
namespace {

class SkinWindow : public CSkinFrame {
  public:
    SkinWindow(UiContext& context, const std::string& layout)
        : CSkinFrame(context, layout, WindowClassNameFor(layout)) {}
};

class ShippedSkinLayoutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        skin_ = SkinArchiveResources::OpenEmbedded(&error);
        ASSERT_TRUE(skin_) << error;
        context_ = std::make_unique<UiContext>(host_, *skin_);
    }

    std::unique_ptr<SkinWindow> Open(const std::string& layout) {
        auto window = std::make_unique<SkinWindow>(*context_, layout);
        EXPECT_EQ(window->Create(nullptr, "test"), CreateStatus::kCreated) << window->LoadError();
        window->Manager().EnsureLayout();
        return window;
    }

    HeadlessHost host_;
    std::optional<SkinArchiveResources> skin_;
    std::unique_ptr<UiContext> context_;
};

struct Placement {
    const char* name;
    Rect rect;  // x, y, width, height as Rect::FromSize takes them
};

void ExpectPlacements(SkinWindow& window, const std::vector<Placement>& placements) {
    for (const Placement& p : placements) {
        Control* control = window.Manager().FindControl(p.name);
        ASSERT_NE(control, nullptr) << p.name;
        EXPECT_EQ(control->GetPos(), p.rect) << p.name;
    }
}

Rect At(int x, int y, int w, int h) {
    return Rect::FromSize(x, y, w, h);
}

TEST_F(ShippedSkinLayoutTest, MainWindowPlacesItsControlsOnEveryPage) {
    auto window = Open("MainWnd.xml");
    EXPECT_EQ(window->Manager().GetWindowAttributes().size, (Size{600, 400}));
    ExpectPlacements(*window, {
                                  // title band: 10 + 200 tab, fill, 10 + 72 buttons column + 14
                                  {"titleTabLt", At(10, 0, 200, 45)},
                                  {"backBtn", At(10, 11, 64, 30)},
                                  {"titleGrpCtn", At(514, 12, 72, 24)},
                                  {"minbtn", At(514, 12, 24, 24)},
                                  {"closebtn", At(562, 12, 24, 24)},
                                  // client: 1-pixel gaps either side of the pages
                                  {"mainTabLt", At(1, 45, 598, 355)},
                                  // page 0: gaps 59 + 58 logo + 50, the button centred
                                  {"defaultInstallBtn", At(200, 212, 200, 46)},
                                  {"customeBtn", At(489, 362, 100, 20)},
                                  // page 1
                                  {"installDirEdit", At(129, 176, 340, 36)},
                                  {"chDirBtn", At(479, 176, 81, 36)},
                                  {"createDSCb", At(125, 232, 138, 18)},
                                  {"createQSCb", At(283, 232, 138, 18)},
                                  {"customeInstallBtn", At(200, 299, 200, 46)},
                                  // page 2
                                  {"progressAnLb", At(220, 98, 160, 160)},
                                  {"progressLb", At(120, 300, 360, 24)},
                                  {"installPrg", At(40, 344, 520, 8)},
                                  // page 3
                                  {"openProduceBtn", At(200, 294, 200, 46)},
                              });
}

TEST_F(ShippedSkinLayoutTest, MainWindowStartStates) {
    auto window = Open("MainWnd.xml");
    PaintManager& manager = window->Manager();

    EXPECT_FALSE(manager.FindControl("tipLbl")->IsVisible());
    auto* treatyCb = manager.FindControlAs<Option>("treatyCb");
    auto* treatyBtn = manager.FindControlAs<Option>("treatyBtn");
    ASSERT_NE(treatyCb, nullptr);
    ASSERT_NE(treatyBtn, nullptr);
    // Agreed from the start although nobody can see the boxes.
    EXPECT_TRUE(treatyCb->IsSelected());
    EXPECT_TRUE(treatyBtn->IsSelected());
    EXPECT_FALSE(treatyCb->GetParent()->IsVisible());
    EXPECT_TRUE(manager.FindControlAs<Option>("createDSCb")->IsSelected());
    EXPECT_TRUE(manager.FindControlAs<Option>("createQSCb")->IsSelected());

    EXPECT_EQ(manager.FindControlAs<TabLayout>("mainTabLt")->GetCurSel(), 0);
    EXPECT_EQ(manager.FindControlAs<TabLayout>("titleTabLt")->GetCurSel(), 0);
    EXPECT_EQ(manager.FindControl("progressAnLb")->GetClass(), "SequenceLabel");
    for (const char* absent :
         {"installLogo", "languageCombo", "serviceCb", "softNameLbl", "finishedLbl"}) {
        EXPECT_EQ(manager.FindControl(absent), nullptr) << absent;
    }
}

TEST_F(ShippedSkinLayoutTest, DialogsHaveTheirSizesAndButtons) {
    struct Case {
        const char* layout;
        Size size;
        std::vector<Placement> placements;
        bool shadow = true;
    };
    const std::vector<Case> cases = {
        {"MessageBox1Wnd.xml",
         {360, 180},
         {{"closebtn", At(328, 3, 24, 24)}, {"textLbl", At(1, 30, 358, 150)}}},
        {"MessageBox2Wnd.xml",
         {360, 180},
         {{"captionLbl", At(10, 0, 157, 30)},
          {"closebtn", At(324, 3, 24, 24)},
          {"textLbl", At(1, 31, 358, 148)}}},
        {"ExitTipWnd.xml",
         {360, 180},
         {{"closebtn", At(324, 8, 24, 24)},
          {"okBtn", At(168, 129, 76, 32)},
          {"cancelBtn", At(264, 129, 76, 32)}}},
        {"InstalledPathTipWnd.xml",
         {400, 180},
         {{"closebtn", At(364, 3, 24, 24)},
          {"cancelBtn", At(170, 127, 100, 32)},
          {"okBtn", At(285, 127, 110, 32)}},
         false},  // its shadow attributes come without showshadow
        {"NetworkTipWnd.xml",
         {360, 180},
         {{"closebtn", At(324, 3, 24, 24)},
          {"cancelBtn", At(183, 130, 76, 32)},
          {"okBtn", At(269, 130, 76, 32)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layout);
        auto window = Open(c.layout);
        EXPECT_EQ(window->Manager().GetWindowAttributes().size, c.size);
        ExpectPlacements(*window, c.placements);
        EXPECT_EQ(window->Shadow() != nullptr, c.shadow);
    }
}

// Every picture a window draws, on every page and in every button state, decodes; only
// the disabled-state pictures the layouts name are absent from the skin.
TEST_F(ShippedSkinLayoutTest, PicturesTheWindowsDrawAllDecode) {
    CairoImageCache images(*skin_);
    std::set<std::string> drawn;
    auto collect = [&](SkinWindow& window) {
        RecordingCanvas canvas;
        static_cast<HeadlessWindow*>(window.GetHostWindow())->Render(canvas);
        for (const DrawOp& op : canvas.Images()) {
            drawn.insert(op.image.file);
        }
    };
    for (const char* layout : {"MessageBox1Wnd.xml", "MessageBox2Wnd.xml", "ExitTipWnd.xml",
                               "InstalledPathTipWnd.xml", "NetworkTipWnd.xml"}) {
        collect(*Open(layout));
    }
    auto main = Open("MainWnd.xml");
    auto& host = *static_cast<HeadlessWindow*>(main->GetHostWindow());
    auto* pages = main->Manager().FindControlAs<TabLayout>("mainTabLt");
    for (int page = 0; page < 4; ++page) {
        pages->SelectItem(page);
        main->Manager().FindControlAs<TabLayout>("titleTabLt")->SelectItem(page == 1 ? 1 : 0);
        for (const char* name : {"backBtn", "minbtn", "closebtn", "defaultInstallBtn", "customeBtn",
                                 "chDirBtn", "customeInstallBtn", "openProduceBtn"}) {
            Point centre = main->Manager().FindControl(name)->GetPos().Center();
            host.MoveMouse(centre);
            collect(*main);
            host.Press(centre);
            collect(*main);
            host.Release(Point{-1, -1});
        }
    }
    host_.Advance(1000);  // the animation's frames
    pages->SelectItem(2);
    for (int frame = 0; frame < 25; ++frame) {
        host_.Advance(30);
        collect(*main);
    }

    EXPECT_GT(drawn.size(), 50u);
    for (const std::string& file : drawn) {
        EXPECT_NE(images.Get(file), nullptr) << file;
    }
}

}  // namespace
}  // namespace uiframework
