#pragma once

// What the skin subcommands share: the embedded skin, a window built from one of its
// layouts, and a host without a display that measures text as the real one does.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ui/controls/skin_frame.h"
#include "uiframework/cairo/pango_text.h"
#include "uiframework/headless/headless_host.h"
#include "uiframework/loading/skin_resources.h"

namespace diag {

// A window of the skin that hands every notification to `onNotify` before the framework's
// own handling (close and minimise buttons).
class SkinWindow : public CSkinFrame {
  public:
    SkinWindow(uiframework::UiContext& context, std::string layout)
        : CSkinFrame(context, layout, WindowClassNameFor(layout)) {}

    std::function<void(const uiframework::Notification&)> onNotify;

  protected:
    void Notify(const uiframework::Notification& notification) override {
        if (onNotify) {
            onNotify(notification);
        }
        CSkinFrame::Notify(notification);
    }
};

// The headless host with pango's text measurement, so layouts and pictures match the
// window on screen.
class OffscreenHost : public uiframework::HeadlessHost {
  public:
    uiframework::TextMeasurer& Measurer() override { return measurer_; }

  private:
    uiframework::PangoTextMeasurer measurer_;
};

// The embedded skin; reports to standard error and returns nothing when it cannot be read.
std::optional<uiframework::SkinArchiveResources> OpenSkin();

// A window of `layout` created on `context`'s host, or null after reporting why not.
std::unique_ptr<SkinWindow> OpenSkinWindow(uiframework::UiContext& context,
                                           const std::string& layout);

}  // namespace diag
