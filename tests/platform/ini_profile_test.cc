#include "platform/ini_profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/ini_document.h"
#include "platform/scratch_env.h"

namespace {

namespace ini = platform::ini;
using platformtest::ReadFile;
using platformtest::ScratchFolder;
using platformtest::WriteFile;

TEST(IniProfileTest, ReadsValuesWithProfileRules) {
    struct Case {
        const char* name;
        std::string file;
        std::string section;
        std::string key;
        size_t bufferChars;
        std::string expected;
    };
    const std::string longValue(1000, 'x');
    const Case cases[] = {
        {"plain", "[Install]\nDownloadType=3\n", "Install", "DownloadType", 0, "3"},
        {"letter case of names ignored", "[INSTALL]\ndownloadtype=3\n", "install", "DownloadTYPE",
         0, "3"},
        {"blanks around names and values dropped", "  [ Install ]  \n \t Key \t=  a b  \n",
         "Install", "Key", 0, "a b"},
        {"double quotes dropped", "[S]\nK=\"  quoted  \"\n", "S", "K", 0, "  quoted  "},
        {"single quotes dropped", "[S]\nK='q'\n", "S", "K", 0, "q"},
        {"only one pair of quotes dropped", "[S]\nK=\"\"q\"\"\n", "S", "K", 0, "\"q\""},
        {"mismatched quotes kept", "[S]\nK=\"q'\n", "S", "K", 0, "\"q'"},
        {"a lone quote kept", "[S]\nK=\"\n", "S", "K", 0, "\""},
        {"the key ends at the first '='", "[S]\nUrl=http://h/p?a=b&c=d\n", "S", "Url", 0,
         "http://h/p?a=b&c=d"},
        {"empty value is not the default", "[S]\nK=\n", "S", "K", 0, ""},
        {"first duplicate key wins", "[S]\nK=1\nK=2\n", "S", "K", 0, "1"},
        // Only the first section of a name is searched, as the profile functions do.
        {"first duplicate section wins", "[S]\nA=1\n[T]\n[S]\nA=2\nB=3\n", "S", "B", 0, "dflt"},
        {"key of another section", "[S]\nA=1\n[T]\nK=2\n", "S", "K", 0, "dflt"},
        {"commented key", "[S]\n;K=1\n", "S", "K", 0, "dflt"},
        {"line without '=' holds no value", "[S]\nK\nK=2\n", "S", "K", 0, "2"},
        {"key before any section", "K=1\n[S]\n", "S", "K", 0, "dflt"},
        {"missing section", "[T]\nK=1\n", "S", "K", 0, "dflt"},
        {"CRLF line ends", "[S]\r\nK=v\r\nL=w\r\n", "S", "K", 0, "v"},
        {"last line without an end", "[S]\nK=v", "S", "K", 0, "v"},
        {"byte order mark before the first section", "\xEF\xBB\xBF[S]\r\nK=v\r\n", "S", "K", 0,
         "v"},
        {"UTF-8 value", "[S]\nK=中文路径\n", "S", "K", 0, "中文路径"},
        {"cut to buffer size less one", "[S]\nK=abcdef\n", "S", "K", 4, "abc"},
        {"cut counts characters, not bytes", "[S]\nK=中文路径\n", "S", "K", 3, "中文"},
        // A three-byte character straddles byte 2: it is dropped whole, not split.
        {"cut never splits a character", "[S]\nK=a中b\n", "S", "K", 2, "a"},
        {"buffer of one holds nothing", "[S]\nK=abc\n", "S", "K", 1, ""},
        {"value shorter than the buffer", "[S]\nK=abc\n", "S", "K", 260, "abc"},
        {"the default is cut too", "[S]\n", "S", "K", 3, "df"},
        {"long value read whole", "[S]\nK=" + longValue + "\n", "S", "K", ini::kWholeValue,
         longValue},
        {"long value cut at 259", "[S]\nK=" + longValue + "\n", "S", "K", 260,
         std::string(259, 'x')},
    };
    ScratchFolder folder;
    const auto file = folder / "case.ini";
    for (const Case& c : cases) {
        WriteFile(file, c.file);
        EXPECT_EQ(ini::GetString(file, c.section, c.key, "dflt", c.bufferChars), c.expected)
            << c.name;
    }
}

TEST(IniProfileTest, MissingOrUnreadableFileGivesTheDefault) {
    ScratchFolder folder;
    EXPECT_EQ(ini::GetString(folder / "absent.ini", "S", "K", "dflt"), "dflt");
    EXPECT_EQ(ini::GetString(folder / "no" / "such" / "x.ini", "S", "K", "dflt"), "dflt");
    EXPECT_EQ(ini::GetString(folder.Path(), "S", "K", "dflt"), "dflt");
    EXPECT_FALSE(ini::FindString(folder / "absent.ini", "S", "K").has_value());
}

TEST(IniProfileTest, FindStringTellsAnEmptyValueFromAMissingOne) {
    ScratchFolder folder;
    const auto file = folder / "f.ini";
    WriteFile(file, "[S]\nEmpty=\n");
    EXPECT_EQ(ini::FindString(file, "s", "empty"), std::optional<std::string>(""));
    EXPECT_EQ(ini::FindString(file, "S", "Other"), std::nullopt);
}

TEST(IniProfileTest, WritingChangesOnlyTheOneLine) {
    struct Case {
        const char* name;
        std::string before;
        std::string section;
        std::string key;
        std::string value;
        std::string after;
    };
    const Case cases[] = {
        {"replaced in place, CRLF, comments and other sections kept",
         "; head\r\n[Other]\r\nKey=x\r\n[install]\r\n  key = old \r\n; c\r\nNext=1\r\n", "Install",
         "Key", "new", "; head\r\n[Other]\r\nKey=x\r\n[install]\r\n  key=new\r\n; c\r\nNext=1\r\n"},
        {"the key keeps its spelling in the file", "[S]\nDownloadUrl=a\n", "s", "downloadurl", "b",
         "[S]\nDownloadUrl=b\n"},
        {"only the first duplicate key changes", "[S]\nK=1\nK=2\n", "S", "K", "3",
         "[S]\nK=3\nK=2\n"},
        {"missing key goes after the section's last key line",
         "[Install]\na=1\nb=2\n\n; trailing comment\n[Next]\nc=3\n", "Install", "new", "v",
         "[Install]\na=1\nb=2\nnew=v\n\n; trailing comment\n[Next]\nc=3\n"},
        {"section without keys gets it after its header", "[Install]\n; only a comment\n",
         "Install", "k", "v", "[Install]\nk=v\n; only a comment\n"},
        {"written into the first of duplicate sections", "[S]\na=1\n[T]\n[S]\nb=2\n", "S", "b", "3",
         "[S]\na=1\nb=3\n[T]\n[S]\nb=2\n"},
        {"last line without an end", "[A]\nx=1", "A", "y", "2", "[A]\nx=1\ny=2\n"},
        {"missing section appended", "[A]\nx=1\n", "Install", "k", "v",
         "[A]\nx=1\n\n[Install]\nk=v\n"},
        {"appended section follows the CRLF style", "[A]\r\nx=1", "B", "k", "v",
         "[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n"},
        {"empty file", "", "S", "k", "v", "[S]\nk=v\n"},
        {"byte order mark kept", "\xEF\xBB\xBF[S]\r\nk=1\r\n", "S", "k", "2",
         "\xEF\xBB\xBF[S]\r\nk=2\r\n"},
        {"value emptied", "[S]\nk=1\n", "S", "k", "", "[S]\nk=\n"},
    };
    ScratchFolder folder;
    const auto file = folder / "case.ini";
    for (const Case& c : cases) {
        WriteFile(file, c.before);
        EXPECT_TRUE(ini::WriteString(file, c.section, c.key, c.value)) << c.name;
        EXPECT_EQ(ReadFile(file), c.after) << c.name;
    }
}

TEST(IniProfileTest, WritingCreatesTheFileButNotItsFolder) {
    ScratchFolder folder;
    const auto file = folder / "set.ini";
    ASSERT_TRUE(ini::WriteString(file, "Install", "AppName", "Quorvex"));
    ASSERT_TRUE(ini::WriteString(file, "Install", "DeviceID", "0123ABCD"));
    EXPECT_EQ(ReadFile(file), "[Install]\nAppName=Quorvex\nDeviceID=0123ABCD\n");
    EXPECT_EQ(ini::GetString(file, "install", "appname", ""), "Quorvex");

    EXPECT_FALSE(ini::WriteString(folder / "missing" / "set.ini", "S", "K", "V"));
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

TEST(IniProfileTest, RefusesWhatCannotBeReadBackAndLeavesTheFileAlone) {
    struct Case {
        const char* name;
        std::string section;
        std::string key;
        std::string value;
    };
    const Case cases[] = {
        {"LF in value", "S", "K", "a\nb=c"},
        {"CR in value", "S", "K", "a\rb"},
        {"line break in key", "S", "K\n[T]", "v"},
        {"line break in section", "S]\nK=evil\n[S", "K", "v"},
        {"blank section", " ", "K", "v"},
        {"blank key", "S", "", "v"},
        {"']' in section", "a]b", "K", "v"},
        {"'=' in key", "S", "a=b", "v"},
        {"key that reads as a comment", "S", ";K", "v"},
        {"key that reads as a section", "S", "[K]", "v"},
    };
    ScratchFolder folder;
    const auto file = folder / "keep.ini";
    const std::string original = "[S]\r\nK=1\r\n";
    WriteFile(file, original);
    for (const Case& c : cases) {
        EXPECT_FALSE(ini::WriteString(file, c.section, c.key, c.value)) << c.name;
        EXPECT_EQ(ReadFile(file), original) << c.name;
    }
}

TEST(IniProfileTest, AFolderInThePlaceOfTheFileIsNotReplaced) {
    ScratchFolder folder;
    const auto file = folder / "set.ini";
    std::filesystem::create_directory(file);
    WriteFile(file / "inside", "x");
    EXPECT_FALSE(ini::WriteString(file, "S", "K", "V"));
    EXPECT_TRUE(std::filesystem::is_directory(file));
    EXPECT_EQ(ReadFile(file / "inside"), "x");
}

TEST(IniProfileTest, RewriteLeavesNoTemporaryFileAndKeepsPermissions) {
    ScratchFolder folder;
    const auto file = folder / "set.ini";
    WriteFile(file, "[S]\nK=0\n");
    ASSERT_EQ(chmod(file.c_str(), 0640), 0);
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(ini::WriteString(file, "S", "K" + std::to_string(i), "v"));
    }
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"set.ini"});
    struct stat info {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(IniProfileTest, WritingThroughASymbolicLinkUpdatesItsTarget) {
    ScratchFolder folder;
    const auto target = folder / "real.ini";
    const auto link = folder / "link.ini";
    WriteFile(target, "[S]\nK=1\n");
    std::filesystem::create_symlink(target, link);
    ASSERT_TRUE(ini::WriteString(link, "S", "K", "2"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFile(target), "[S]\nK=2\n");
}

TEST(IniProfileTest, ConcurrentWritersInOneProcessLoseNoValue) {
    ScratchFolder folder;
    const auto file = folder / "shared.ini";
    constexpr int kPerThread = 10;
    std::vector<std::thread> writers;
    for (int t = 0; t < 3; ++t) {
        writers.emplace_back([&, t] {
            for (int i = 0; i < kPerThread; ++i) {
                ini::WriteString(file, "S", "T" + std::to_string(t) + "_" + std::to_string(i), "v");
            }
        });
    }
    for (std::thread& writer : writers) {
        writer.join();
    }
    for (int t = 0; t < 3; ++t) {
        for (int i = 0; i < kPerThread; ++i) {
            const std::string key = "T" + std::to_string(t) + "_" + std::to_string(i);
            EXPECT_EQ(ini::GetString(file, "S", key, "lost"), "v") << key;
        }
    }
}

// Random texts built from the characters the parser cares about: every lookup must stay
// inside the input, and a value set into any text must read back.
TEST(IniProfileTest, AnyTextCanBeSearchedAndAValueSetIntoItReadsBack) {
    const std::string pieces[] = {"[",
                                  "]",
                                  "=",
                                  "\n",
                                  "\r",
                                  "\r\n",
                                  " ",
                                  ";",
                                  "\"",
                                  "'",
                                  "S",
                                  "s",
                                  "K",
                                  "k",
                                  "[S]",
                                  "\t",
                                  "\xEF\xBB\xBF",
                                  "\xE4",
                                  std::string(1, '\0')};
    std::mt19937 random(20240611);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i) {
            text += pieces[random() % std::size(pieces)];
        }
        // Under the address sanitizer this catches any read outside the text.
        const auto before = ini::FindValue(text, "S", "K");
        EXPECT_LE(before.value_or("").size(), text.size());
        const std::string after = ini::SetValue(text, "S", "K", "value", "\n");
        EXPECT_EQ(ini::FindValue(after, "s", "k"), std::optional<std::string_view>("value"))
            << "text: " << testing::PrintToString(text);
    }
}

}  // namespace
