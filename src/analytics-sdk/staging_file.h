#pragma once

// The staging file: one record's JSON text per line, oldest first. A path that cannot be
// used as a file (missing folder, a folder, no rights) reads as empty and stores nothing.

#include <deque>
#include <string>

namespace analytics_sdk {

// The last `keep` lines that look like JSON objects (non-empty, "{" first, "}" last).
std::deque<std::string> ReadStagedRecords(const std::string& path, size_t keep);

// Empties the file, creating it when missing.
void TruncateStagingFile(const std::string& path);

// Replaces the file's content with `records` through a temporary file beside it and a
// rename, so that the old content stays whole until the new one is complete. False when
// nothing could be stored.
bool RewriteStagingFile(const std::string& path, const std::deque<std::string>& records);

}  // namespace analytics_sdk
