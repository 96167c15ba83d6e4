#pragma once

// A window of the headless host. Besides the HostWindow operations it lets a test act as
// the user (pointer, keys, close box) and see what the window asked of the host.

#include <optional>
#include <string_view>

#include "uiframework/canvas.h"
#include "uiframework/host.h"

namespace uiframework {

class HeadlessHost;

class HeadlessWindow : public HostWindow {
  public:
    HeadlessWindow(HeadlessHost& host, HostWindowClient& client, HostWindowParams params,
                   HeadlessWindow* owner);
    ~HeadlessWindow() override;

    // HostWindow.
    void Show() override { shown_ = true; }
    int RunModal() override;
    void Destroy(int result) override;
    bool IsDestroyed() const override { return destroyed_; }
    void Invalidate(const Rect& rect) override;
    void Minimize() override { minimized_ = true; }
    void BringToFront() override { ++frontRequests_; }
    void Center() override { centered_ = true; }
    void SetShadow(std::optional<ShadowParams> shadow) override { shadow_ = std::move(shadow); }
    std::optional<std::string> PickFolder(std::string_view title) override;

    // What the window was asked.
    HostWindowClient& Client() { return client_; }
    const HostWindowParams& Params() const { return params_; }
    bool IsShown() const { return shown_; }
    // False while a modal window it owns runs.
    bool IsEnabled() const { return enabled_; }
    bool IsMinimized() const { return minimized_; }
    bool IsCentered() const { return centered_; }
    int FrontRequests() const { return frontRequests_; }
    const std::optional<ShadowParams>& Shadow() const { return shadow_; }
    int Result() const { return result_; }
    // The union of the rectangles invalidated since the last call.
    Rect TakeDirty();

    // The user's actions; ignored while the window is disabled or destroyed.
    void MoveMouse(Point point);
    void Press(Point point);
    void Release(Point point);
    void Click(Point point);
    // Clicks at the centre of the named control as laid out now; false when there is no
    // control of that name.
    bool ClickControl(std::string_view name);
    bool PressKey(Key key);
    // The close box of the window frame.
    void RequestClose();
    // Paints the whole window on `canvas`.
    void Render(Canvas& canvas);

  private:
    bool AcceptsInput() const { return enabled_ && !destroyed_; }

    HeadlessHost& host_;
    HostWindowClient& client_;
    HostWindowParams params_;
    HeadlessWindow* owner_;
    bool shown_ = false;
    bool enabled_ = true;
    bool destroyed_ = false;
    bool minimized_ = false;
    bool centered_ = false;
    int frontRequests_ = 0;
    int result_ = 0;
    std::optional<ShadowParams> shadow_;
    Rect dirty_;
};

}  // namespace uiframework
