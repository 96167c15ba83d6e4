#include "ui/controls/skin_frame.h"

#include <gtest/gtest.h>

#include "frame_fixture.h"

namespace ui_controls_testing {
namespace {

using uiframework::Insets;
using uiframework::Key;
using uiframework::Point;
using uiframework::ShadowParams;

class SkinFrameTest : public FrameTest {};

ShadowParams With(std::function<void(ShadowParams&)> change) {
    ShadowParams params;
    change(params);
    return params;
}

TEST_F(SkinFrameTest, TheShadowFollowsTheWindowAttributesWithinTheirRanges) {
    struct Case {
        const char* what;
        const char* attributes;
        std::optional<ShadowParams> shadow;
    };
    const Case cases[] = {
        {"no showshadow, no shadow", "shadowsize='6'", std::nullopt},
        {"showshadow is only the word true", "showshadow='yes' shadowsize='6'", std::nullopt},
        {"the main window's shadow",
         "showshadow='true' shadowsize='6' shadowsharpness='10' shadowdarkness='20' "
         "shadowposition='1,1' shadowcolor='#26003B76'",
         With([](ShadowParams& p) {
             p.size = 6;
             p.sharpness = 10;
             p.darkness = 20;
             p.position = Point{1, 1};
             p.color = 0x26003B76;
         })},
        {"values out of range keep the previous ones",
         "showshadow='TRUE' shadowsize='25' shadowsharpness='21' shadowdarkness='256' "
         "shadowposition='21,1'",
         ShadowParams{}},
        {"the range limits are accepted",
         "showshadow='True' shadowsize='-20' shadowsharpness='0' shadowdarkness='255' "
         "shadowposition='-20,20' shadowcolor='FFEDF0F4'",
         With([](ShadowParams& p) {
             p.size = -20;
             p.sharpness = 0;
             p.darkness = 255;
             p.position = Point{-20, 20};
             p.color = 0xFFEDF0F4;
         })},
        {"an image shadow's corner serves as its hole offset",
         "showshadow='true' shadowimage='res\\shadow.png' shadowcorner='1,2,3,4'",
         With([](ShadowParams& p) {
             p.image = "res\\shadow.png";
             p.corner = Insets{1, 2, 3, 4};
             p.holeOffset = Insets{1, 2, 3, 4};
         })},
        {"unless a hole offset is given",
         "showshadow='true' shadowcorner='1,2,3,4' shadowholeoffset='5 6 7 8'",
         With([](ShadowParams& p) {
             p.corner = Insets{1, 2, 3, 4};
             p.holeOffset = Insets{5, 6, 7, 8};
         })},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto frame = Open(std::string("size='100,100' ") + c.attributes, "<VerticalLayout/>");
        EXPECT_EQ(frame->Host().Shadow(), c.shadow);
        EXPECT_EQ(frame->Shadow() != nullptr, c.shadow.has_value());
    }
}

TEST_F(SkinFrameTest, EscapeChangesNothing) {
    auto frame = Open("size='100,100'", "<VerticalLayout/>");
    EXPECT_TRUE(frame->Host().PressKey(Key::kEscape));  // handled: swallowed
    host_.Pump();
    EXPECT_FALSE(frame->IsClosed());
    EXPECT_FALSE(frame->Host().PressKey(Key::kReturn));
}

TEST_F(SkinFrameTest, NamesTheEmbeddedSkin) {
    CSkinFrame frame(context_, "MainWnd.xml", CSkinFrame::WindowClassNameFor("MainWnd.xml"));
    EXPECT_EQ(frame.GetSkinType(), 4);
    EXPECT_EQ(frame.GetResourceId(), 147);
    EXPECT_EQ(frame.GetSkinFolder(), "");
    EXPECT_EQ(frame.GetSkinFile(), "MainWnd.xml");
    EXPECT_EQ(frame.GetWindowClassName(), "MainWnd");
    EXPECT_EQ(CSkinFrame::WindowClassNameFor("a.b.xml"), "a.b");
    EXPECT_EQ(CSkinFrame::WindowClassNameFor("plain"), "plain");
}

TEST_F(SkinFrameTest, LayoutsMayUseTheSequenceControls) {
    auto frame = Open("size='100,100'",
                      "<VerticalLayout><SequenceLabel name='anim'/><Mystery name='m'/>"
                      "</VerticalLayout>");
    ASSERT_NE(frame->Manager().FindControl("anim"), nullptr);
    EXPECT_EQ(frame->Manager().FindControl("anim")->GetClass(), "SequenceLabel");
    EXPECT_EQ(frame->Manager().FindControl("m"), nullptr);
}

}  // namespace
}  // namespace ui_controls_testing
