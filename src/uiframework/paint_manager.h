#pragma once

// The runtime of one window's control tree: layout and painting, name lookup, the hot /
// pushed / click cycle, focus, control-bound timers and notifications. UI thread only,
// except PostNotify and PostTask.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "uiframework/control.h"
#include "uiframework/font.h"
#include "uiframework/notification.h"
#include "uiframework/ui_context.h"
#include "uiframework/unique_task.h"
#include "uiframework/window_attributes.h"

namespace uiframework {

class UiTaskQueue;

// Timer periods are held to what a window timer service takes.
inline constexpr uint32_t kMinTimerPeriodMs = 10;
inline constexpr uint32_t kMaxTimerPeriodMs = 0x7FFFFFFF;

class PaintManager {
  public:
    explicit PaintManager(UiContext& context);
    ~PaintManager();
    PaintManager(const PaintManager&) = delete;
    PaintManager& operator=(const PaintManager&) = delete;

    // Takes a built tree: binds every control, runs their DoInit, and lays it out.
    void Attach(WindowAttributes window, FontTable fonts, std::unique_ptr<Control> root);
    // Where invalidation goes; null while the window has no host window.
    void SetHostWindow(HostWindow* window) { hostWindow_ = window; }
    // Receives every notification (one listener: the window).
    void SetListener(NotifyListener* listener) { listener_ = listener; }

    UiContext& Context() { return context_; }
    TextMeasurer& Measurer() { return context_.Host().Measurer(); }
    const LocalizedTextTable& Texts() const { return context_.Texts(); }
    const WindowAttributes& GetWindowAttributes() const { return window_; }
    const FontTable& Fonts() const { return fonts_; }
    Control* GetRoot() const { return root_.get(); }

    // The first control in tree order with this name, or null.
    Control* FindControl(std::string_view name) const;
    template <typename T>
    T* FindControlAs(std::string_view name) const {
        return dynamic_cast<T*>(FindControl(name));
    }

    // Layout and painting.
    void NeedUpdate();
    void EnsureLayout();
    void Invalidate(const Rect& rect);
    void Paint(Canvas& canvas, const Rect& dirty);

    // Notifications. Sent ones are handled before SendNotify returns; posted ones later,
    // in posting order, unless their sender has left the window by then.
    void SendNotify(Control* sender, std::string_view type, uintptr_t wParam = 0,
                    intptr_t lParam = 0);
    // Any thread; the caller keeps the window (and `sender`) alive until the call returns,
    // as an owner joins its worker threads before it goes.
    void PostNotify(Control* sender, std::string type, uintptr_t wParam = 0, intptr_t lParam = 0);
    // Any thread: `task` runs on the UI thread in the window's posting order; dropped when
    // the window goes first.
    void PostTask(UniqueTask task);

    // Control-bound timers: setting an id that runs restarts it.
    bool SetTimer(Control* control, unsigned id, uint32_t periodMs);
    void KillTimer(Control* control, unsigned id);
    bool HasTimer(const Control* control, unsigned id) const;

    // Input from the host.
    void OnMouseMove(Point point);
    void OnMouseDown(Point point);
    void OnMouseUp(Point point);
    void OnMouseLeave();
    bool IsCaptionPoint(Point point);
    Control* GetHot() const { return hot_; }
    Control* GetPushed() const { return pushed_; }
    Control* GetFocus() const { return focus_; }
    void SetFocus(Control* control);

    // Called by a control that leaves the window: drops its timers, input state and queued
    // notifications.
    void ForgetControl(Control* control);

  private:
    void Deliver(Notification notification);
    void FireTimer(Control* control, unsigned id);
    void KillTimers(Control* control);
    void InitTree(Control* control);

    UiContext& context_;
    WindowAttributes window_;
    FontTable fonts_;
    std::unique_ptr<Control> root_;
    HostWindow* hostWindow_ = nullptr;
    NotifyListener* listener_ = nullptr;
    bool layoutDirty_ = true;

    Control* hot_ = nullptr;
    Control* pushed_ = nullptr;
    Control* focus_ = nullptr;

    using TimerKey = std::pair<const Control*, unsigned>;
    struct TimerKeyLess {
        bool operator()(const TimerKey& a, const TimerKey& b) const {
            if (a.first != b.first) {
                return std::less<const Control*>()(a.first, b.first);
            }
            return a.second < b.second;
        }
    };
    std::map<TimerKey, TimerId, TimerKeyLess> timers_;
    std::shared_ptr<UiTaskQueue> queue_;
};

}  // namespace uiframework
