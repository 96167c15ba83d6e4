#include "analytics-sdk/record_store.h"

#include <algorithm>
#include <exception>

#include "analytics-sdk/diagnostics.h"
#include "analytics-sdk/staging_file.h"

namespace analytics_sdk {

RecordStore::RecordStore(std::string stagingPath, std::unique_ptr<Transport> transport,
                         StoreLimits limits)
    : stagingPath_(std::move(stagingPath)), limits_(limits), transport_(std::move(transport)) {}

RecordStore::~RecordStore() {
    try {
        Close();
    } catch (const std::exception& e) {
        WriteError(std::string("Exception when staging records: (") + e.what() + ") \n");
    }
}

void RecordStore::Add(std::string text) {
    std::lock_guard lock(queueMutex_);
    queue_.push_back(std::move(text));
    if (queue_.size() > limits_.capacity) {
        queue_.pop_front();
    }
}

bool RecordStore::FlushBatch() {
    try {
        LoadStaged();
        std::lock_guard flushLock(flushMutex_);
        std::vector<std::string> batch = TakeBatch();
        return batch.empty() || SendBatch(batch);
    } catch (const std::exception& e) {
        WriteError(std::string("Exception when flush failed: (") + e.what() + ") \n");
    } catch (...) {
        WriteError("Exception when flush failed: (unknown exception) \n");
    }
    return false;
}

bool RecordStore::Flush() {
    LoadStaged();
    while (!Empty()) {
        if (!FlushBatch()) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> RecordStore::QueuedTexts() const {
    std::lock_guard lock(queueMutex_);
    return {queue_.begin(), queue_.end()};
}

void RecordStore::LoadStaged() {
    std::lock_guard lock(queueMutex_);
    LoadStagedLocked(StagingAfterLoad::Truncate);
}

void RecordStore::LoadStagedLocked(StagingAfterLoad after) {
    if (!stagingPending_) {
        return;
    }
    const size_t free = limits_.capacity > queue_.size() ? limits_.capacity - queue_.size() : 0;
    if (free > 0) {
        // Staged records are older than anything queued in this run.
        std::deque<std::string> staged = ReadStagedRecords(stagingPath_, free);
        queue_.insert(queue_.begin(), std::make_move_iterator(staged.begin()),
                      std::make_move_iterator(staged.end()));
    }
    if (after == StagingAfterLoad::Truncate) {
        TruncateStagingFile(stagingPath_);
    }
    stagingPending_ = false;
}

bool RecordStore::Empty() const {
    std::lock_guard lock(queueMutex_);
    return queue_.empty();
}

std::vector<std::string> RecordStore::TakeBatch() {
    std::lock_guard lock(queueMutex_);
    const size_t n = std::min(queue_.size(), limits_.batchSize);
    std::vector<std::string> batch(std::make_move_iterator(queue_.begin()),
                                   std::make_move_iterator(queue_.begin() + n));
    queue_.erase(queue_.begin(), queue_.begin() + n);
    return batch;
}

void RecordStore::PutBack(const std::vector<std::string>& batch) {
    std::lock_guard lock(queueMutex_);
    const size_t free = limits_.capacity > queue_.size() ? limits_.capacity - queue_.size() : 0;
    const size_t n = std::min(free, batch.size());
    // The newest texts of the batch are kept; what does not fit is lost.
    queue_.insert(queue_.begin(), batch.end() - n, batch.end());
}

bool RecordStore::SendBatch(const std::vector<std::string>& batch) {
    // A batch whose upload throws is put back like one that failed, not lost.
    try {
        if (transport_->Send(BatchText(batch))) {
            return true;
        }
    } catch (...) {
        PutBack(batch);
        throw;
    }
    PutBack(batch);
    return false;
}

void RecordStore::Close() {
    std::lock_guard lock(queueMutex_);
    // No truncation here: the rewrite replaces the file in one step, so the staged records
    // stay on disk until their successor is complete.
    LoadStagedLocked(StagingAfterLoad::Keep);
    RewriteStagingFile(stagingPath_, queue_);
    transport_.reset();
}

std::string BatchText(const std::vector<std::string>& texts) {
    size_t size = 2 + texts.size();
    for (const std::string& text : texts) {
        size += text.size();
    }
    std::string out;
    out.reserve(size);
    out.push_back('[');
    for (size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) {
            out.push_back(',');
        }
        out += texts[i];
    }
    out.push_back(']');
    return out;
}

}  // namespace analytics_sdk
