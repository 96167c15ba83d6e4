#pragma once

// Whole-file reads and atomic replacement for the INI layer. Internal to the platform
// library; each system supplies its own implementation.

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

enum class FileReadResult { kRead, kMissing, kFailed };

// Reads all of `file` into `content`. kMissing when the file or a folder on its path does
// not exist; kFailed for any other error (then `content` may hold part of the file).
FileReadResult ReadWholeFile(const std::filesystem::path& file, std::string& content);

// Replaces `file` with `content` so that a reader sees the old or the new file whole, never
// a part: the text goes to a new file beside it, is flushed to disk, and is then renamed
// over `file`. An existing file keeps its permission bits; a symbolic link is written
// through to its target. No temporary file is left behind on failure.
bool ReplaceFileAtomically(const std::filesystem::path& file, std::string_view content);

}  // namespace platform
