// The skin linked into the program: every layout and picture present with its size, and
// layouts that parse and name only pictures the archive holds.

#include <fmt/format.h>
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "skin/skin_archive_data.h"
#include "uiframework/archive/skin_archive.h"

namespace uiframework {
namespace {

struct Size {
    int width;
    int height;
    friend bool operator==(const Size&, const Size&) = default;
};

const SkinArchive& Shipped() {
    static const std::optional<SkinArchive> archive = [] {
        std::string error;
        auto opened = SkinArchive::Open(skin::EmbeddedSkinArchive(), &error);
        if (!opened) {
            // Every test here needs the archive; nothing sensible can follow.
            std::fprintf(stderr, "the embedded skin archive does not open: %s\n", error.c_str());
            std::abort();
        }
        return opened;
    }();
    return *archive;
}

// Width and height from the IHDR chunk, which a PNG file must start with.
std::optional<Size> PngSize(std::string_view png) {
    static constexpr std::string_view kSignature("\x89PNG\r\n\x1a\n", 8);
    if (png.size() < 24 || png.substr(0, 8) != kSignature || png.substr(12, 4) != "IHDR") {
        return std::nullopt;
    }
    const auto be32 = [&](std::size_t at) {
        uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            value = (value << 8) | static_cast<unsigned char>(png[at + i]);
        }
        return static_cast<int>(value);
    };
    return Size{be32(16), be32(20)};
}

// Entry name → pixel size for every picture of the skin.
std::map<std::string, Size> ExpectedPictures() {
    std::map<std::string, Size> pictures;
    const auto numbered = [&](const std::string& stem, int count, Size size) {
        for (int i = 1; i <= count; ++i) {
            pictures[fmt::format("{}{}.png", stem, i)] = size;
        }
    };
    const std::string main = "res/mainWnd/";
    numbered(main + "bg", 4, {600, 400});
    pictures[main + "logo.png"] = {296, 58};
    numbered(main + "installBtn", 3, {200, 46});
    numbered(main + "experienceBtn", 3, {200, 46});
    numbered(main + "chDirBtn", 3, {81, 36});
    numbered(main + "backBtn", 3, {64, 30});
    numbered(main + "customeBtn", 2, {16, 16});
    numbered(main + "Cb", 2, {15, 14});
    pictures[main + "installDirEdit.png"] = {340, 36};
    pictures[main + "installPrg1.png"] = {410, 8};
    pictures[main + "installPrg2.png"] = {520, 8};
    pictures[main + "finished.png"] = {80, 80};
    pictures[main + "tipLbl.png"] = {120, 36};
    for (int frame = 0; frame < 25; ++frame) {
        pictures[fmt::format("{}installBtnAnimate/{:03d}.png", main, frame)] = {160, 160};
    }
    numbered("res/common/minbtn", 3, {24, 24});
    numbered("res/common/closebtn", 3, {24, 24});
    numbered("res/common/closebtnM_", 3, {24, 24});
    for (const char* icon : {"icoWarn", "icoQuest", "icoNetwork"}) {
        pictures[fmt::format("res/MessageBoxWnd/{}.png", icon)] = {40, 40};
    }
    return pictures;
}

const char* const kLayoutEntries[] = {
    "mainWnd.xml",    "MessageBox1Wnd.xml",      "MessageBox2Wnd.xml",
    "exitTipWnd.xml", "InstalledPathTipWnd.xml", "NetworkTipWnd.xml",
};

// Names the layouts give for pictures that the skin leaves out on purpose.
const std::set<std::string> kAbsentPictures = {
    "res\\common\\minbtn4.png",
    "res\\common\\closebtn4.png",
    "res\\common\\closebtnM_4.png",
};

pugi::xml_document ParseLayout(std::string_view requested) {
    pugi::xml_document document;
    const auto text = Shipped().Find(requested);
    EXPECT_TRUE(text) << requested;
    if (text) {
        const pugi::xml_parse_result result = document.load_buffer(text->data(), text->size());
        EXPECT_TRUE(result) << requested << ": " << result.description() << " at " << result.offset;
    }
    return document;
}

TEST(ShippedSkin, HoldsExactlyTheLayoutsAndPicturesAtTheirSizes) {
    std::map<std::string, Size> expected = ExpectedPictures();
    std::set<std::string> names;
    for (const SkinArchive::Entry& entry : Shipped().entries()) {
        names.insert(entry.name);
    }
    std::set<std::string> wanted(std::begin(kLayoutEntries), std::end(kLayoutEntries));
    for (const auto& [name, size] : expected) {
        wanted.insert(name);
    }
    EXPECT_EQ(names, wanted);
    EXPECT_EQ(Shipped().entries().size(), wanted.size()) << "duplicate entries";

    for (const auto& [name, size] : expected) {
        const auto bytes = Shipped().Find(name);
        ASSERT_TRUE(bytes) << name;
        EXPECT_EQ(PngSize(*bytes), size) << name;
    }
    for (const char* missing :
         {"res\\mainWnd\\installPrg3.png", "res\\common\\minbtn4.png", "res\\common\\closebtn4.png",
          "res\\common\\closebtnM_4.png", "language.json"}) {
        EXPECT_FALSE(Shipped().Find(missing)) << missing;
    }
}

TEST(ShippedSkin, WindowsFindTheirLayoutsUnderTheNamesTheyAskFor) {
    const struct {
        const char* requested;
        Size size;
    } layouts[] = {
        {"MainWnd.xml", {600, 400}},
        {"MessageBox1Wnd.xml", {360, 180}},
        {"MessageBox2Wnd.xml", {360, 180}},
        {"ExitTipWnd.xml", {360, 180}},
        {"InstalledPathTipWnd.xml", {400, 180}},
        {"NetworkTipWnd.xml", {360, 180}},
    };
    for (const auto& layout : layouts) {
        const pugi::xml_document document = ParseLayout(layout.requested);
        const pugi::xml_node window = document.document_element();
        EXPECT_STREQ(window.name(), "Window") << layout.requested;
        EXPECT_EQ(window.attribute("size").as_string(),
                  fmt::format("{},{}", layout.size.width, layout.size.height))
            << layout.requested;
    }
}

// The file part of an image attribute: a bare name or file='...'.
std::string ImageFile(std::string_view value) {
    const std::size_t key = value.find("file='");
    if (key == std::string_view::npos) {
        return std::string(value);
    }
    const std::size_t start = key + 6;
    return std::string(value.substr(start, value.find('\'', start) - start));
}

TEST(ShippedSkin, LayoutsNameOnlyPicturesTheArchiveHolds) {
    const std::set<std::string_view> imageAttributes = {
        "bkimage",       "normalimage",   "hotimage", "pushedimage",
        "selectedimage", "disabledimage", "foreimage"};
    for (const char* layout : kLayoutEntries) {
        const pugi::xml_document document = ParseLayout(layout);
        for (const pugi::xpath_node& found : document.select_nodes("//*")) {
            for (const pugi::xml_attribute& attribute : found.node().attributes()) {
                if (!imageAttributes.contains(attribute.name())) {
                    continue;
                }
                const std::string file = ImageFile(attribute.value());
                if (kAbsentPictures.contains(file)) {
                    continue;
                }
                EXPECT_TRUE(Shipped().Find(file))
                    << layout << ": " << found.node().attribute("name").value() << " "
                    << attribute.name() << " names \"" << file << "\"";
            }
        }
    }
}

pugi::xml_node Named(const pugi::xml_document& document, const char* name) {
    return document.find_node([name](pugi::xml_node node) {
        return std::string_view(node.attribute("name").value()) == name;
    });
}

TEST(ShippedSkin, MainWindowBindsItsControlsWithTheirStartStates) {
    const pugi::xml_document document = ParseLayout("MainWnd.xml");
    const struct {
        const char* name;
        const char* kind;
        const char* text;
    } controls[] = {
        {"winCtn", "VerticalLayout", ""},
        {"titleTabLt", "TabLayout", ""},
        {"mainTabLt", "TabLayout", ""},
        {"titleGrpCtn", "HorizontalLayout", ""},
        {"minbtn", "Button", ""},
        {"closebtn", "Button", ""},
        {"backBtn", "Button", ""},
        {"defaultInstallBtn", "Button", "立即安装"},
        {"tipLbl", "Label", ""},
        {"treatyCb", "CheckBox", "已同意"},
        {"treatyBtn", "CheckBox", "《用户许可协议》"},
        {"customeBtn", "Button", "自定义安装"},
        {"installDirEdit", "Edit", ""},
        {"chDirBtn", "Button", "浏览"},
        {"createDSCb", "CheckBox", "创建桌面快捷方式"},
        {"createQSCb", "CheckBox", "添加到快速启动栏"},
        {"customeInstallBtn", "Button", "立即安装"},
        {"progressAnLb", "SequenceLabel", ""},
        {"progressLb", "Label", "正在安装中:0%，请稍候..."},
        {"installPrg", "Progress", ""},
        {"openProduceBtn", "Button", "立即体验"},
    };
    for (const auto& control : controls) {
        const pugi::xml_node node = Named(document, control.name);
        EXPECT_STREQ(node.name(), control.kind) << control.name;
        EXPECT_STREQ(node.attribute("text").value(), control.text) << control.name;
    }
    for (const char* absent : {"installLogo", "languageCombo", "serviceCb", "softNameLbl",
                               "finishedLbl", "bTitleLbl1", "bTitleLbl2", "bTitleLbl3"}) {
        EXPECT_FALSE(Named(document, absent)) << absent;
    }

    const auto pages = [&](const char* tab) {
        const pugi::xml_node node = Named(document, tab);
        return std::distance(node.children().begin(), node.children().end());
    };
    EXPECT_EQ(pages("mainTabLt"), 4);
    EXPECT_EQ(pages("titleTabLt"), 3);
    EXPECT_STREQ(Named(document, "backBtn").parent().parent().attribute("name").value(),
                 "titleTabLt");

    EXPECT_STREQ(Named(document, "tipLbl").attribute("visible").value(), "false");
    for (const char* agreement : {"treatyCb", "treatyBtn"}) {
        const pugi::xml_node box = Named(document, agreement);
        EXPECT_STREQ(box.attribute("selected").value(), "true") << agreement;
        EXPECT_STREQ(box.parent().attribute("visible").value(), "false") << agreement;
    }

    const pugi::xml_node animation = Named(document, "progressAnLb");
    EXPECT_STREQ(animation.attribute("sequencebkimage").value(),
                 "res\\mainWnd\\installBtnAnimate\\%.3d.png");
    EXPECT_EQ(animation.attribute("sequencecount").as_int(), 25);
    for (int frame = 0; frame < 25; ++frame) {
        EXPECT_TRUE(
            Shipped().Find(fmt::format("res\\mainWnd\\installBtnAnimate\\{:03d}.png", frame)))
            << frame;
    }
}

TEST(ShippedSkin, DialogsBindTheirControlsInTheirButtonOrder) {
    const struct {
        const char* layout;
        std::vector<const char*> named;  // in document order
    } dialogs[] = {
        {"MessageBox1Wnd.xml", {"captionLbl", "closebtn", "textLbl"}},
        {"MessageBox2Wnd.xml", {"captionLbl", "closebtn", "textLbl"}},
        // The exit question puts "是" first; the other tips lead with cancelBtn.
        {"ExitTipWnd.xml", {"closebtn", "okBtn", "cancelBtn"}},
        {"InstalledPathTipWnd.xml", {"closebtn", "cancelBtn", "okBtn"}},
        {"NetworkTipWnd.xml", {"closebtn", "cancelBtn", "okBtn"}},
    };
    for (const auto& dialog : dialogs) {
        const pugi::xml_document document = ParseLayout(dialog.layout);
        std::vector<std::string> named;
        for (const pugi::xpath_node& found :
             document.select_nodes("//*[@name and not(self::Font)]")) {
            named.emplace_back(found.node().attribute("name").value());
        }
        EXPECT_EQ(named, std::vector<std::string>(dialog.named.begin(), dialog.named.end()))
            << dialog.layout;
    }
}

}  // namespace
}  // namespace uiframework
