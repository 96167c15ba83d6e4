#include "uiframework/archive/archive_writer.h"

#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>

#include <memory>

namespace uiframework::testing {

namespace {

struct WriterFree {
    void operator()(archive* writer) const { archive_write_free(writer); }
};
struct EntryFree {
    void operator()(archive_entry* entry) const { archive_entry_free(entry); }
};

}  // namespace

std::vector<unsigned char> Write7z(const std::vector<ArchiveFile>& files) {
    std::vector<unsigned char> buffer(1 << 20);
    std::size_t used = 0;
    std::unique_ptr<archive, WriterFree> writer(archive_write_new());
    EXPECT_EQ(archive_write_set_format_7zip(writer.get()), ARCHIVE_OK);
    EXPECT_EQ(archive_write_set_format_option(writer.get(), "7zip", "compression", "lzma2"),
              ARCHIVE_OK);
    EXPECT_EQ(archive_write_open_memory(writer.get(), buffer.data(), buffer.size(), &used),
              ARCHIVE_OK);
    for (const ArchiveFile& file : files) {
        std::unique_ptr<archive_entry, EntryFree> entry(archive_entry_new());
        archive_entry_set_pathname_utf8(entry.get(), file.name.c_str());
        archive_entry_set_filetype(entry.get(), file.folder ? AE_IFDIR : AE_IFREG);
        archive_entry_set_perm(entry.get(), file.folder ? 0755 : 0644);
        archive_entry_set_size(entry.get(), file.folder ? 0 : file.bytes.size());
        EXPECT_EQ(archive_write_header(writer.get(), entry.get()), ARCHIVE_OK) << file.name;
        if (!file.folder && !file.bytes.empty()) {
            EXPECT_EQ(archive_write_data(writer.get(), file.bytes.data(), file.bytes.size()),
                      static_cast<la_ssize_t>(file.bytes.size()))
                << file.name;
        }
    }
    EXPECT_EQ(archive_write_close(writer.get()), ARCHIVE_OK) << archive_error_string(writer.get());
    buffer.resize(used);
    return buffer;
}

}  // namespace uiframework::testing
