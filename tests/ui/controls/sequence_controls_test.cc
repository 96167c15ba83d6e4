#include "ui/controls/sequence_controls.h"

#include <gtest/gtest.h>

#include "frame_fixture.h"
#include "uiframework/paint_manager.h"

namespace ui_controls_testing {
namespace {

using uiframework::CSequenceButtonUI;
using uiframework::CSequenceLabelUI;
using uiframework::kSequenceTimerId;

class SequenceControlsTest : public FrameTest {
  protected:
    std::unique_ptr<RecordingFrame> OpenAnimation(const std::string& attributes) {
        return Open("size='200,200'", "<VerticalLayout name='root'><SequenceLabel name='anim' " +
                                          attributes + "/></VerticalLayout>");
    }
    static std::string Frame(const RecordingFrame& frame) {
        return const_cast<RecordingFrame&>(frame).Manager().FindControl("anim")->GetBkImage().file;
    }
};

TEST_F(SequenceControlsTest, TheFactoryBuildsTheSequenceElements) {
    struct Case {
        const char* element;
        const char* className;
    };
    const Case cases[] = {{"SequenceLabel", "SequenceLabel"},
                          {"sequencelabel", "SequenceLabel"},
                          {"SEQUENCEBUTTON", "SequenceButton"},
                          {"SequenceProgress", nullptr},
                          {"Label", nullptr}};
    for (const Case& c : cases) {
        auto control = uiframework::CreateSequenceControl(c.element);
        if (c.className == nullptr) {
            EXPECT_EQ(control, nullptr) << c.element;
        } else {
            ASSERT_NE(control, nullptr) << c.element;
            EXPECT_EQ(control->GetClass(), c.className);
        }
    }
}

TEST_F(SequenceControlsTest, AutostartPlaysTheShippedCycleOf750Milliseconds) {
    auto frame = OpenAnimation(
        R"(sequencebkimage="res\mainWnd\installBtnAnimate\%.3d.png" sequencecount="25"
           sequencespan="30" sequenceround="false" autostart="true" bkimage="still.png")");
    auto* anim = frame->Manager().FindControlAs<CSequenceLabelUI>("anim");
    ASSERT_NE(anim, nullptr);
    EXPECT_TRUE(frame->Manager().HasTimer(anim, kSequenceTimerId));
    EXPECT_EQ(Frame(*frame), "still.png");
    host_.Advance(30);
    EXPECT_EQ(Frame(*frame), "res\\mainWnd\\installBtnAnimate\\000.png");
    host_.Advance(720);
    EXPECT_EQ(Frame(*frame), "res\\mainWnd\\installBtnAnimate\\024.png");
    host_.Advance(30);
    EXPECT_EQ(Frame(*frame), "res\\mainWnd\\installBtnAnimate\\000.png");
    // The control's timer still raises "timer" first, as every control timer does.
    EXPECT_EQ(frame->seen.front(), "timer anim 2100");
    EXPECT_EQ(frame->seen.size(), 26u);
}

TEST_F(SequenceControlsTest, StartAndStopDriveTheTimer) {
    auto frame = OpenAnimation(R"(sequencebkimage="%d.png" sequencecount="10" sequencespan="50")");
    auto* anim = frame->Manager().FindControlAs<CSequenceLabelUI>("anim");
    EXPECT_FALSE(frame->Manager().HasTimer(anim, kSequenceTimerId));  // no autostart
    host_.Advance(500);
    EXPECT_EQ(Frame(*frame), "");

    anim->Start();
    host_.Advance(150);
    EXPECT_EQ(Frame(*frame), "2.png");
    anim->Stop();
    host_.Advance(500);
    EXPECT_EQ(Frame(*frame), "2.png");
    anim->Start();  // from the first frame again
    host_.Advance(50);
    EXPECT_EQ(Frame(*frame), "0.png");
}

TEST_F(SequenceControlsTest, ASequenceWithoutLoopStopsItsTimer) {
    auto frame = OpenAnimation(
        R"(sequencebkimage="%d.png" sequencecount="3" sequencespan="10" sequenceloop="false"
           autostart="true")");
    auto* anim = frame->Manager().FindControlAs<CSequenceLabelUI>("anim");
    host_.Advance(1000);
    EXPECT_EQ(Frame(*frame), "2.png");
    EXPECT_FALSE(frame->Manager().HasTimer(anim, kSequenceTimerId));
    EXPECT_EQ(frame->seen.size(), 4u);  // three frames and the step that stopped
}

TEST_F(SequenceControlsTest, OtherTimersOfTheControlDoNotStepIt) {
    auto frame = OpenAnimation(R"(sequencebkimage="%d.png" sequencecount="3")");
    auto* anim = frame->Manager().FindControlAs<CSequenceLabelUI>("anim");
    anim->SetTimer(7, 10);
    host_.Advance(100);
    EXPECT_EQ(Frame(*frame), "");
}

TEST_F(SequenceControlsTest, TheAnimationStopsWithItsWindow) {
    auto frame = OpenAnimation(R"(sequencebkimage="%d.png" autostart="true")");
    EXPECT_EQ(host_.RunningTimers(), 1u);
    frame.reset();
    EXPECT_EQ(host_.RunningTimers(), 0u);
    host_.Advance(100);
}

TEST_F(SequenceControlsTest, TheButtonVariantAnimatesAndStillClicks) {
    auto frame = Open("size='100,100'",
                      R"(<VerticalLayout><SequenceButton name="anim" sequencebkimage="b%d.png"
                           sequencecount="2" sequencespan="40" autostart="TRUE" text="go"/>
                         </VerticalLayout>)");
    auto* button = frame->Manager().FindControlAs<CSequenceButtonUI>("anim");
    ASSERT_NE(button, nullptr);
    host_.Advance(120);
    EXPECT_EQ(Frame(*frame), "b0.png");
    frame->seen.clear();
    frame->Host().ClickControl("anim");
    EXPECT_EQ(frame->seen, (std::vector<std::string>{"click anim 0"}));
}

}  // namespace
}  // namespace ui_controls_testing
