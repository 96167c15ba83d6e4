#include "analytics-sdk/validation.h"

#include <gtest/gtest.h>

#include "analytics-sdk/properties_node.h"
#include "support/stderr_capture.h"

namespace {

using namespace analytics_sdk;
using testsupport::StderrCapture;

TEST(Validation, IdentifierLengthMessagesEndTheLine) {
    struct Case {
        std::string value;
        bool ok;
        std::string message;
    } cases[] = {
        {"", false, "The Distinct ID is empty.\n"},
        {std::string(256, 'x'), false, "The Distinct ID is too long, max length is 255.\n"},
        {std::string(255, 'x'), true, ""},
        {"u", true, ""},
        // Any bytes are allowed; only the length counts.
        {"user id #1 ü", true, ""},
    };
    for (const Case& c : cases) {
        StderrCapture capture;
        EXPECT_EQ(CheckIdentifier("Distinct ID", c.value), c.ok) << c.value;
        EXPECT_EQ(capture.Text(), c.message) << c.value;
    }
    StderrCapture capture;
    CheckIdentifier("Original ID", "");
    EXPECT_EQ(capture.Text(), "The Original ID is empty.\n");
}

TEST(Validation, NameRulesAndTheirMessagesWithoutLineEnd) {
    const std::string tooLong = "The Event Name is empty or too long, max length is 100";
    const std::string invalid = "The Event Name need to be a valid variable name.";
    struct Case {
        std::string name;
        std::string message;  // empty: accepted
    } cases[] = {
        {"app_start", ""},
        {"$SignUp", ""},
        {"_private9", ""},
        {"A$b_C9", ""},
        {std::string(100, 'a'), ""},
        {"", tooLong},
        {std::string(101, 'a'), tooLong},
        {"9lives", invalid},
        {"app-start", invalid},
        {"app start", invalid},
        {"app.start", invalid},
        {"\xC3\xA9t\xC3\xA9", invalid},
    };
    for (const Case& c : cases) {
        StderrCapture capture;
        EXPECT_EQ(CheckName("Event Name", c.name), c.message.empty()) << c.name;
        EXPECT_EQ(capture.Text(), c.message) << c.name;
    }
    StderrCapture capture;
    CheckName("Property Key", "a-b");
    EXPECT_EQ(capture.Text(), "The Property Key need to be a valid variable name.");
}

TEST(Validation, PropertiesStopAtTheFirstFailureInKeyOrder) {
    PropertiesNode properties;
    properties.SetNumber("b-second", 1);
    properties.SetNumber("a-first", 1);
    StderrCapture capture;
    EXPECT_FALSE(CheckProperties(properties));
    EXPECT_EQ(capture.Text(), "The Property Key need to be a valid variable name.");
}

TEST(Validation, ReservedPropertiesMustHaveTheirKind) {
    struct Case {
        const char* what;
        void (*fill)(PropertiesNode&);
        std::string message;
    } cases[] = {
        {"$time Int", [](PropertiesNode& p) { p.SetNumber("$time", 5); },
         "The property '$time' should be DateTime type."},
        {"$time String", [](PropertiesNode& p) { p.SetString("$time", "now"); },
         "The property '$time' should be DateTime type."},
        {"$time DateTime", [](PropertiesNode& p) { p.SetDateTime("$time", 5, 0); }, ""},
        {"$project Int", [](PropertiesNode& p) { p.SetNumber("$project", 1); },
         "The property '$project' should be String type."},
        {"$project String", [](PropertiesNode& p) { p.SetString("$project", "pc"); }, ""},
    };
    for (const Case& c : cases) {
        PropertiesNode properties;
        c.fill(properties);
        StderrCapture capture;
        EXPECT_EQ(CheckProperties(properties), c.message.empty()) << c.what;
        EXPECT_EQ(capture.Text(), c.message) << c.what;
    }
}

TEST(Validation, Utf8RuleAcceptsOnlyTheAllowedUnits) {
    struct Case {
        std::string text;
        bool valid;
        const char* why;
    } cases[] = {
        {"", true, "empty"},
        {"plain text ~", true, "printable ASCII"},
        {"\t\n\r", true, "the three allowed control bytes"},
        {"\xC2\x80", true, "smallest two-byte form"},
        {"\xDF\xBF", true, "largest two-byte form"},
        {"\xE0\xA0\x80", true, "smallest three-byte form"},
        {"\xE4\xB8\xAD\xE6\x96\x87", true, "CJK"},
        {"\xED\x9F\xBF", true, "just below the surrogates"},
        {"\xEE\x80\x80", true, "private use"},
        {"\xEF\xBF\xBF", true, "U+FFFF"},
        {"\xF0\x90\x80\x80", true, "smallest four-byte form"},
        {"\xF3\xBF\xBF\xBF", true, "F1-F3 lead"},
        {"\xF4\x8F\xBF\xBF", true, "U+10FFFF"},
        {std::string(1, '\0'), false, "NUL"},
        {"\x01", false, "other control byte"},
        {"\x1B[0m", false, "escape"},
        {"\x7F", false, "DEL"},
        {"\x80", false, "stray continuation"},
        {"\xC0\x80", false, "overlong NUL"},
        {"\xC1\xBF", false, "overlong two-byte"},
        {"\xC2", false, "truncated two-byte"},
        {"\xC2\x41", false, "lead without continuation"},
        {"\xE0\x9F\xBF", false, "overlong three-byte"},
        {"\xED\xA0\x80", false, "surrogate"},
        {"\xE4\xB8", false, "truncated three-byte"},
        {"\xF0\x8F\xBF\xBF", false, "overlong four-byte"},
        {"\xF4\x90\x80\x80", false, "above U+10FFFF"},
        {"\xF5\x80\x80\x80", false, "F5 lead"},
        {"\xFF", false, "FF"},
        {"ok\xE4\xB8\xAD\x80", false, "valid then stray"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsValidUtf8(c.text), c.valid) << c.why;
    }
}

TEST(Validation, StringValueMessagesNameKeyAndValueAndEndTheLine) {
    {
        const std::string value(8193, 'v');
        StderrCapture capture;
        EXPECT_FALSE(CheckStringValue("mx_reason", value));
        EXPECT_EQ(capture.Text(),
                  "String property 'mx_reason' is too long, value: " + value + "\n");
    }
    {
        StderrCapture capture;
        EXPECT_FALSE(CheckStringValue("mx_reason", "bad\x7F"));
        EXPECT_EQ(capture.Text(),
                  "String property 'mx_reason' is not valid UTF-8 string, value: bad\x7F\n");
    }
    {
        // Length is checked first.
        const std::string value(9000, '\x7F');
        StderrCapture capture;
        EXPECT_FALSE(CheckStringValue("k", value));
        EXPECT_EQ(capture.Text().rfind("String property 'k' is too long", 0), 0u);
    }
}

}  // namespace
