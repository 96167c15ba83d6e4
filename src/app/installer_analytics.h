#pragma once

// The installer's analytics: the process-wide tracker, created at start-up and released at
// shut-down, and the four reports the installer sends through it (a task, a click, the
// progress view, a crash). Every function may run on any thread and never throws; while
// analytics is switched off in the configuration, or no tracker exists, the reports send
// nothing.
//
//   ReportTask("开始下载大包", 0, "", {{"AB", "IN"}});
//   ReportClick("立即安装", {{"AB", group}});

#include <map>
#include <string>

#include "app/installer_config.h"
#include "source/src/mx_tracker.h"

namespace app {

// Property map of a report. The installer passes one entry, "AB" = the A/B group.
using AnalyticsProperties = std::map<std::string, std::string>;
inline constexpr char kAbGroupKey[] = "AB";
// The group of the reports sent before the main window has its own.
inline constexpr char kStartUpAbGroup[] = "IN";

// The tracker's options for this installer (pure).
marlix::tracking::TrackerOptions TrackerOptionsFor(const InstallerConfig& config);

// Creates the process-wide tracker when `config.IsEnableAppAnalytics` is set, with
// `serverUrl` in place of the built-in endpoint when it is not empty. A tracker that fails
// to start still exists and sends nothing. When `config.CurlAvailable` is false, libcurl's
// failed initialisation, which happens before the tracker exists, is reported right away.
void StartTracker(const InstallerConfig& config, const std::string& serverUrl = "");

// Releases the process-wide tracker, if there is one: it uploads what is pending and keeps
// the rest for the next run. Blocks for those uploads.
void StopTracker();

// A task event with result Success; the reason is cut to 199 characters.
void ReportTask(const std::string& name, float elapsedSeconds, const std::string& reason,
                AnalyticsProperties properties);
// A button click.
void ReportClick(const std::string& name, AnalyticsProperties properties);
// The progress page ("安装中").
void ReportView(AnalyticsProperties properties);
// The tracker's crash event, reason "崩溃"; uploads at once.
void ReportCrash();

// The crash filter's reports: "崩溃退出" with group "IN", then ReportCrash. They run on a
// helper thread, which this waits for at most two seconds (a crash inside analytics code
// may hold a lock they need), so the crashing process always goes on to its end.
void ReportCrashExit();

}  // namespace app
