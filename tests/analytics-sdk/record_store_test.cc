#include "analytics-sdk/record_store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <thread>

#include "analytics-sdk/http_sender.h"
#include "sdk_test_support.h"
#include "support/collection_endpoint.h"
#include "support/stderr_capture.h"

namespace {

using namespace analytics_sdk;
using sdktest::NumberedRecord;
using sdktest::NumberedRecords;
using testsupport::CollectionEndpoint;
using testsupport::StderrCapture;

class RecordStoreTest : public testing::Test {
  protected:
    std::unique_ptr<RecordStore> MakeStore(const std::string& stagingPath) {
        return std::make_unique<RecordStore>(
            stagingPath, std::make_unique<HttpSender>(endpoint_.Url(), HeaderPairs{}, flag_));
    }
    std::unique_ptr<RecordStore> MakeStore() { return MakeStore(StagingPath()); }
    std::string StagingPath() const { return folder_.File("staging.txt"); }

    static void AddRecords(RecordStore& store, int first, int count) {
        for (const std::string& text : NumberedRecords(first, count)) {
            store.Add(text);
        }
    }
    static void WriteStaging(const std::string& path, const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines) {
            text += line + "\n";
        }
        sdktest::WriteFile(path, text);
    }

    sdktest::TempFolder folder_;
    CollectionEndpoint endpoint_;
    SendFlag flag_;
};

TEST_F(RecordStoreTest, FlushSendsEverythingInBatchesOfThirtyOldestFirst) {
    auto store = MakeStore();
    AddRecords(*store, 0, 75);
    ASSERT_TRUE(store->Flush());
    EXPECT_TRUE(store->QueuedTexts().empty());

    const auto uploads = endpoint_.Uploads();
    ASSERT_EQ(uploads.size(), 3u);
    const int sizes[] = {30, 30, 15};
    int first = 0;
    for (size_t i = 0; i < uploads.size(); ++i) {
        ASSERT_TRUE(uploads[i].decoded) << uploads[i].error;
        EXPECT_EQ(uploads[i].batchText, BatchText(NumberedRecords(first, sizes[i])));
        first += sizes[i];
    }
    EXPECT_TRUE(store->FlushBatch());
    EXPECT_EQ(endpoint_.Uploads().size(), 3u);
}

TEST_F(RecordStoreTest, QueueDropsTheOldestBeyond1024) {
    auto store = MakeStore();
    AddRecords(*store, 0, 1025);
    const auto queued = store->QueuedTexts();
    ASSERT_EQ(queued.size(), 1024u);
    EXPECT_EQ(queued.front(), NumberedRecord(1));
    EXPECT_EQ(queued.back(), NumberedRecord(1024));
}

// 1010 queued, a batch of 30 taken, 30 more added during its upload: the failed batch finds
// room for 14, so its last 14 texts go back to the front and the first 16 are lost.
TEST_F(RecordStoreTest, FailedBatchGoesBackAsFarAsThereIsRoom) {
    auto store = MakeStore();
    AddRecords(*store, 0, 1010);
    endpoint_.SetStatus(500);
    endpoint_.HoldAnswers();
    StderrCapture capture;
    bool result = true;
    std::thread flusher([&] { result = store->FlushBatch(); });
    ASSERT_TRUE(endpoint_.WaitForUploads(1, std::chrono::seconds(10)));
    AddRecords(*store, 1010, 30);
    endpoint_.ReleaseAnswers();
    flusher.join();

    EXPECT_FALSE(result);
    EXPECT_FALSE(flag_.Get());
    std::vector<std::string> expected = NumberedRecords(16, 14);
    for (const std::string& text : NumberedRecords(30, 1010)) {
        expected.push_back(text);
    }
    EXPECT_EQ(store->QueuedTexts(), expected);
}

TEST_F(RecordStoreTest, FailedBatchKeepsItsOrderAndFlushStopsAtIt) {
    auto store = MakeStore();
    AddRecords(*store, 0, 40);
    endpoint_.SetStatus(201);
    StderrCapture capture;
    EXPECT_FALSE(store->Flush());
    EXPECT_EQ(endpoint_.Uploads().size(), 1u);
    EXPECT_EQ(store->QueuedTexts(), NumberedRecords(0, 40));
}

