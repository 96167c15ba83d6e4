#pragma once

// The skin archive: a 7z archive of layouts and pictures, read from memory.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace uiframework {

// Every file of the archive, unpacked once when it is opened. Immutable afterwards, so one
// archive may be read from any number of threads.
class SkinArchive {
  public:
    // More than the skin will ever hold; guards against an archive that unpacks without end.
    static constexpr std::size_t kDefaultMaxUnpackedBytes = 64 * 1024 * 1024;

    struct Entry {
        std::string name;   // as stored: "/" separates folders
        std::string bytes;  // the file's content
    };

    // Reads a 7z archive from memory (the bytes need not outlive the call). Folder entries
    // are skipped. Returns nothing when the bytes are not a readable 7z archive, when an
    // entry fails to unpack or its check sum does not match, or when the files together
    // exceed maxUnpackedBytes; `error`, when given, then says why.
    static std::optional<SkinArchive> Open(std::span<const unsigned char> bytes,
                                           std::string* error = nullptr,
                                           std::size_t maxUnpackedBytes = kDefaultMaxUnpackedBytes);

    // The files in archive order.
    const std::vector<Entry>& entries() const { return entries_; }

    // The content of the file a window asks for by name: every "\" in the name counts as
    // "/", letter case is ignored (ASCII letters), the lengths must be equal, and the first
    // matching entry wins. Nothing when no entry matches. The view lives as long as the
    // archive.
    std::optional<std::string_view> Find(std::string_view name) const;

  private:
    explicit SkinArchive(std::vector<Entry> entries) : entries_(std::move(entries)) {}

    std::vector<Entry> entries_;
};

// Whether an entry name answers a request under the lookup rule of SkinArchive::Find.
bool SkinEntryNameMatches(std::string_view entryName, std::string_view requested);

}  // namespace uiframework
