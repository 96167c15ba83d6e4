#include <gtest/gtest.h>

#include <map>

#include "uiframework/combo.h"
#include "uiframework/layout_builder.h"
#include "uiframework/option.h"
#include "uiframework/tab_layout.h"
#include "window_fixture.h"

namespace uiframework::testing {
namespace {

class LayoutTest : public WindowTest {};

struct LayoutCase {
    const char* what;
    const char* body;  // inside a 200×100 window
    std::map<std::string, Rect> expected;
};

TEST_F(LayoutTest, ContainersPlaceTheirChildren) {
    const LayoutCase cases[] = {
        {"fixed heights, one filler takes the rest",
         R"(<VerticalLayout><Control name="a" height="20"/><Control name="b"/>
            <Control name="c" height="30"/></VerticalLayout>)",
         {{"a", {0, 0, 200, 20}}, {"b", {0, 20, 200, 70}}, {"c", {0, 70, 200, 100}}}},
        {"fillers share equally, the last takes the remainder",
         R"(<HorizontalLayout><Control name="a"/><Control name="b" width="21"/>
            <Control name="c"/><Control name="d"/></HorizontalLayout>)",
         {{"a", {0, 0, 59, 100}},
          {"b", {59, 0, 80, 100}},
          {"c", {80, 0, 139, 100}},
          {"d", {139, 0, 200, 100}}}},
        {"paddings surround a child and count as taken space",
         R"(<HorizontalLayout><Control name="a" width="50" padding="10,5,3,0"/>
            <Control name="b"/></HorizontalLayout>)",
         {{"a", {10, 5, 60, 100}}, {"b", {63, 0, 200, 100}}}},
        {"a fixed cross size starts at the padding",
         R"(<VerticalLayout><Button name="a" width="100" height="46" padding="50,0,0,0"/>
            <Control/></VerticalLayout>)",
         {{"a", {50, 0, 150, 46}}}},
        {"inset and child padding",
         R"(<HorizontalLayout inset="5,6,7,8" childpadding="4"><Control name="a" width="20"/>
            <Control name="b" width="20"/><Control name="c"/></HorizontalLayout>)",
         {{"a", {5, 6, 25, 92}}, {"b", {29, 6, 49, 92}}, {"c", {53, 6, 193, 92}}}},
        {"hidden children take no space",
         R"(<VerticalLayout><Control name="a" height="20" visible="false"/>
            <Control name="b" height="20"/><Control name="c"/></VerticalLayout>)",
         {{"b", {0, 0, 200, 20}}, {"c", {0, 20, 200, 100}}}},
        {"child alignment across the box",
         R"(<VerticalLayout childalign="center"><Control name="a" width="100" height="10"/>
            <HorizontalLayout name="row" height="40" childvalign="bottom">
            <Control name="b" width="10" height="10"/></HorizontalLayout></VerticalLayout>)",
         {{"a", {50, 0, 150, 10}}, {"row", {0, 10, 200, 50}}, {"b", {0, 40, 10, 50}}}},
        {"fixed sizes beyond the box leave fillers nothing",
         R"(<VerticalLayout><Control name="a" height="80"/><Control name="b"/>
            <Control name="c" height="40"/></VerticalLayout>)",
         {{"a", {0, 0, 200, 80}}, {"b", {0, 80, 200, 80}}, {"c", {0, 80, 200, 120}}}},
        {"a filler is held to its minimum and maximum",
         R"(<VerticalLayout><Control name="a" maxheight="10"/><Control name="b" minheight="95"/>
            </VerticalLayout>)",
         {{"a", {0, 0, 200, 10}}, {"b", {0, 10, 200, 105}}}},
        {"a floating child sits at its position in the container",
         R"(<VerticalLayout inset="10,10,0,0"><Control name="a" height="30"/>
            <Control name="f" float="true" pos="5,5,25,15"/></VerticalLayout>)",
         {{"a", {10, 10, 200, 40}}, {"f", {15, 15, 35, 25}}}},
        {"every page of a tab layout is laid out",
         R"(<TabLayout name="tabs"><VerticalLayout><Control name="p0" height="10"/></VerticalLayout>
            <VerticalLayout><Control height="20"/><Control name="p1" height="10"/></VerticalLayout>
            </TabLayout>)",
         {{"tabs", {0, 0, 200, 100}}, {"p0", {0, 0, 200, 10}}, {"p1", {0, 20, 200, 30}}}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto window = Open(Layout(c.body));
        for (const auto& [name, rect] : c.expected) {
            Control* control = window->Manager().FindControl(name);
            ASSERT_NE(control, nullptr) << name;
            EXPECT_EQ(control->GetPos(), rect) << name;
        }
    }
}