class ThrowingTransport : public Transport {
  public:
    bool Send(const std::string&) override { throw std::runtime_error("boom"); }
};

TEST_F(RecordStoreTest, BatchWhoseUploadThrowsIsPutBackNotLost) {
    RecordStore store(StagingPath(), std::make_unique<ThrowingTransport>());
    AddRecords(store, 0, 45);
    StderrCapture capture;
    EXPECT_FALSE(store.FlushBatch());
    EXPECT_EQ(capture.Text(), "Exception when flush failed: (boom) \n");
    EXPECT_EQ(store.QueuedTexts(), NumberedRecords(0, 45));
}

TEST_F(RecordStoreTest, StagingFileOf2000LinesLeavesItsLast1024AndIsEmptied) {
    WriteStaging(StagingPath(), NumberedRecords(0, 2000));
    auto store = MakeStore();
    ASSERT_TRUE(store->Flush());
    EXPECT_EQ(sdktest::ReadFile(StagingPath()), "");

    const auto records = endpoint_.Records();
    ASSERT_EQ(records.size(), 1024u);
    EXPECT_EQ(records.front()["n"].asInt(), 976);
    EXPECT_EQ(records.back()["n"].asInt(), 1999);
}

TEST_F(RecordStoreTest, StagingLinesThatAreNotObjectsAreSkipped) {
    WriteStaging(StagingPath(), {"", "{\"ok\":1}", "not json", "{\"open\":1", "\"closed\":1}",
                                 " {\"blank\":1}", "{\"blank\":1} ", "{}", "{\"ok\":2}"});
    auto store = MakeStore();
    ASSERT_TRUE(store->Flush());
    ASSERT_EQ(endpoint_.Uploads().size(), 1u);
    EXPECT_EQ(endpoint_.Uploads()[0].batchText, R"([{"ok":1},{},{"ok":2}])");
}

TEST_F(RecordStoreTest, ClosingStagesTheQueueAfterWhatWasStagedBefore) {
    WriteStaging(StagingPath(), NumberedRecords(0, 3));
    {
        auto store = MakeStore();
        AddRecords(*store, 3, 2);
    }
    EXPECT_EQ(sdktest::Lines(sdktest::ReadFile(StagingPath())), NumberedRecords(0, 5));
    EXPECT_FALSE(std::filesystem::exists(StagingPath() + ".tmp"));

    // The next run uploads them before its own records.
    auto store = MakeStore();
    store->Add(NumberedRecord(9));
    ASSERT_TRUE(store->Flush());
    EXPECT_EQ(endpoint_.Uploads().at(0).batchText,
              BatchText({NumberedRecord(0), NumberedRecord(1), NumberedRecord(2), NumberedRecord(3),
                         NumberedRecord(4), NumberedRecord(9)}));
}

TEST_F(RecordStoreTest, StagingFileStaysWholeWhenItsReplacementCannotBeWritten) {
    WriteStaging(StagingPath(), NumberedRecords(0, 3));
    const std::string before = sdktest::ReadFile(StagingPath());
    // A folder where the temporary file would go makes the rewrite fail part-way.
    std::filesystem::create_directory(StagingPath() + ".tmp");
    {
        auto store = MakeStore();
        AddRecords(*store, 3, 2);
    }
    EXPECT_EQ(sdktest::ReadFile(StagingPath()), before);
}

TEST_F(RecordStoreTest, FolderAsStagingPathKeepsNothing) {
    const std::string folderPath = folder_.File("tracker");
    std::filesystem::create_directory(folderPath);
    {
        auto store = MakeStore(folderPath);
        AddRecords(*store, 0, 5);
    }
    EXPECT_TRUE(std::filesystem::is_directory(folderPath));
    EXPECT_TRUE(std::filesystem::is_empty(folderPath));
    EXPECT_FALSE(std::filesystem::exists(folderPath + ".tmp"));

    auto store = MakeStore(folderPath);
    ASSERT_TRUE(store->Flush());
    EXPECT_TRUE(endpoint_.Uploads().empty());
}

}  // namespace
