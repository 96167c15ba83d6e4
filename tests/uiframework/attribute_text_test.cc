#include "uiframework/attribute_text.h"

#include <gtest/gtest.h>

#include "uiframework/image_attributes.h"

namespace uiframework {
namespace {

TEST(AttributeTextTest, ColoursAreArgbAfterHashOrHexPrefix) {
    struct Case {
        const char* text;
        std::optional<Color> expected;
    };
    const Case cases[] = {
        {"#FF8991AF", 0xFF8991AF},   {"0xFF1675FE", 0xFF1675FE},
        {"#26003B76", 0x26003B76},                             // translucent: alpha kept
        {"#0xFFF5FAFE", 0xFFF5FAFE}, {"#ffffff", 0xFFFFFFFF},  // six digits: opaque, not invisible
        {"#FF12", std::nullopt},     {"#GG000000", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseColor(c.text), c.expected) << c.text;
    }
}

TEST(AttributeTextTest, SizesAndRectanglesNeedAllTheirNumbers) {
    EXPECT_EQ(ParseSize("600,400"), (Size{600, 400}));
    EXPECT_EQ(ParseRect("0,0,0,35"), (Rect{0, 0, 0, 35}));
    EXPECT_EQ(ParseInsets(" 26, 0 ,0,0"), (Insets{26, 0, 0, 0}));
    EXPECT_FALSE(ParseSize("600"));
    EXPECT_FALSE(ParseRect("1,2,3"));
    EXPECT_FALSE(ParseRect("1,2,3,4,5"));
    EXPECT_FALSE(ParseInt("12px"));
}

TEST(AttributeTextTest, LeadingNumbersReadLikeTheCLibrary) {
    EXPECT_EQ(LeadingInt("25"), 25);
    EXPECT_EQ(LeadingInt("-7abc"), -7);
    EXPECT_EQ(LeadingInt("abc"), 0);
    EXPECT_EQ(LeadingInts("1,1", 2), (std::vector<int>{1, 1}));
    EXPECT_EQ(LeadingInts("2 3;4|5", 4), (std::vector<int>{2, 3, 4, 5}));
    EXPECT_EQ(LeadingInts("-3", 2), (std::vector<int>{-3, 0}));
    EXPECT_EQ(LeadingHex("#26003B76"), 0x26003B76u);
    EXPECT_EQ(LeadingHex("FFEDF0F4"), 0xFFEDF0F4u);
    EXPECT_EQ(LeadingHex("zz"), 0u);
}

TEST(ImageSpecTest, ReadsBareNamesAndKeyLists) {
    EXPECT_EQ(ParseImageAttributes("res\\mainWnd\\bg1.png").file, "res\\mainWnd\\bg1.png");

    ImageAttributes attributes = ParseImageAttributes(
        "file='res\\mainWnd\\Cb1.png' dest='0,2,15,16' source='1,1,9,9' corner='2,2,2,2' "
        "fade='128' hole='true'");
    EXPECT_EQ(attributes.file, "res\\mainWnd\\Cb1.png");
    EXPECT_EQ(attributes.dest, (Rect{0, 2, 15, 16}));
    EXPECT_EQ(attributes.source, (Rect{1, 1, 9, 9}));
    EXPECT_EQ(attributes.corner, (Insets{2, 2, 2, 2}));
    EXPECT_EQ(attributes.fade, 128);
    EXPECT_TRUE(attributes.hole);

    ImageAttributes bad = ParseImageAttributes("file=\"a.png\" dest='1,2' fade='999'");
    EXPECT_EQ(bad.file, "a.png");
    EXPECT_FALSE(bad.dest);
    EXPECT_EQ(bad.fade, 255);
}

}  // namespace
}  // namespace uiframework
