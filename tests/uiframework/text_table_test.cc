#include "uiframework/text_table.h"

#include <gtest/gtest.h>

namespace uiframework {
namespace {

TEST(LocalizedTextTableTest, ReplacesOnlyTokensWhoseIdentifierIsKnown) {
    LocalizedTextTable table;
    table.Set(104, "low disk");
    table.Set(7, "seven");
    table.Set(7, "SEVEN");  // a second Set replaces

    struct Case {
        const char* text;
        const char* shown;
    };
    const Case cases[] = {
        {"%{104}", "low disk"},
        {"a %{7} b %{104}.", "a SEVEN b low disk."},
        {"%{5}", "%{5}"},  // unknown identifier stays
        {"%{}", "%{}"},    // no digits
        {"%{7", "%{7"},    // unclosed
        {"%{7a}", "%{7a}"},
        {"%%{7}", "%SEVEN"},  // a lone "%" before the token is text
        {"%{%{7}}", "%{SEVEN}"},
        {"%{99999999999}", "%{99999999999}"},  // out of range: not an identifier
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(table.Expand(c.text), c.shown) << c.text;
    }
    EXPECT_EQ(table.Get(104), "low disk");
    EXPECT_FALSE(table.Get(1));
}

}  // namespace
}  // namespace uiframework
