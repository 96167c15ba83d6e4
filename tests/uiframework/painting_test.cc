#include <gtest/gtest.h>

#include "uiframework/headless/recording_canvas.h"
#include "uiframework/progress.h"
#include "uiframework/tab_layout.h"
#include "window_fixture.h"

namespace uiframework::testing {
namespace {

class PaintingTest : public WindowTest {
  protected:
    static RecordingCanvas Render(TestWindow& window) {
        RecordingCanvas canvas;
        window.Host().Render(canvas);
        return canvas;
    }
    static std::vector<std::string> ImageFiles(const RecordingCanvas& canvas) {
        std::vector<std::string> files;
        for (const DrawOp& op : canvas.Images()) {
            files.push_back(op.text);
        }
        return files;
    }
};

TEST_F(PaintingTest, AButtonShowsTheImageOfItsState) {
    auto window = Open(Layout(R"(<HorizontalLayout>
        <Button name="b" width="50" normalimage="n.png" hotimage="h.png" pushedimage="p.png"
                disabledimage="d.png"/>
        <Button name="plain" width="50" normalimage="only.png"/><Control/></HorizontalLayout>)"));
    HeadlessWindow& host = window->Host();
    Control* b = window->Manager().FindControl("b");
    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<std::string> images;
    };
    const Step steps[] = {
        {"normal", [] {}, {"n.png", "only.png"}},
        {"hot",
         [&] {
             host.MoveMouse({10, 10});
         },
         {"h.png", "only.png"}},
        {"pushed",
         [&] {
             host.Press({10, 10});
         },
         {"p.png", "only.png"}},
        {"hot over the other, which has no hot image",
         [&] {
             host.Release({10, 10});
             host.MoveMouse({60, 10});
         },
         {"n.png", "only.png"}},
        {"disabled", [&] { b->SetEnabled(false); }, {"d.png", "only.png"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(ImageFiles(Render(*window)), step.images);
    }
}

TEST_F(PaintingTest, ImagesArePlacedByTheirDestinationInTheControl) {
    auto window = Open(Layout(R"(<VerticalLayout bkimage="bg.png"><Control height="10"/>
        <HorizontalLayout height="20"><Control width="30"/>
          <CheckBox name="cb" width="100" normalimage="file='off.png' dest='0,2,15,16'"
                    selectedimage="file='on.png' dest='0,2,15,16' fade='200'"/>
        </HorizontalLayout><Control/></VerticalLayout>)"));
    RecordingCanvas before = Render(*window);
    ASSERT_EQ(before.Images().size(), 2u);
    EXPECT_EQ(before.Images()[0].rect, (Rect{0, 0, 200, 100}));
    EXPECT_EQ(before.Images()[1].text, "off.png");
    EXPECT_EQ(before.Images()[1].rect, (Rect{30, 12, 45, 26}));

    window->Host().ClickControl("cb");
    RecordingCanvas after = Render(*window);
    ASSERT_EQ(after.Images().size(), 2u);
    EXPECT_EQ(after.Images()[1].text, "on.png");
    EXPECT_EQ(after.Images()[1].image.fade, 200);
}

TEST_F(PaintingTest, AProgressBarCoversTheReachedPartOfItsLength) {
    auto window = Open(Layout(R"(<HorizontalLayout><Control width="39"/>
        <Progress name="cut" width="100" height="8" foreimage="file='fore.png' corner='2,2,2,2'"
                  isstretchfore="false"/>
        <Progress name="squeezed" width="50" min="10" max="20" foreimage="fore2.png"/>
        </HorizontalLayout>)"));
    PaintManager& manager = window->Manager();
    auto* cut = manager.FindControlAs<Progress>("cut");
    auto* squeezed = manager.FindControlAs<Progress>("squeezed");

    EXPECT_TRUE(Render(*window).Images().empty());  // nothing reached yet

    cut->SetValue(70);
    squeezed->SetValue(15);
    std::vector<DrawOp> images = Render(*window).Images();
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].rect, (Rect{39, 0, 109, 8}));
    EXPECT_EQ(images[0].image.source, (Rect{0, 0, 70, 8}));  // cut, not squeezed
    EXPECT_EQ(images[0].image.corner, (Insets{2, 2, 2, 2}));
    EXPECT_EQ(images[1].rect, (Rect{139, 0, 164, 100}));
    EXPECT_FALSE(images[1].image.source);

    cut->SetValue(250);  // beyond the range: full
    cut->SetForeImage("other.png");
    images = Render(*window).Images();
    ASSERT_FALSE(images.empty());
    EXPECT_EQ(images[0].text, "other.png");
    EXPECT_EQ(images[0].rect, (Rect{39, 0, 139, 8}));
}

TEST_F(PaintingTest, TextsShowLocalisedTokensInTheirFontAndStateColour) {
    context_.Texts().Set(104, "磁盘空间不足");
    auto sized = Open(
        "<Window size='200,100'><Font id='0' name='A' size='10' default='true'/>"
        "<Font id='1' name='B' size='18'/><VerticalLayout>"
        "<Label name='l' height='20' text='[%{104}] %{9}' font='1' textcolor='#FF112233' "
        "textpadding='26,0,0,0'/>"
        "<Button name='b' height='20' text='go' textcolor='#FF000001' hottextcolor='#FF000002' "
        "disabledtextcolor='#FF000003'/>"
        "<TabLayout><Label text='page0'/><Label text='page1'/></TabLayout>"
        "</VerticalLayout></Window>");
    std::vector<DrawOp> texts = Render(*sized).Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "[磁盘空间不足] %{9}");
    EXPECT_EQ(texts[0].font.name, "B");
    EXPECT_EQ(texts[0].color, 0xFF112233u);
    EXPECT_EQ(texts[0].rect, (Rect{26, 0, 200, 20}));
    EXPECT_EQ(texts[1].text, "go");
    EXPECT_EQ(texts[1].color, 0xFF000001u);
    EXPECT_EQ(texts[2].text, "page0");  // the hidden page draws nothing

    sized->Host().MoveMouse({10, 30});
    EXPECT_EQ(Render(*sized).Texts()[1].color, 0xFF000002u);
    sized->Manager().FindControl("b")->SetEnabled(false);
    EXPECT_EQ(Render(*sized).Texts()[1].color, 0xFF000003u);
}

TEST_F(PaintingTest, ALabelMeasuresTextInItsOwnFont) {
    context_.Texts().Set(3, "abcd");
    auto window = Open(
        "<Window size='200,100'><Font id='0' name='A' size='10' default='true'/>"
        "<Font id='1' name='B' size='20'/><VerticalLayout>"
        "<Label name='small'/><Label name='big' font='1'/></VerticalLayout></Window>");
    PaintManager& manager = window->Manager();
    // The headless measurer: ASCII is half the font size wide, other characters full.
    EXPECT_EQ(manager.FindControlAs<Label>("small")->MeasureTextWidth("Quorvex"), 35);
    EXPECT_EQ(manager.FindControlAs<Label>("big")->MeasureTextWidth("Quorvex"), 70);
    EXPECT_EQ(manager.FindControlAs<Label>("big")->MeasureTextWidth("安装"), 40);
    EXPECT_EQ(manager.FindControlAs<Label>("small")->MeasureTextWidth("%{3}"), 20);
}

TEST_F(PaintingTest, ChangesInvalidateTheControlsRectangle) {
    auto window = Open(Layout(R"(<VerticalLayout><Control height="30"/>
        <Label name="l" height="20"/><Control/></VerticalLayout>)"));
    HeadlessWindow& host = window->Host();
    host.TakeDirty();
    window->Manager().FindControl("l")->SetText("new");
    EXPECT_EQ(host.TakeDirty(), (Rect{0, 30, 200, 50}));
    window->Manager().FindControl("l")->SetText("new");
    EXPECT_TRUE(host.TakeDirty().IsEmpty());  // no change, no repaint
}

}  // namespace
}  // namespace uiframework::testing
