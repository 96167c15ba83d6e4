#pragma once

// The seam between the portable framework and a windowing host (headless for tests, a
// toolkit for the program). A host runs one UI thread: everything here is called on it,
// except UiHost::Post and UiHost::TickCountMs.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "uiframework/canvas.h"
#include "uiframework/geometry.h"
#include "uiframework/text_measurer.h"

namespace uiframework {

class PaintManager;

enum class Key { kEscape, kReturn, kTab, kOther };

// What the host draws around a window that has a shadow (see CShadowWnd).
struct ShadowParams {
    int size = 0;
    int sharpness = 5;
    int darkness = 150;
    Point position;
    Color color = 0xFF000000;
    std::string image;  // a picture used instead of a computed shadow
    Insets corner;
    Insets holeOffset;
    friend bool operator==(const ShadowParams&, const ShadowParams&) = default;
};

struct HostWindowParams {
    std::string title;
    std::string className;
    Size size;
    Rect caption;  // edge distances of the band that drags the window
    Size roundCorner;
};

// The framework side of one window, as the host sees it.
class HostWindowClient {
  public:
    virtual ~HostWindowClient() = default;

    virtual PaintManager& Manager() = 0;
    virtual void OnPaint(Canvas& canvas, const Rect& dirty) = 0;
    virtual void OnMouseMove(Point point) = 0;
    virtual void OnMouseDown(Point point) = 0;
    virtual void OnMouseUp(Point point) = 0;
    virtual void OnMouseLeave() = 0;
    // True when the key was handled.
    virtual bool OnKeyDown(Key key) = 0;
    // A close asked for by the user or the system; the window may refuse it.
    virtual void OnCloseRequest() = 0;
    // True when a press at `point` should drag the window.
    virtual bool IsCaptionPoint(Point point) = 0;
};

class HostWindow {
  public:
    virtual ~HostWindow() = default;

    virtual void Show() = 0;
    // Runs a nested loop with the owner disabled until Destroy; returns Destroy's result.
    // Tasks posted meanwhile, to any window, still run.
    virtual int RunModal() = 0;
    // Hides the window for good and ends its modal loop with `result`.
    virtual void Destroy(int result) = 0;
    virtual bool IsDestroyed() const = 0;

    virtual void Invalidate(const Rect& rect) = 0;
    virtual void Minimize() = 0;
    virtual void BringToFront() = 0;
    // Over the owner, or the work area of the screen without one; kept inside the work area.
    virtual void Center() = 0;
    virtual void SetShadow(std::optional<ShadowParams> shadow) = 0;
    // A folder the user picks, or nothing when the dialog is cancelled.
    virtual std::optional<std::string> PickFolder(std::string_view title) = 0;
};

using TimerId = uint64_t;

class UiHost {
  public:
    virtual ~UiHost() = default;

    // Any thread. `task` runs later on the UI thread, after the tasks posted before it.
    virtual void Post(std::function<void()> task) = 0;

    // `tick` runs every `periodMs` until StopTimer. Stopping from inside `tick` is allowed.
    virtual TimerId StartTimer(uint32_t periodMs, std::function<void()> tick) = 0;
    virtual void StopTimer(TimerId id) = 0;

    // Any thread: milliseconds on the host's monotonic clock.
    virtual uint64_t TickCountMs() = 0;

    virtual TextMeasurer& Measurer() = 0;

    // `owner` may be null. The client outlives the returned window.
    virtual std::unique_ptr<HostWindow> CreateHostWindow(HostWindowClient& client,
                                                         const HostWindowParams& params,
                                                         HostWindow* owner) = 0;
};

}  // namespace uiframework
