#pragma once

// One byte range of the two-range downloader, and how a file is split into ranges.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "download/curl_handles.h"
#include "download/file_io.h"

namespace download {

struct ByteRange {
    int64_t first;
    int64_t last;  // inclusive

    bool operator==(const ByteRange&) const = default;
};

// Ranges in units of 10 MiB: one under 20 MiB, two otherwise, of length / n bytes each;
// the last also takes the remainder.
std::vector<ByteRange> PlanRanges(int64_t length);

struct DownloadPartNode {
    static constexpr int kPending = -1;
    static constexpr int kComplete = 0;
    static constexpr int kFileError = -2;  // the part file could not be opened

    File file;                // open for append while the range is downloading
    int64_t firstOffset = 0;  // start of the range in the whole file
    int64_t nextOffset = 0;   // absolute offset of the next byte to receive
    int64_t endOffset = 0;    // absolute offset of the range's last byte
    ScopedCurl handle;        // reused by every attempt
    std::string address;
    std::string partPath;
    int status = kPending;
    std::atomic<int64_t> received{0};  // bytes on disk; read by the other part's thread
    bool answerChecked = false;        // the current attempt's status line was looked at
    bool wholeFileRange = false;       // the range is the whole file (a one-part download)

    // A 200 answer carries the whole file, not the range asked for. Only a one-part download
    // that has nothing on disk yet can take it as it is.
    bool AcceptsWholeBody() const { return wholeFileRange && nextOffset == 0; }

    // Forgets what is on disk, so the range is fetched again from its start.
    void Restart();

    // Appends the part of `size` bytes that belongs to the range; the bytes written.
    size_t Append(const char* data, size_t size);
};

}  // namespace download
