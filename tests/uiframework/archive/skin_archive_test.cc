#include "uiframework/archive/skin_archive.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/skin_archive_data.h"
#include "uiframework/archive/archive_writer.h"

namespace uiframework {
namespace {

using testing::ArchiveFile;
using testing::Write7z;

TEST(SkinEntryNameMatches, IgnoresCaseAndSeparatorKindButNotLength) {
    struct Case {
        const char* entry;
        const char* requested;
        bool matches;
    };
    const Case cases[] = {
        {"mainWnd.xml", "mainWnd.xml", true},
        {"mainWnd.xml", "MainWnd.xml", true},
        {"exitTipWnd.xml", "EXITTIPWND.XML", true},
        {"res/mainWnd/bg1.png", "res\\mainWnd\\bg1.png", true},
        {"res/mainWnd/bg1.png", "res\\mainWnd/bg1.png", true},
        {"res/mainWnd/bg1.png", "RES\\MAINWND\\BG1.PNG", true},
        // Only the request is normalised; a stored "\" is an ordinary character.
        {"res\\a.png", "res/a.png", false},
        {"res\\a.png", "res\\a.png", false},
        // Equal length: neither a prefix nor a longer name answers.
        {"mainWnd.xml", "mainWnd.xm", false},
        {"mainWnd.xml", "mainWnd.xml ", false},
        {"mainWnd.xml", "/mainWnd.xml", false},
        {"mainWnd.xml", "", false},
        {"", "", true},
        {"res/mainWnd/bg1.png", "res/mainWnd/bg2.png", false},
        // Letters beyond ASCII are compared as they are.
        {"res/É.png", "res/é.png", false},
        {"res/é.png", "res/é.png", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SkinEntryNameMatches(c.entry, c.requested), c.matches)
            << "entry \"" << c.entry << "\", requested \"" << c.requested << "\"";
    }
}

TEST(SkinArchive, FindsTheFirstMatchingFileAndSkipsFolders) {
    const std::vector<unsigned char> bytes = Write7z({
        {"res", "", true},
        {"Res/Same.png", "first"},
        {"res/same.PNG", "second"},
        {"empty.txt", ""},
    });
    std::string error;
    const auto archive = SkinArchive::Open(bytes, &error);
    ASSERT_TRUE(archive) << error;

    ASSERT_EQ(archive->entries().size(), 3u);
    EXPECT_EQ(archive->entries()[0].name, "Res/Same.png");
    EXPECT_EQ(archive->Find("res\\same.png"), "first");
    EXPECT_EQ(archive->Find("EMPTY.TXT"), "");
    EXPECT_EQ(archive->Find("res"), std::nullopt);
    EXPECT_EQ(archive->Find("missing.png"), std::nullopt);
}

TEST(SkinArchive, RefusesBrokenArchivesWithAReason) {
    const std::vector<unsigned char> good = Write7z({
        {"a.xml", std::string(4000, 'a')},
        {"b.xml", "<Window />"},
    });
    ASSERT_TRUE(SkinArchive::Open(good));

    const std::span<const unsigned char> shipped = skin::EmbeddedSkinArchive();
    std::vector<unsigned char> truncated(shipped.begin(), shipped.begin() + shipped.size() / 2);
    const std::string text = "<Window size=\"600,400\" />";
    std::vector<unsigned char> notAnArchive(text.begin(), text.end());
    // Byte 40 lies in the packed data that follows the 32-byte signature header.
    std::vector<unsigned char> damagedData = good;
    damagedData[40] ^= 0x55;
    std::vector<unsigned char> damagedDirectory = good;
    damagedDirectory[damagedDirectory.size() - 3] ^= 0x55;

    const struct {
        const char* what;
        std::vector<unsigned char> bytes;
    } cases[] = {
        {"empty", {}},
        {"not an archive", notAnArchive},
        {"truncated", truncated},
        {"damaged packed data", damagedData},
        {"damaged directory", damagedDirectory},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(SkinArchive::Open(c.bytes, &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
    }
}

TEST(SkinArchive, StopsAtTheUnpackedSizeLimit) {
    const std::vector<unsigned char> bytes = Write7z({
        {"small.xml", std::string(1000, 's')},
        {"large.png", std::string(10000, 'l')},
    });
    std::string error;
    EXPECT_TRUE(SkinArchive::Open(bytes, &error, 11000)) << error;
    EXPECT_FALSE(SkinArchive::Open(bytes, &error, 10999));
    EXPECT_NE(error.find("large.png"), std::string::npos) << error;
    EXPECT_NE(error.find("limit"), std::string::npos) << error;
}

}  // namespace
}  // namespace uiframework
