#include <gtest/gtest.h>

#include "uiframework/combo.h"
#include "uiframework/edit.h"
#include "uiframework/option.h"
#include "uiframework/tab_layout.h"
#include "window_fixture.h"

namespace uiframework::testing {
namespace {

class InteractionTest : public WindowTest {
  protected:
    // A 200×100 window: a 40-high caption band holding a label and button "b" (100,0 to
    // 150,40), and below it "check", "off" (disabled) and hidden "ghost" on top of "check".
    std::unique_ptr<TestWindow> OpenButtons() {
        return Open(Layout(R"(<VerticalLayout name="root">
            <HorizontalLayout height="40"><Label name="title" width="100"/>
              <Button name="b" width="50"/></HorizontalLayout>
            <HorizontalLayout height="30"><CheckBox name="check" width="50"/>
              <Button name="off" width="50" enabled="false"/></HorizontalLayout>
            <Control/></VerticalLayout>)",
                           R"(size="200,100" caption="0,0,0,40")"));
    }
};

TEST_F(InteractionTest, APressAndReleaseOverAButtonIsAClick) {
    struct Case {
        const char* what;
        Point press;
        std::vector<Point> moves;  // while held
        Point release;
        bool clicked;
    };
    const Point inside{125, 20};
    const Point outside{125, 60};
    const Case cases[] = {
        {"press and release inside", inside, {}, inside, true},
        {"released outside", inside, {outside}, outside, false},
        {"dragged out and back in", inside, {outside, inside}, inside, true},
        {"pressed outside, released inside", outside, {inside}, inside, false},
        {"pressed on a disabled button", Point{75, 55}, {}, Point{75, 55}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto window = OpenButtons();
        HeadlessWindow& host = window->Host();
        host.MoveMouse(c.press);
        host.Press(c.press);
        for (Point p : c.moves) {
            host.MoveMouse(p);
        }
        host.Release(c.release);
        std::vector<SeenNotification> expected;
        if (c.clicked) {
            expected.push_back({"click", "b", 0, 0});
        }
        EXPECT_EQ(window->seen, expected);
    }
}

TEST_F(InteractionTest, HotAndPushedFollowThePointer) {
    auto window = OpenButtons();
    HeadlessWindow& host = window->Host();
    auto* button = window->Manager().FindControlAs<Button>("b");
    host.MoveMouse({125, 20});
    EXPECT_TRUE(button->IsHot());
    host.Press({125, 20});
    EXPECT_TRUE(button->IsPushed());
    host.MoveMouse({10, 60});
    EXPECT_FALSE(button->IsPushed());
    EXPECT_FALSE(button->IsHot());
    host.Release({10, 60});
    host.MoveMouse({125, 20});
    host.Client().OnMouseLeave();
    EXPECT_FALSE(button->IsHot());
}

TEST_F(InteractionTest, DisablingAPressedButtonCancelsItsClick) {
    auto window = OpenButtons();
    HeadlessWindow& host = window->Host();
    host.Press({125, 20});
    window->Manager().FindControl("b")->SetEnabled(false);
    host.Release({125, 20});
    EXPECT_TRUE(window->seen.empty());
}

TEST_F(InteractionTest, HiddenControlsTakeNoClicks) {
    auto window = Open(Layout(R"(<VerticalLayout name="root">
        <HorizontalLayout visible="false" height="50"><Button name="hidden"/></HorizontalLayout>
        <Button name="shown" height="50"/></VerticalLayout>)"));
    // The hidden row takes no space, so "shown" is at the top now.
    EXPECT_TRUE(window->Host().ClickControl("hidden"));
    EXPECT_EQ(window->seen, (std::vector<SeenNotification>{{"click", "shown", 0, 0}}));
}

TEST_F(InteractionTest, CheckBoxesToggleAndOptionsSelectInTheirGroup) {
    auto window = Open(Layout(R"(<HorizontalLayout>
        <CheckBox name="cb" width="40"/>
        <Option name="o1" group="g" selected="true" width="40"/>
        <Option name="o2" group="g" width="40"/>
        <Option name="loose" width="40"/></HorizontalLayout>)"));
    HeadlessWindow& host = window->Host();
    host.ClickControl("cb");
    host.ClickControl("cb");
    host.ClickControl("o2");
    host.ClickControl("o2");  // already selected: only the click
    EXPECT_EQ(window->seen, (std::vector<SeenNotification>{
                                {"click", "cb", 0, 0},
                                {"selectchanged", "cb", 1, 0},
                                {"click", "cb", 0, 0},
                                {"selectchanged", "cb", 0, 0},
                                {"click", "o2", 0, 0},
                                {"selectchanged", "o1", 0, 0},
                                {"selectchanged", "o2", 1, 0},
                                {"click", "o2", 0, 0},
                            }));
    PaintManager& manager = window->Manager();
    EXPECT_FALSE(manager.FindControlAs<Option>("o1")->IsSelected());
    EXPECT_TRUE(manager.FindControlAs<Option>("o2")->IsSelected());
    EXPECT_FALSE(manager.FindControlAs<Option>("loose")->IsSelected());
}

TEST_F(InteractionTest, SettingTheSameSelectionRaisesNothing) {
    auto window = Open(Layout(R"(<VerticalLayout><CheckBox name="cb" selected="true"/>
        <TabLayout name="tabs"><Control/><Control/><Control/></TabLayout>
        <Combo name="combo"><ListLabelElement text="a"/><ListLabelElement text="b"/></Combo>
        </VerticalLayout>)"));
    PaintManager& manager = window->Manager();
    auto* cb = manager.FindControlAs<CheckBox>("cb");
    auto* tabs = manager.FindControlAs<TabLayout>("tabs");
    auto* combo = manager.FindControlAs<Combo>("combo");

    cb->Selected(true);
    cb->Selected(false, /*notify=*/false);
    cb->SetCheck(true);
    EXPECT_TRUE(tabs->SelectItem(0));
    EXPECT_TRUE(tabs->SelectItem(2));
    EXPECT_TRUE(tabs->SelectItem(2));
    EXPECT_FALSE(tabs->SelectItem(3));
    EXPECT_FALSE(tabs->SelectItem(-1));
    EXPECT_TRUE(combo->SelectItem(0));
    EXPECT_TRUE(combo->SelectItem(0));
    EXPECT_TRUE(combo->SelectItem(1));
    EXPECT_FALSE(combo->SelectItem(2));

    EXPECT_EQ(window->seen, (std::vector<SeenNotification>{
                                {"selectchanged", "cb", 1, 0},
                                {"tabselect", "tabs", 2, 0},
                                {"itemselect", "combo", 0, -1},
                                {"itemselect", "combo", 1, 0},
                            }));
    EXPECT_EQ(tabs->GetCurSel(), 2);
    EXPECT_TRUE(tabs->ChildAt(2)->IsVisible());
    EXPECT_FALSE(tabs->ChildAt(0)->IsVisible());
    EXPECT_EQ(combo->GetCurSel(), 1);
}

TEST_F(InteractionTest, EditTakesTypedTextWithinItsLimits) {
    auto window = Open(Layout(R"(<VerticalLayout><Edit name="e" maxchar="5" text="C:\a"/>
        <Edit name="ro" readonly="true" text="fixed"/></VerticalLayout>)"));
    PaintManager& manager = window->Manager();
    auto* edit = manager.FindControlAs<Edit>("e");
    auto* readOnly = manager.FindControlAs<Edit>("ro");
    edit->OnUserInput("D:\\安装目录\\x");
    readOnly->OnUserInput("changed");
    EXPECT_EQ(edit->GetText(), "D:\\安装");  // five characters, not five bytes
    EXPECT_EQ(readOnly->GetText(), "fixed");
    edit->SetText("set by code, any length");
    EXPECT_EQ(window->seen, (std::vector<SeenNotification>{{"textchanged", "e", 0, 0}}));

    window->Host().ClickControl("e");
    EXPECT_EQ(manager.GetFocus(), edit);
}

TEST_F(InteractionTest, TheCaptionBandDragsExceptOverControlsThatTakeClicks) {
    auto window = OpenButtons();
    PaintManager& manager = window->Manager();
    EXPECT_TRUE(manager.IsCaptionPoint({10, 10}));    // over a label
    EXPECT_FALSE(manager.IsCaptionPoint({125, 10}));  // over the button
    EXPECT_FALSE(manager.IsCaptionPoint({10, 45}));   // below the band
}

TEST_F(InteractionTest, DefaultClicksAndKeysOfTheWindow) {
    auto window = Open(Layout(R"(<HorizontalLayout><Button name="minbtn" width="20"/>
        <Button name="closebtn" width="20"/></HorizontalLayout>)"));
    HeadlessWindow& host = window->Host();
    host.ClickControl("minbtn");
    EXPECT_TRUE(host.IsMinimized());
    host.ClickControl("closebtn");
    EXPECT_FALSE(window->IsClosed());  // the close is posted
    host_.Pump();
    EXPECT_TRUE(window->IsClosed());
    EXPECT_EQ(host.Result(), kCloseResultOk);

    auto second = Open(Layout("<VerticalLayout/>"));
    EXPECT_FALSE(second->Host().PressKey(Key::kReturn));
    EXPECT_TRUE(second->Host().PressKey(Key::kEscape));
    host_.Pump();
    EXPECT_EQ(second->Host().Result(), kCloseResultCancel);
}

}  // namespace
}  // namespace uiframework::testing
