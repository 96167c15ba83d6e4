#pragma once

// A host without pixels, for tests: the test drives the loop. Posted tasks run when the
// test pumps, timers fire when the test advances the clock, and modal windows run the
// scripts the test queued for them.

#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "uiframework/headless/headless_text_measurer.h"
#include "uiframework/host.h"

namespace uiframework {

class HeadlessWindow;

// What RunModal returns when its window was still open once nothing was left to run.
inline constexpr int kModalAbandoned = -2;

class HeadlessHost : public UiHost {
  public:
    HeadlessHost() = default;
    ~HeadlessHost() override;
    HeadlessHost(const HeadlessHost&) = delete;
    HeadlessHost& operator=(const HeadlessHost&) = delete;

    // UiHost.
    void Post(std::function<void()> task) override;
    TimerId StartTimer(uint32_t periodMs, std::function<void()> tick) override;
    void StopTimer(TimerId id) override;
    uint64_t TickCountMs() override { return now_.load(); }
    TextMeasurer& Measurer() override { return measurer_; }
    std::unique_ptr<HostWindow> CreateHostWindow(HostWindowClient& client,
                                                 const HostWindowParams& params,
                                                 HostWindow* owner) override;

    // Runs posted tasks, and those they post, until none is left; returns how many ran.
    size_t Pump();
    // Runs the oldest posted task; false when there was none.
    bool RunOnePosted();
    size_t PendingTasks();

    // Moves the clock on by `ms`, firing the timers that fall due in time order (each
    // firing followed by a pump, as a real loop would run posted work between ticks).
    void Advance(uint64_t ms);
    size_t RunningTimers() const { return timers_.size(); }

    // Scripts for modal windows, taken in order, one per RunModal: the script acts on
    // the window (clicks, keys, closes); then the loop pumps until the window is gone.
    void ScriptModal(std::function<void(HeadlessWindow&)> script);
    // Window class names of the modal windows run so far, in order.
    const std::vector<std::string>& ModalLog() const { return modalLog_; }
    // What the next folder pickers return, in order; a picker without one is cancelled.
    void ScriptFolderPick(std::optional<std::string> folder);

    // Windows not yet destroyed, oldest first.
    std::vector<HeadlessWindow*> OpenWindows() const;
    HeadlessWindow* FindOpenWindow(std::string_view className) const;

  private:
    friend class HeadlessWindow;
    struct Timer {
        uint32_t period = 0;
        uint64_t due = 0;
        std::shared_ptr<std::function<void()>> tick;
    };

    std::function<void(HeadlessWindow&)> TakeModalScript();
    std::optional<std::string> TakeFolderPick();
    void Forget(HeadlessWindow* window);

    std::mutex postMutex_;
    std::deque<std::function<void()>> posted_;
    std::atomic<uint64_t> now_{0};
    std::map<TimerId, Timer> timers_;
    TimerId nextTimer_ = 1;
    HeadlessTextMeasurer measurer_;
    std::deque<std::function<void(HeadlessWindow&)>> modalScripts_;
    std::deque<std::optional<std::string>> folderPicks_;
    std::vector<std::string> modalLog_;
    std::vector<HeadlessWindow*> windows_;
};

}  // namespace uiframework
