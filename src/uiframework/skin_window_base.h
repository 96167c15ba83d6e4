#pragma once

// The base of every skinned window: loads the window's layout from the skin, builds and
// runs its control tree, opens its host window and routes input, notifications, posted
// messages and close requests to the derived window's hooks. UI thread only, except
// PostWindowMessage.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "uiframework/host.h"
#include "uiframework/notification.h"
#include "uiframework/paint_manager.h"
#include "uiframework/ui_context.h"

namespace uiframework {

// Close results of the framework's own closes.
inline constexpr int kCloseResultOk = 1;      // the close button
inline constexpr int kCloseResultCancel = 2;  // Escape, a system close request
// What ShowModal returns for a window that was never created.
inline constexpr int kModalNotShown = -1;

enum class CreateStatus { kCreated, kLayoutMissing, kLayoutInvalid, kAlreadyCreated };

// Extra data a posted window message owns; freed with the message, handled or not.
struct MessagePayload {
    virtual ~MessagePayload() = default;
};

struct WindowMessage {
    unsigned id = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    std::unique_ptr<MessagePayload> payload;
};

class SkinWindowBase : public HostWindowClient, public NotifyListener {
  public:
    explicit SkinWindowBase(UiContext& context);
    ~SkinWindowBase() override;
    SkinWindowBase(const SkinWindowBase&) = delete;
    SkinWindowBase& operator=(const SkinWindowBase&) = delete;

    // Where the window's skin is: resource kind and identifier of the skin archive, the
    // folder inside it, the layout file and the window class name.
    virtual int GetSkinType() const { return 0; }
    virtual int GetResourceId() const { return 0; }
    virtual std::string GetSkinFolder() const { return {}; }
    virtual std::string GetSkinFile() const = 0;
    virtual std::string GetWindowClassName() const = 0;
    // Builds the window's own controls for element names the framework does not know.
    virtual std::unique_ptr<Control> CreateControl(std::string_view /*elementName*/) {
        return nullptr;
    }

    // Loads the layout, attaches the tree, opens the host window (owned by `owner` when
    // given) and runs InitWindow. On failure nothing is opened and LoadError says why.
    CreateStatus Create(SkinWindowBase* owner, std::string_view title);
    const std::string& LoadError() const { return loadError_; }

    void Show();
    // Runs the window modally; returns the result of the close that ended it.
    int ShowModal();
    // Asks the window to close with `result`. The request is posted: it runs later, after
    // what was posted before, through QueryClose like any other close request.
    void Close(int result = kCloseResultOk);
    bool IsClosed() const;
    // Any thread: HandleWindowMessage gets the message later on the UI thread, in posting
    // order with the window's posted notifications. Dropped if the window goes first.
    void PostWindowMessage(WindowMessage message);

    void Minimize();
    void BringToFront();
    void CenterWindow();
    std::optional<std::string> PickFolder(std::string_view title);

    UiContext& Context() { return context_; }
    PaintManager& Manager() override { return manager_; }
    HostWindow* GetHostWindow() const { return hostWindow_.get(); }

    // HostWindowClient.
    void OnPaint(Canvas& canvas, const Rect& dirty) override;
    void OnMouseMove(Point point) override;
    void OnMouseDown(Point point) override;
    void OnMouseUp(Point point) override;
    void OnMouseLeave() override;
    bool OnKeyDown(Key key) override;
    void OnCloseRequest() override;
    bool IsCaptionPoint(Point point) override;

  protected:
    // The window's set-up, once its controls exist.
    virtual void InitWindow() {}
    // The default handles clicks on "closebtn" (close) and "minbtn" (minimise).
    void Notify(const Notification& notification) override;
    virtual void HandleWindowMessage(WindowMessage& /*message*/) {}
    // True swallows the key before the framework's handling (Escape closes).
    virtual bool FilterKeyDown(Key /*key*/) { return false; }
    // False refuses a close request.
    virtual bool QueryClose(int /*result*/) { return true; }

  private:
    void RequestClose(int result);

    UiContext& context_;
    PaintManager manager_;
    std::unique_ptr<HostWindow> hostWindow_;
    std::string loadError_;
};

}  // namespace uiframework
