#include "analytics-sdk/properties_node.h"

#include <gtest/gtest.h>

#include "support/stderr_capture.h"

namespace {

using analytics_sdk::PropertiesNode;
using analytics_sdk::utils::DateTime;
using analytics_sdk::utils::KindOf;
using analytics_sdk::utils::ObjectNode;
using analytics_sdk::utils::ValueKind;

TEST(PropertiesNode, EachSetterStoresItsKindAndReplacesAnyEarlierValue) {
    ObjectNode inner;
    inner.SetBool("x", true);
    ObjectNode node;
    node.SetString("k", "first");
    struct Case {
        const char* what;
        void (*set)(ObjectNode&, const ObjectNode&);
        ValueKind kind;
    } cases[] = {
        {"double", [](ObjectNode& n, const ObjectNode&) { n.SetNumber("k", 0.5); },
         ValueKind::Number},
        {"int", [](ObjectNode& n, const ObjectNode&) { n.SetNumber("k", 7); }, ValueKind::Int},
        {"long", [](ObjectNode& n, const ObjectNode&) { n.SetNumber("k", 7L); }, ValueKind::Int},
        {"string", [](ObjectNode& n, const ObjectNode&) { n.SetString("k", "v"); },
         ValueKind::String},
        {"list", [](ObjectNode& n, const ObjectNode&) { n.SetList("k", {"a"}); }, ValueKind::List},
        {"datetime", [](ObjectNode& n, const ObjectNode&) { n.SetDateTime("k", 1, 2); },
         ValueKind::DateTime},
        {"bool", [](ObjectNode& n, const ObjectNode&) { n.SetBool("k", false); }, ValueKind::Bool},
        {"object", [](ObjectNode& n, const ObjectNode& o) { n.SetObject("k", o); },
         ValueKind::Object},
    };
    for (const Case& c : cases) {
        c.set(node, inner);
        ASSERT_NE(node.Find("k"), nullptr) << c.what;
        EXPECT_EQ(KindOf(*node.Find("k")), c.kind) << c.what;
        EXPECT_EQ(node.entries().size(), 1u) << c.what;
    }
    EXPECT_EQ(static_cast<int>(ValueKind::Object), 6);
}

TEST(PropertiesNode, ObjectValueIsACopyOfTheNodeAtTheTimeOfSetting) {
    ObjectNode inner;
    inner.SetNumber("a", 1);
    ObjectNode node;
    node.SetObject("o", inner);
    inner.SetNumber("b", 2);
    const auto& stored = std::get<std::shared_ptr<const ObjectNode>>(*node.Find("o"));
    EXPECT_EQ(stored->entries().size(), 1u);
}

TEST(PropertiesNode, RefusesObjectValuesAlsoThroughMerge) {
    ObjectNode inner;
    PropertiesNode properties;
    properties.SetObject("o", inner);
    EXPECT_EQ(properties.Find("o"), nullptr);

    ObjectNode withObject;
    withObject.SetObject("o", inner);
    withObject.SetNumber("n", 1);
    properties.Merge(withObject);
    EXPECT_EQ(properties.Find("o"), nullptr);
    EXPECT_NE(properties.Find("n"), nullptr);
}

TEST(PropertiesNode, MergeKeepsOwnEntriesAndLetsTheOtherNodeWin) {
    PropertiesNode mine;
    mine.SetString("keep", "mine");
    mine.SetString("both", "mine");
    PropertiesNode other;
    other.SetNumber("both", 2);
    other.SetDateTime("new", 10, 20);
    mine.Merge(other);
    EXPECT_EQ(std::get<std::string>(*mine.Find("keep")), "mine");
    EXPECT_EQ(std::get<int64_t>(*mine.Find("both")), 2);
    EXPECT_EQ(std::get<DateTime>(*mine.Find("new")).milliseconds, 20);
    mine.Merge(mine);
    EXPECT_EQ(mine.entries().size(), 3u);
}

TEST(PropertiesNode, RejectedStringLeavesTheKeyUnsetAndAnEarlierValueInPlace) {
    testsupport::StderrCapture capture;
    PropertiesNode node;
    EXPECT_FALSE(node.SetString("fresh", std::string(8193, 'a')));
    EXPECT_EQ(node.Find("fresh"), nullptr);
    node.SetNumber("kept", 1);
    EXPECT_FALSE(node.SetString("kept", "\x7f"));
    EXPECT_EQ(KindOf(*node.Find("kept")), ValueKind::Int);
    EXPECT_TRUE(node.SetString("ok", std::string(8192, 'a')));
    EXPECT_TRUE(node.SetString("null", static_cast<const char*>(nullptr)));
}

}  // namespace
