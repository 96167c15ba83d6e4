#include "ui/controls/sequence_animation.h"

#include <gtest/gtest.h>

#include <string>

namespace uiframework {
namespace {

// Steps an animation of frames named by their number, up to `steps` times or until it
// stops; "stop" marks the stop, "-" a step that shows nothing.
std::string Play(SequenceAnimation& animation, int steps) {
    std::string shown;
    for (int i = 0; i < steps; ++i) {
        SequenceAnimation::Step step = animation.Next();
        if (!shown.empty()) {
            shown += ' ';
        }
        if (step.stop) {
            shown += step.image ? *step.image + " stop" : "stop";
            break;
        }
        shown += step.image.value_or("-");
    }
    return shown;
}

SequenceAnimation Make(const char* count, const char* loop, const char* round) {
    SequenceAnimation animation;
    animation.SetAttribute("sequencebkimage", "%d");
    animation.SetAttribute("sequencecount", count);
    if (loop != nullptr) {
        animation.SetAttribute("sequenceloop", loop);
    }
    if (round != nullptr) {
        animation.SetAttribute("sequenceround", round);
    }
    return animation;
}

TEST(SequenceAnimationTest, StepsThroughTheFramesByLoopAndRound) {
    struct Case {
        const char* what;
        const char* count;
        const char* loop;   // null: not given
        const char* round;  // null: not given
        const char* shown;
    };
    const Case cases[] = {
        {"loop: endlessly from the first frame again", "3", nullptr, "false",
         "0 1 2 0 1 2 0 1 2 0"},
        {"neither: once, the last frame stays", "3", "false", "false", "0 1 2 stop"},
        {"back and forth with loop", "3", "true", "true", "0 1 2 1 0 1 2 1 0 1"},
        {"back and forth without loop: stops with frame 1 shown", "3", "false", "true",
         "0 1 2 1 stop"},
        {"no frame count never wraps", "0", nullptr, nullptr, "0 1 2 3 4 5 6 7 8 9"},
        {"no frame count never stops either", "0", "false", "true", "0 1 2 3 4 5 6 7 8 9"},
        {"one frame back and forth shows that frame", "1", "true", "true", "0 0 0 0 0 0 0 0 0 0"},
        {"a count that is no number reads as 0", "x", "false", nullptr, "0 1 2 3 4 5 6 7 8 9"},
    };
    for (const Case& c : cases) {
        SequenceAnimation animation = Make(c.count, c.loop, c.round);
        EXPECT_EQ(Play(animation, 10), c.shown) << c.what;
    }
}

TEST(SequenceAnimationTest, TheShippedAnimationCyclesThroughItsFrames) {
    SequenceAnimation animation;
    animation.SetAttribute("sequencebkimage", "res\\mainWnd\\installBtnAnimate\\%.3d.png");
    animation.SetAttribute("sequencecount", "25");
    animation.SetAttribute("sequencespan", "30");
    animation.SetAttribute("sequenceround", "false");
    std::vector<std::string> names;
    for (int i = 0; i < 26; ++i) {
        names.push_back(animation.Next().image.value_or(""));
    }
    EXPECT_EQ(names[0], "res\\mainWnd\\installBtnAnimate\\000.png");
    EXPECT_EQ(names[24], "res\\mainWnd\\installBtnAnimate\\024.png");
    EXPECT_EQ(names[25], "res\\mainWnd\\installBtnAnimate\\000.png");
    EXPECT_EQ(animation.Span(), 30);
}

TEST(SequenceAnimationTest, RestartBeginsAtTheFirstFrameInTheCurrentDirection) {
    SequenceAnimation forward = Make("5", nullptr, nullptr);
    Play(forward, 3);
    forward.Restart();
    EXPECT_EQ(Play(forward, 2), "0 1");

    SequenceAnimation round = Make("3", "true", "true");
    Play(round, 4);  // 0 1 2 1: going back now
    EXPECT_FALSE(round.Forward());
    round.Restart();
    EXPECT_EQ(Play(round, 3), "0 1 2");
}

TEST(SequenceAnimationTest, ReadsItsAttributes) {
    struct Case {
        const char* name;
        const char* value;
        bool taken;
        bool loop;
        bool autostart;
    };
    const Case cases[] = {
        {"sequenceloop", "false", true, false, false},
        {"sequenceloop", "FALSE", true, true, false},   // only the exact lower-case text is false
        {"SequenceLoop", "false", true, false, false},  // names in any letter case
        {"sequenceloop", "0", true, true, false},
        {"autostart", "true", true, true, true},
        {"AUTOSTART", "yes", true, true, true},
        {"SequenceBkImage", "x.png", false, true, false},  // only this exact spelling
        {"text", "x", false, true, false},
    };
    for (const Case& c : cases) {
        SequenceAnimation animation;
        EXPECT_EQ(animation.SetAttribute(c.name, c.value), c.taken) << c.name << "=" << c.value;
        EXPECT_EQ(animation.Loop(), c.loop) << c.name << "=" << c.value;
        EXPECT_EQ(animation.AutoStart(), c.autostart) << c.name << "=" << c.value;
        EXPECT_TRUE(animation.Pattern().empty());
    }
    SequenceAnimation animation;
    EXPECT_EQ(Play(animation, 3), "- - -");  // no pattern: nothing to show
    EXPECT_EQ(animation.Index(), 0u);
}

TEST(SequenceAnimationTest, PatternsMayOnlyAskForOneInteger) {
    struct Case {
        const char* pattern;
        std::optional<std::string> name;
    };
    const Case cases[] = {
        {"res\\a\\%.3d.png", "res\\a\\007.png"},
        {"%d", "7"},
        {"%04x-%%", "0007-%"},
        {"frame.png", "frame.png"},  // no conversion: the same name every time
        {"%s", std::nullopt},
        {"%d%d", std::nullopt},
        {"%n", std::nullopt},
        {"%*d", std::nullopt},
        {"%ld", std::nullopt},
        {"%1000d", std::nullopt},
        {"abc%", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatSequenceName(c.pattern, 7), c.name) << c.pattern;
    }
    std::string longName(300, 'x');
    EXPECT_EQ(FormatSequenceName(longName + "%d", 1)->size(), 259u);
    std::string wide;
    for (int i = 0; i < 300; ++i) {
        wide += "图";
    }
    EXPECT_EQ(*FormatSequenceName(wide, 1), wide.substr(0, 259 * 3));  // whole characters
}

}  // namespace
}  // namespace uiframework
