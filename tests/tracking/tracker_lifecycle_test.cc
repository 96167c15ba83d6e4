// Creating, feeding and shutting down the tracker: init failures, the facade, the moments
// at which records are uploaded, staging across runs and the send threads.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/ini_profile.h"
#include "source/src/mx_exception.h"
#include "source/src/mx_tracker_wrapper.h"
#include "source/src/tracker_factory.h"
#include "support/stderr_capture.h"
#include "tracking_test_support.h"

namespace {

using namespace marlix::tracking;
using namespace std::chrono_literals;
using trackingtest::StdoutCapture;

class TrackerLifecycleTest : public trackingtest::TrackerTest {
  protected:
    static MxEventTask Task(const std::string& name) {
        MxEventTask task;
        task.name = name;
        task.elapsed = std::make_shared<float>(0.0f);
        task.result = std::make_shared<MxResult>(MxResult::Success);
        return task;
    }
    std::vector<std::string> EventNames(const testsupport::ReceivedUpload& upload) const {
        std::vector<std::string> names;
        for (const Json::Value& record : upload.records) {
            names.push_back(record["event"].asString());
        }
        return names;
    }
    std::string StagingFile() const { return TrackerDir() + "Quorvex.downloader_MXSStaging.txt"; }
};

TEST_F(TrackerLifecycleTest, InitRejectsMissingOptionsInOrder) {
    struct Case {
        void (*clear)(TrackerOptions&);
        const char* message;
    } const cases[] = {
        {[](TrackerOptions& o) { o.appName.clear(), o.appStore.clear(); }, "appName is empty"},
        {[](TrackerOptions& o) { o.appVersion.clear(), o.appStore.clear(); },
         "appVersion is empty"},
        {[](TrackerOptions& o) { o.appStore.clear(); }, "appStore is empty"},
    };
    for (const Case& c : cases) {
        TrackerOptions options = Options();
        c.clear(options);
        MxTrackerImpl tracker(options, Environment());
        try {
            tracker.init();
            ADD_FAILURE() << "no exception for " << c.message;
        } catch (const MxException& e) {
            EXPECT_STREQ(e.what(), c.message);
            EXPECT_EQ(e.function(), "init");
            EXPECT_EQ(e.sourceUnit(), "MxTrackerImpl");
        }
        EXPECT_FALSE(tracker.hasTrackLogger());
    }
    EXPECT_FALSE(std::filesystem::exists(home_ / ".local"));
}

TEST_F(TrackerLifecycleTest, InitFailsWhenTheSdkRefusesTheStoredId) {
    trackingtest::WriteTextFile(SettingsFile(), "[Base]\nDistinctId=" + std::string(256, 'd') +
                                                    "\nURL=" + endpoint_.Url() + "\n");
    MxTrackerImpl tracker(Options(), Environment());
    testsupport::StderrCapture quiet;
    try {
        tracker.init();
        ADD_FAILURE() << "no exception";
    } catch (const MxException& e) {
        EXPECT_STREQ(e.what(), "analytics_sdk::Sdk::Init is failed");
    }
    EXPECT_TRUE(tracker.hasTrackLogger());  // the log was opened before the SDK
}

TEST_F(TrackerLifecycleTest, TrackerThatFailedToStartSendsNothingAndStaysHarmless) {
    auto options = Options();
    options.appStore.clear();
    StdoutCapture out;
    {
        std::shared_ptr<MxTracker> tracker = CreateTracker(options, Environment());
        tracker->trackTask(Task("t"), {});
        tracker->trackCrash("c");
        tracker->trackClick(MxEventClick{}, {});  // rejected, but no log to say so
        EXPECT_EQ(tracker->getPrimaryDistinctId(), "");
    }
    EXPECT_EQ(out.Text(), "");
    EXPECT_TRUE(endpoint_.Uploads().empty());
    EXPECT_FALSE(std::filesystem::exists(home_ / ".local"));
}

TEST_F(TrackerLifecycleTest, FacadeSwallowsRejectionsAndSaysWhichOperationFailed) {
    auto impl = std::make_unique<MxTrackerImpl>(Options(), Environment());
    impl->init();
    MxTrackerImpl& inner = *impl;
    MxTrackerWrapper tracker(std::move(impl));
    StdoutCapture out;
    const int32_t pending = inner.pendingCount();
    tracker.trackClick(MxEventClick{}, {});
    tracker.trackAppOpenNotification(nullptr, {});
    MxEventPayment payment;
    payment.orderId = "o1";
    tracker.trackPayment(payment, {});
    EXPECT_EQ(out.Text(),
              "Failed to trackClick\nFailed to trackAppOpenNotification\nFailed to trackPayment\n");
    EXPECT_EQ(inner.pendingCount(), pending);
    EXPECT_FALSE(tracker.hasTrackLogger());
    EXPECT_EQ(tracker.getPrimaryDistinctId(), inner.getPrimaryDistinctId());
}

TEST_F(TrackerLifecycleTest, FacadeWithoutImplementationDoesNothing) {
    MxTrackerWrapper tracker(nullptr);
    tracker.trackTask(Task("t"), {});
    tracker.trackCrash("c");
    tracker.setLocale("en_US");
    EXPECT_EQ(tracker.getPrimaryDistinctId(), "");
    EXPECT_FALSE(tracker.hasTrackLogger());
}

TEST_F(TrackerLifecycleTest, NonUrgentRecordsWaitForACrashWhichUploadsThemInOneBatch) {
    auto tracker = Start();
    tracker->trackTask(Task("t1"), {});
    tracker->trackTask(Task("t2"), {});
    tracker->trackTask(Task("t3"), {});
    EXPECT_TRUE(endpoint_.Uploads().empty());
    tracker->trackCrash("崩溃");
    // The crash uploads on the calling thread, so the batch is there when the call returns.
    auto uploads = endpoint_.Uploads();
    ASSERT_EQ(uploads.size(), 1u);
    EXPECT_EQ(EventNames(uploads[0]), (std::vector<std::string>{"MxEventTask", "MxEventTask",
                                                                "MxEventTask", "AppCrashed"}));
    tracker.reset();
    EXPECT_EQ(endpoint_.Uploads().size(), 1u);  // nothing left for the shut-down
}

TEST_F(TrackerLifecycleTest, CrashAsTheFirstEventIsUploadedAtOnce) {
    auto tracker = Start();
    tracker->trackCrash("崩溃");
    const auto uploads = endpoint_.Uploads();
    ASSERT_EQ(uploads.size(), 1u);
    ASSERT_EQ(uploads[0].records.size(), 1u);
    const Json::Value& record = uploads[0].records[0];
    EXPECT_EQ(record["event"].asString(), "AppCrashed");
    EXPECT_EQ(record["properties"]["app_crashed_reason"].asString(), "崩溃");
    EXPECT_FALSE(record["properties"].isMember("$is_first_time"));
}

TEST_F(TrackerLifecycleTest, ShutDownUploadsPendingRecords) {
    {
        auto tracker = Start();
        tracker->trackTask(Task("t1"), {});
        MxEventClick click;
        click.name = "立即安装";
        tracker->trackClick(click, {});
        EXPECT_TRUE(endpoint_.Uploads().empty());
    }
    const auto uploads = endpoint_.Uploads();
    ASSERT_EQ(uploads.size(), 1u);
    EXPECT_EQ(EventNames(uploads[0]), (std::vector<std::string>{"MxEventTask", "MxEventClick"}));
}

TEST_F(TrackerLifecycleTest, RecordsThatCouldNotBeUploadedAreStagedAndSentByTheNextRun) {
    endpoint_.SetStatus(500);
    {
        testsupport::StderrCapture quiet;
        auto tracker = Start();
        tracker->trackCrash("崩溃");
    }
    EXPECT_NE(trackingtest::ReadTextFile(StagingFile()).find("\"AppCrashed\""), std::string::npos);

    endpoint_.SetStatus(200);
    {
        auto tracker = Start();
        tracker->trackTask(Task("next run"), {});
    }
    const auto uploads = endpoint_.Uploads();
    ASSERT_FALSE(uploads.empty());
    EXPECT_EQ(EventNames(uploads.back()), (std::vector<std::string>{"AppCrashed", "MxEventTask"}));
    EXPECT_EQ(trackingtest::ReadTextFile(StagingFile()), "");
}

TEST_F(TrackerLifecycleTest, ShutDownWaitsForTheSendThreadsItStarted) {
    auto tracker = Start();
    {
        // A failed upload makes the next steps run on send threads of their own.
        testsupport::StderrCapture quiet;
        endpoint_.SetStatus(500);
        tracker->trackCrash("first");
    }
    endpoint_.SetStatus(200);
    endpoint_.SetDelay(300ms);
    testsupport::StderrCapture debugOutput;
    tracker->trackUninstall("slow", {});
    EXPECT_NE(debugOutput.Text().find("[Analytics] Sending messages asynchronously\n"),
              std::string::npos);
    tracker.reset();
    // The thread's upload finished before the tracker was gone.
    ASSERT_FALSE(endpoint_.Uploads().empty());
    EXPECT_EQ(EventNames(endpoint_.Uploads().back()),
              (std::vector<std::string>{"AppCrashed", "MxEventUninstall"}));
}

TEST_F(TrackerLifecycleTest, ManyThreadsTrackAtOnce) {
    auto tracker = Start();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&tracker, t] {
            for (int i = 0; i < 10; ++i) {
                tracker->trackTask(Task("t" + std::to_string(t)), {});
            }
            MxUser user{"user" + std::to_string(t), MxUserType::Email, t};
            tracker->trackLogin(user, true, "", {});
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    tracker.reset();
    EXPECT_EQ(Events("MxEventTask").size(), 40u);
    EXPECT_EQ(Events("MxEventLogin").size(), 4u);
}

}  // namespace
