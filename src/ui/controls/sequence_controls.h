#pragma once

// Controls that play a numbered series of images as an animation: CSequenceLabelUI
// (element "SequenceLabel") and CSequenceButtonUI (element "SequenceButton"). Each runs
// on its own timer 2100; autostart arms it when the control joins its window, and the
// control's destruction stops it.

#include <memory>
#include <string_view>

#include "ui/controls/sequence_animation.h"
#include "uiframework/button.h"
#include "uiframework/label.h"

namespace uiframework {

template <typename Base>
class SequenceControl : public Base {
  public:
    void SetAttribute(std::string_view name, std::string_view value) override {
        if (!animation_.SetAttribute(name, value)) {
            Base::SetAttribute(name, value);
        }
    }

    void DoInit() override {
        Base::DoInit();
        if (animation_.AutoStart()) {
            this->SetTimer(kSequenceTimerId, SpanMs());
        }
    }

    void DoEvent(const ControlEvent& event) override {
        Base::DoEvent(event);
        // Only the animation's own timer steps it; another timer bound to the control
        // would otherwise change its pace.
        if (event.type == EventType::kTimer && event.wParam == kSequenceTimerId) {
            ShowNextFrame();
        }
    }

    // From the first frame again, in the current direction.
    void Start() {
        animation_.Restart();
        this->SetTimer(kSequenceTimerId, SpanMs());
    }
    void Stop() { this->KillTimer(kSequenceTimerId); }

    const SequenceAnimation& Animation() const { return animation_; }

  private:
    uint32_t SpanMs() const { return static_cast<uint32_t>(std::max(0, animation_.Span())); }

    void ShowNextFrame() {
        SequenceAnimation::Step step = animation_.Next();
        if (step.stop) {
            Stop();
        }
        if (step.image) {
            this->SetBkImage(*step.image);
        }
    }

    SequenceAnimation animation_;
};

class CSequenceLabelUI : public SequenceControl<Label> {
  public:
    std::string_view GetClass() const override { return "SequenceLabel"; }
};

// The pushed-state text inset and the two spare texts of the button variant have no
// attribute and no user in this program, so they are left out.
class CSequenceButtonUI : public SequenceControl<Button> {
  public:
    std::string_view GetClass() const override { return "SequenceButton"; }
};

// The custom-control factory of the installer's windows: "SequenceButton" and
// "SequenceLabel" in any letter case; null for anything else.
std::unique_ptr<Control> CreateSequenceControl(std::string_view elementName);

}  // namespace uiframework