TEST_F(LayoutTest, AChangedSizeOrVisibilityLaysTheWindowOutAgain) {
    auto window = Open(Layout(R"(<HorizontalLayout><Label name="a" width="40"/><Control name="b"/>
        </HorizontalLayout>)"));
    PaintManager& manager = window->Manager();
    manager.FindControl("a")->SetFixedWidth(64);
    manager.EnsureLayout();
    EXPECT_EQ(manager.FindControl("b")->GetPos(), (Rect{64, 0, 200, 100}));
    manager.FindControl("a")->SetVisible(false);
    manager.EnsureLayout();
    EXPECT_EQ(manager.FindControl("b")->GetPos(), (Rect{0, 0, 200, 100}));
}

TEST_F(LayoutTest, StartStatesComeFromTheLayout) {
    auto window = Open(Layout(R"(<VerticalLayout>
        <HorizontalLayout name="hidden" visible="false">
          <CheckBox name="agreed" selected="true"/><CheckBox name="other"/>
        </HorizontalLayout>
        <Button name="off" enabled="false"/>
        <TabLayout name="tabs" selectedid="1"><Control name="t0"/><Control name="t1"/></TabLayout>
        <Combo name="combo"><ListLabelElement text="English"/><ListLabelElement text="中文"/></Combo>
        </VerticalLayout>)"));
    PaintManager& manager = window->Manager();
    EXPECT_FALSE(manager.FindControl("hidden")->IsVisible());
    // Selection does not depend on the container being shown.
    EXPECT_TRUE(manager.FindControlAs<CheckBox>("agreed")->IsSelected());
    EXPECT_FALSE(manager.FindControlAs<CheckBox>("other")->IsSelected());
    EXPECT_FALSE(manager.FindControl("off")->IsEnabled());
    auto* tabs = manager.FindControlAs<TabLayout>("tabs");
    EXPECT_EQ(tabs->GetCurSel(), 1);
    EXPECT_FALSE(manager.FindControl("t0")->IsVisible());
    EXPECT_TRUE(manager.FindControl("t1")->IsVisible());
    auto* combo = manager.FindControlAs<Combo>("combo");
    ASSERT_EQ(combo->GetCount(), 2u);
    EXPECT_EQ(combo->GetItemText(1), "中文");
    EXPECT_EQ(combo->GetCurSel(), -1);
    // Start states raise nothing.
    EXPECT_TRUE(window->seen.empty());
}

TEST(LayoutBuilderTest, ReadsTheWindowElementAndFonts) {
    BuiltLayout layout = BuildLayout(
        R"(<Window size="600,400" caption="0,0,0,35" roundcorner="1,0" showshadow="true">
             <Font id="0" name="微软雅黑" size="14" default="true"/>
             <Font id="3" name="微软雅黑" size="12" underline="true"/>
             <VerticalLayout/></Window>)",
        nullptr);
    ASSERT_TRUE(layout.root) << layout.error;
    EXPECT_EQ(layout.window.size, (Size{600, 400}));
    EXPECT_EQ(layout.window.caption, (Rect{0, 0, 0, 35}));
    EXPECT_EQ(layout.window.roundCorner, (Size{1, 0}));
    ASSERT_NE(layout.window.Find("showshadow"), nullptr);
    EXPECT_EQ(*layout.window.Find("showshadow"), "true");
    EXPECT_EQ(layout.fonts.Get(3).size, 12);
    EXPECT_TRUE(layout.fonts.Get(3).underline);
    EXPECT_EQ(layout.fonts.Get(-1).size, 14);  // the default font
    EXPECT_EQ(layout.fonts.Get(42).size, 14);
}

TEST(LayoutBuilderTest, UnusableLayoutsSayWhy) {
    struct Case {
        const char* xml;
        const char* error;
    };
    const Case cases[] = {
        {"<Window size='1,1'><VerticalLayout></Window>", "does not parse"},
        {"", "does not parse"},
        {"<Dialog><VerticalLayout/></Dialog>", "no Window element"},
        {"<Window size='1,1'><Font id='0' size='9'/></Window>", "no control"},
        {"<Window size='1,1'><Unknown/></Window>", "no control"},
    };
    for (const Case& c : cases) {
        BuiltLayout layout = BuildLayout(c.xml, nullptr);
        EXPECT_FALSE(layout.root) << c.xml;
        EXPECT_NE(layout.error.find(c.error), std::string::npos) << c.xml << ": " << layout.error;
    }
}

TEST(LayoutBuilderTest, UnknownElementsAreSkippedWithTheirChildren) {
    int asked = 0;
    ControlFactory factory = [&](std::string_view element) -> std::unique_ptr<Control> {
        ++asked;
        if (element == "Special") {
            auto label = std::make_unique<Label>();
            return label;
        }
        return nullptr;
    };
    BuiltLayout layout = BuildLayout(
        R"(<window size="10,10"><Default name="Button" value="text=&quot;from default&quot; width='7'"/>
           <verticallayout name="root">
             <Mystery name="m"><Button name="inside"/></Mystery>
             <Special name="s" text="custom"/>
             <button name="b" width="9"/>
           </verticallayout></window>)",
        factory);
    ASSERT_TRUE(layout.root) << layout.error;
    ASSERT_EQ(layout.root->ChildCount(), 2u);
    EXPECT_EQ(layout.root->ChildAt(0)->GetName(), "s");
    EXPECT_EQ(layout.root->ChildAt(0)->GetText(), "custom");
    Control* button = layout.root->ChildAt(1);
    EXPECT_EQ(button->GetClass(), "Button");
    EXPECT_EQ(button->GetText(), "from default");
    EXPECT_EQ(button->GetFixedWidth(), 9);  // the element's own attribute wins
    EXPECT_EQ(asked, 2);                    // "Mystery" and "Special"; framework names never
}

}  // namespace
}  // namespace uiframework::testing
