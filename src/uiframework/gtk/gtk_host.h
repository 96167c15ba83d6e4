#pragma once

// The GTK 3 host: undecorated windows painted with cairo and pango, native entries and
// combos over Edit and Combo controls, timers and posted tasks on the GLib main loop.
// Everything runs on the thread that created the host, except Post.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "uiframework/cairo/image_cache.h"
#include "uiframework/cairo/pango_text.h"
#include "uiframework/host.h"
#include "uiframework/loading/window_loader.h"

namespace uiframework {

class GtkUiHost : public UiHost, public SystemMessageBox {
  public:
    // Opens the display; null with `error` set when there is none. `resources` holds the
    // pictures and outlives the host.
    static std::unique_ptr<GtkUiHost> Create(const ResourceSource& resources,
                                             std::string* error = nullptr);
    ~GtkUiHost() override;
    GtkUiHost(const GtkUiHost&) = delete;
    GtkUiHost& operator=(const GtkUiHost&) = delete;

    // UiHost.
    void Post(std::function<void()> task) override;
    TimerId StartTimer(uint32_t periodMs, std::function<void()> tick) override;
    void StopTimer(TimerId id) override;
    uint64_t TickCountMs() override;
    TextMeasurer& Measurer() override { return measurer_; }
    std::unique_ptr<HostWindow> CreateHostWindow(HostWindowClient& client,
                                                 const HostWindowParams& params,
                                                 HostWindow* owner) override;

    // SystemMessageBox: a native error box, run modally.
    void ShowError(std::string_view caption, std::string_view text) override;

    // The icon of every window opened afterwards, from PNG bytes; the largest square at the
    // picture's left edge when it is not square. False when the bytes do not decode.
    bool SetWindowIcon(std::string_view pngBytes);

    // Opens `target`: an executable file is started detached in `workingFolder`; anything
    // else (a file, a folder, an address) with the desktop's default handler.
    static bool ShellOpen(const std::string& target, const std::string& workingFolder);

    CairoImageCache& Images() { return images_; }

  private:
    explicit GtkUiHost(const ResourceSource& resources);
    static int RunPosted(void* self);
    void RunPostedTasks();

    CairoImageCache images_;
    PangoTextMeasurer measurer_;

    std::mutex postMutex_;
    std::deque<std::function<void()>> posted_;
    unsigned postSource_ = 0;  // the idle source that will run posted_, 0 when none

    struct Timer;
    std::map<TimerId, std::unique_ptr<Timer>> timers_;
    TimerId nextTimer_ = 1;
};

}  // namespace uiframework
