#include "app/installer_analytics.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

#include "source/src/mx_exception.h"
#include "source/src/tracker_factory.h"

namespace app {
namespace {

using namespace marlix::tracking;

constexpr size_t kMaxReasonChars = 199;

// The process-wide tracker. The crash filter reaches it without any context, so it has to
// live here.
class TrackerSlot {
  public:
    std::shared_ptr<MxTracker> Get() {
        std::lock_guard lock(mutex_);
        return tracker_;
    }
    // The old tracker is destroyed outside the lock: its shut-down uploads.
    void Replace(std::shared_ptr<MxTracker> tracker) {
        std::shared_ptr<MxTracker> old;
        {
            std::lock_guard lock(mutex_);
            old = std::move(tracker_);
            tracker_ = std::move(tracker);
        }
    }

  private:
    std::mutex mutex_;
    std::shared_ptr<MxTracker> tracker_;
};

TrackerSlot& Slot() {
    static TrackerSlot slot;
    return slot;
}

// The tracker when analytics is on and one exists, else null.
std::shared_ptr<MxTracker> ActiveTracker() {
    if (!Config().IsEnableAppAnalytics) {
        return nullptr;
    }
    return Slot().Get();
}

// The first `maxChars` characters of UTF-8 `text`, never splitting a sequence.
std::string CutToChars(const std::string& text, size_t maxChars) {
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool startsChar = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsChar && chars++ == maxChars) {
            return text.substr(0, i);
        }
    }
    return text;
}

// The A/B group for one event type. A malformed group is left out, so the event still goes.
MxContextProperties GroupContext(const AnalyticsProperties& properties, MxEventType type) {
    MxContextProperties context;
    const auto group = properties.find(kAbGroupKey);
    if (group == properties.end()) {
        return context;
    }
    try {
        if (MxContextProperties::isValidABValue(group->second)) {
            context.setProperty(group->second, {static_cast<int32_t>(type)});
        }
    } catch (const MxException&) {
    }
    return context;
}

// Runs `report` on the active tracker; nothing escapes.
template <typename Report>
void WithTracker(Report&& report) {
    try {
        if (std::shared_ptr<MxTracker> tracker = ActiveTracker()) {
            report(*tracker);
        }
    } catch (...) {
        // A report must never break the installer's own work.
    }
}

}  // namespace

TrackerOptions TrackerOptionsFor(const InstallerConfig& config) {
    TrackerOptions options;
    options.appName = config.AppName + config.DlAppNameSuffix;
    options.appVersion = config.AppVersion;
    options.appStore = config.ExeName;
    options.dlAppId = config.AppName;
    options.dlAppVersion = config.DlAppVersion;
    options.edition = static_cast<int32_t>(MxEdition::China);
    return options;
}

void StartTracker(const InstallerConfig& config, const std::string& serverUrl) {
    if (!config.IsEnableAppAnalytics) {
        return;
    }
    try {
        TrackerOptions options = TrackerOptionsFor(config);
        options.serverUrl = serverUrl;
        Slot().Replace(CreateTracker(options));
    } catch (...) {
        // Out of memory at start-up: the installer runs without analytics.
        return;
    }
    // libcurl's global initialisation comes before the tracker; its failure is reported now.
    if (!config.CurlAvailable) {
        ReportTask("libcurl初始化失败", 0, "", {{kAbGroupKey, kStartUpAbGroup}});
    }
}

void StopTracker() {
    Slot().Replace(nullptr);
}

void ReportTask(const std::string& name, float elapsedSeconds, const std::string& reason,
                AnalyticsProperties properties) {
    WithTracker([&](MxTracker& tracker) {
        MxEventTask task;
        task.name = name;
        task.reason = CutToChars(reason, kMaxReasonChars);
        task.elapsed = std::make_shared<float>(elapsedSeconds);
        task.result = std::make_shared<MxResult>(MxResult::Success);
        tracker.trackTask(task, GroupContext(properties, MxEventType::Task));
    });
}

void ReportClick(const std::string& name, AnalyticsProperties properties) {
    WithTracker([&](MxTracker& tracker) {
        MxEventClick click;
        click.name = name;
        click.clickType = MxClickType::Button;
        tracker.trackClick(click, GroupContext(properties, MxEventType::Click));
    });
}

void ReportView(AnalyticsProperties properties) {
    WithTracker([&](MxTracker& tracker) {
        MxEventView view;
        view.name = "安装中";
        tracker.trackView(view, GroupContext(properties, MxEventType::View));
    });
}

void ReportCrash() {
    WithTracker([](MxTracker& tracker) { tracker.trackCrash("崩溃"); });
}

void ReportCrashExit() {
    if (!Config().IsEnableAppAnalytics) {
        return;
    }
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::thread helper;
    try {
        helper = std::thread([done] {
            ReportTask("崩溃退出", 0, "", {{kAbGroupKey, kStartUpAbGroup}});
            ReportCrash();
            *done = true;
        });
    } catch (...) {
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!*done && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (*done) {
        helper.join();
    } else {
        // Stuck on a lock the crashed thread holds; the process ends right after this.
        helper.detach();
    }
}

}  // namespace app
