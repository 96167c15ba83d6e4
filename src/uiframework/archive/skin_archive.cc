#include "uiframework/archive/skin_archive.h"

#include <archive.h>
#include <archive_entry.h>

#include <memory>
#include <utility>

namespace uiframework {

namespace {

struct ArchiveReadFree {
    void operator()(archive* reader) const { archive_read_free(reader); }
};
using ArchiveReader = std::unique_ptr<archive, ArchiveReadFree>;

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string ReaderError(archive* reader, std::string_view what) {
    const char* text = archive_error_string(reader);
    std::string message(what);
    if (text != nullptr && *text != '\0') {
        message += ": ";
        message += text;
    }
    return message;
}

const char* EntryName(archive_entry* entry) {
    // 7z stores names as UTF-16; the UTF-8 form does not depend on the process's locale.
    const char* name = archive_entry_pathname_utf8(entry);
    return name != nullptr ? name : archive_entry_pathname(entry);
}

// Appends the current entry's data to `out`; false with `error` set on failure.
bool ReadEntryData(archive* reader, std::string& out, std::size_t& budget, std::string& error) {
    char buffer[16384];
    for (;;) {
        const la_ssize_t got = archive_read_data(reader, buffer, sizeof buffer);
        if (got == 0) {
            return true;
        }
        if (got < 0) {
            error = ReaderError(reader, "cannot unpack");
            return false;
        }
        const auto size = static_cast<std::size_t>(got);
        if (size > budget) {
            error = "the unpacked files exceed the size limit";
            return false;
        }
        budget -= size;
        out.append(buffer, size);
    }
}

}  // namespace

bool SkinEntryNameMatches(std::string_view entryName, std::string_view requested) {
    if (entryName.size() != requested.size()) {
        return false;
    }
    for (std::size_t i = 0; i < requested.size(); ++i) {
        const char wanted = requested[i] == '\\' ? '/' : requested[i];
        if (AsciiLower(entryName[i]) != AsciiLower(wanted)) {
            return false;
        }
    }
    return true;
}

std::optional<SkinArchive> SkinArchive::Open(std::span<const unsigned char> bytes,
                                             std::string* error, std::size_t maxUnpackedBytes) {
    const auto fail = [&](std::string message) -> std::optional<SkinArchive> {
        if (error != nullptr) {
            *error = std::move(message);
        }
        return std::nullopt;
    };
    if (bytes.empty()) {
        return fail("the skin archive is empty");
    }

    ArchiveReader reader(archive_read_new());
    if (!reader) {
        return fail("cannot create an archive reader");
    }
    archive_read_support_format_7zip(reader.get());
    if (archive_read_open_memory(reader.get(), bytes.data(), bytes.size()) != ARCHIVE_OK) {
        return fail(ReaderError(reader.get(), "not a 7z archive"));
    }

    std::vector<Entry> entries;
    std::size_t budget = maxUnpackedBytes;
    for (;;) {
        archive_entry* header = nullptr;
        const int status = archive_read_next_header(reader.get(), &header);
        if (status == ARCHIVE_EOF) {
            break;
        }
        if (status != ARCHIVE_OK && status != ARCHIVE_WARN) {
            return fail(ReaderError(reader.get(), "cannot read the archive's directory"));
        }
        if (archive_entry_filetype(header) != AE_IFREG) {
            continue;
        }
        const char* name = EntryName(header);
        Entry entry;
        entry.name = name != nullptr ? name : "";
        std::string problem;
        if (!ReadEntryData(reader.get(), entry.bytes, budget, problem)) {
            return fail("\"" + entry.name + "\": " + problem);
        }
        entries.push_back(std::move(entry));
    }
    return SkinArchive(std::move(entries));
}

std::optional<std::string_view> SkinArchive::Find(std::string_view name) const {
    for (const Entry& entry : entries_) {
        if (SkinEntryNameMatches(entry.name, name)) {
            return std::string_view(entry.bytes);
        }
    }
    return std::nullopt;
}

}  // namespace uiframework
