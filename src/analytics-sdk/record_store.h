#pragma once

// The queue of record texts, its staging file and the batched upload.
//
// Thread safety: every operation may be called from any thread. Add takes only the queue
// lock and so never waits for an upload; flushes are serialised by the flush lock, which is
// always taken before the queue lock.

#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "analytics-sdk/transport.h"

namespace analytics_sdk {

struct StoreLimits {
    size_t capacity = 1024;  // most texts the queue keeps; the oldest goes first
    size_t batchSize = 30;   // most texts one upload carries
};

class RecordStore {
  public:
    RecordStore(std::string stagingPath, std::unique_ptr<Transport> transport,
                StoreLimits limits = {});
    // Stages whatever is still queued (after reading the staging file if no flush did).
    ~RecordStore();
    RecordStore(const RecordStore&) = delete;
    RecordStore& operator=(const RecordStore&) = delete;

    void Add(std::string text);

    // Uploads at most one batch. True on success or when there was nothing to send. A batch
    // that fails, or whose upload throws, goes back to the front as far as there is room.
    bool FlushBatch();

    // Uploads batches until the queue is empty; false at the first failed batch.
    bool Flush();

    // A copy of the queue, oldest first.
    std::vector<std::string> QueuedTexts() const;

  private:
    enum class StagingAfterLoad { Truncate, Keep };
    void LoadStaged();
    void LoadStagedLocked(StagingAfterLoad after);
    bool Empty() const;
    std::vector<std::string> TakeBatch();
    void PutBack(const std::vector<std::string>& batch);
    bool SendBatch(const std::vector<std::string>& batch);
    void Close();

    const std::string stagingPath_;
    const StoreLimits limits_;
    std::unique_ptr<Transport> transport_;
    std::mutex flushMutex_;
    mutable std::mutex queueMutex_;
    std::deque<std::string> queue_;
    bool stagingPending_ = true;
};

// "[" + the texts joined by "," + "]".
std::string BatchText(const std::vector<std::string>& texts);

}  // namespace analytics_sdk
