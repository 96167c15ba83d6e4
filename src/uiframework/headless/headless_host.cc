#include "uiframework/headless/headless_host.h"

#include <algorithm>

#include "uiframework/headless/headless_window.h"

namespace uiframework {

namespace {

// Far more than any test's own work: a task that keeps posting itself ends the pump.
constexpr size_t kPumpLimit = 100000;

}  // namespace

HeadlessHost::~HeadlessHost() = default;

void HeadlessHost::Post(std::function<void()> task) {
    std::lock_guard<std::mutex> lock(postMutex_);
    posted_.push_back(std::move(task));
}

bool HeadlessHost::RunOnePosted() {
    std::function<void()> task;
    {
        std::lock_guard<std::mutex> lock(postMutex_);
        if (posted_.empty()) {
            return false;
        }
        task = std::move(posted_.front());
        posted_.pop_front();
    }
    task();
    return true;
}

size_t HeadlessHost::Pump() {
    size_t ran = 0;
    while (ran < kPumpLimit && RunOnePosted()) {
        ++ran;
    }
    return ran;
}

size_t HeadlessHost::PendingTasks() {
    std::lock_guard<std::mutex> lock(postMutex_);
    return posted_.size();
}

TimerId HeadlessHost::StartTimer(uint32_t periodMs, std::function<void()> tick) {
    TimerId id = nextTimer_++;
    Timer timer;
    timer.period = std::max<uint32_t>(1, periodMs);
    timer.due = now_.load() + timer.period;
    timer.tick = std::make_shared<std::function<void()>>(std::move(tick));
    timers_.emplace(id, std::move(timer));
    return id;
}

void HeadlessHost::StopTimer(TimerId id) {
    timers_.erase(id);
}

void HeadlessHost::Advance(uint64_t ms) {
    uint64_t target = now_.load() + ms;
    while (true) {
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it) {
            if (it->second.due <= target &&
                (next == timers_.end() || it->second.due < next->second.due)) {
                next = it;
            }
        }
        if (next == timers_.end()) {
            break;
        }
        now_.store(next->second.due);
        next->second.due += next->second.period;
        // The tick may stop or restart its own timer, so it runs from a copy.
        std::shared_ptr<std::function<void()>> tick = next->second.tick;
        (*tick)();
        Pump();
    }
    now_.store(target);
}

std::unique_ptr<HostWindow> HeadlessHost::CreateHostWindow(HostWindowClient& client,
                                                           const HostWindowParams& params,
                                                           HostWindow* owner) {
    auto window = std::make_unique<HeadlessWindow>(*this, client, params,
                                                   dynamic_cast<HeadlessWindow*>(owner));
    windows_.push_back(window.get());
    return window;
}

void HeadlessHost::ScriptModal(std::function<void(HeadlessWindow&)> script) {
    modalScripts_.push_back(std::move(script));
}

void HeadlessHost::ScriptFolderPick(std::optional<std::string> folder) {
    folderPicks_.push_back(std::move(folder));
}

std::vector<HeadlessWindow*> HeadlessHost::OpenWindows() const {
    std::vector<HeadlessWindow*> open;
    for (HeadlessWindow* window : windows_) {
        if (!window->IsDestroyed()) {
            open.push_back(window);
        }
    }
    return open;
}

HeadlessWindow* HeadlessHost::FindOpenWindow(std::string_view className) const {
    for (HeadlessWindow* window : OpenWindows()) {
        if (window->Params().className == className) {
            return window;
        }
    }
    return nullptr;
}

std::function<void(HeadlessWindow&)> HeadlessHost::TakeModalScript() {
    if (modalScripts_.empty()) {
        return nullptr;
    }
    auto script = std::move(modalScripts_.front());
    modalScripts_.pop_front();
    return script;
}

std::optional<std::string> HeadlessHost::TakeFolderPick() {
    if (folderPicks_.empty()) {
        return std::nullopt;
    }
    auto folder = std::move(folderPicks_.front());
    folderPicks_.pop_front();
    return folder;
}

void HeadlessHost::Forget(HeadlessWindow* window) {
    windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
}

}  // namespace uiframework
