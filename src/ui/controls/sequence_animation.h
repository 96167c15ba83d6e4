#pragma once

// The frame stepping shared by the image-sequence controls. A pattern with one integer
// conversion names the frames ("res\mainWnd\installBtnAnimate\%.3d.png"); each step of
// the control's timer 2100 names the next frame to show as the control's background.

#include <optional>
#include <string>
#include <string_view>

namespace uiframework {

inline constexpr unsigned kSequenceTimerId = 2100;

class SequenceAnimation {
  public:
    // Takes sequencebkimage (this exact spelling only), and sequencecount, sequencespan,
    // sequenceloop, sequenceround and autostart in any letter case; false for any other
    // name. The switches are false only for the exact text "false".
    bool SetAttribute(std::string_view name, std::string_view value);

    const std::string& Pattern() const { return pattern_; }
    unsigned Count() const { return count_; }
    int Span() const { return span_; }
    bool Loop() const { return loop_; }
    bool Round() const { return round_; }
    bool AutoStart() const { return autoStart_; }
    bool Forward() const { return forward_; }
    unsigned Index() const { return index_; }

    // Back to the first frame; the direction stays.
    void Restart() { index_ = 0; }

    struct Step {
        std::optional<std::string> image;  // the frame to show, when the step shows one
        bool stop = false;                 // the timer is to stop
    };
    Step Next();

  private:
    std::string pattern_;
    unsigned count_ = 0;
    int span_ = 30;
    bool loop_ = true;
    bool round_ = false;
    bool autoStart_ = false;
    bool forward_ = true;
    unsigned index_ = 0;
};

// `pattern` with its integer conversion (flags, width and precision allowed; d, i, u, x,
// X or o) filled with `index`, cut to 259 characters. Nothing when the pattern has another
// kind of conversion or more than one, so that a layout can never pass a pattern that
// reads arguments it was not given.
std::optional<std::string> FormatSequenceName(std::string_view pattern, unsigned index);

}  // namespace uiframework
