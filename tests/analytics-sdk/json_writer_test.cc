#include "analytics-sdk/json_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>

#include "sdk_test_support.h"

namespace {

using analytics_sdk::FormatNumber;
using analytics_sdk::PropertiesNode;
using analytics_sdk::ToJson;
using analytics_sdk::utils::ObjectNode;

TEST(JsonWriter, KeysInByteOrderWithoutWhiteSpace) {
    ObjectNode node;
    node.SetNumber("a", 1);
    node.SetNumber("_", 2);
    node.SetNumber("Z", 3);
    node.SetNumber("A", 4);
    node.SetNumber("$a", 5);
    EXPECT_EQ(ToJson(node), R"({"$a":5,"A":4,"Z":3,"_":2,"a":1})");
    EXPECT_EQ(ToJson(ObjectNode()), "{}");
}

TEST(JsonWriter, EveryKindHasItsForm) {
    ObjectNode inner;
    inner.SetBool("t", true);
    ObjectNode node;
    node.SetNumber("a", 0.5);
    node.SetNumber("b", int64_t{-9223372036854775807 - 1});
    node.SetString("c", "text");
    node.SetList("d", {"x", "y\"z"});
    node.SetList("e", {});
    node.SetBool("f", false);
    node.SetObject("g", inner);
    EXPECT_EQ(ToJson(node),
              R"({"a":0.5,"b":-9223372036854775808,"c":"text","d":["x","y\"z"],"e":[],)"
              R"("f":false,"g":{"t":true}})");
}

TEST(JsonWriter, StringsUseShortEscapesWhereTheyExistAndAlwaysStayValidJson) {
    struct Case {
        std::string text;
        std::string json;
    } cases[] = {
        {"\b\t\n\f\r", R"("\b\t\n\f\r")"},
        {"say \"hi\" \\ bye", R"("say \"hi\" \\ bye")"},
        {"/", R"("/")"},
        // Non-ASCII bytes and DEL are written unchanged.
        {"\xE4\xB8\xAD\x7F", "\"\xE4\xB8\xAD\x7F\""},
        // Control bytes without a short escape.
        {std::string("\x00\x01\x1F", 3), R"("\u0000\u0001\u001F")"},
        {"\x0B", R"("\u000B")"},
    };
    for (const Case& c : cases) {
        ObjectNode node;
        node.SetList("k", {c.text});
        const std::string json = ToJson(node);
        EXPECT_EQ(json, "{\"k\":[" + c.json + "]}");
        EXPECT_EQ(sdktest::ParseJson(json)["k"][0].asString(), c.text);
    }
}

TEST(JsonWriter, NumbersAreShortestInGeneralNotationAndReadBackExactly) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {0.5, "0.5"},
        {1234.5, "1234.5"},
        {1e-05, "1e-05"},
        {1e6, "1e+06"},
        {100000, "100000"},
        {0, "0"},
        {-0.0, "-0"},
        {-2.25, "-2.25"},
        // More than 6 significant digits: no longer cut.
        {1234567.89, "1234567.89"},
        {0.1, "0.1"},
        {1.0 / 3, "0.3333333333333333"},
        {9007199254740993.0, "9007199254740992"},
        {1.7976931348623157e308, "1.7976931348623157e+308"},
        // The smallest subnormal reads back from 6 digits.
        {5e-324, "4.94066e-324"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatNumber(c.value), c.text);
        EXPECT_EQ(std::strtod(FormatNumber(c.value).c_str(), nullptr), c.value) << c.text;
    }
}

TEST(JsonWriter, NumbersThatAreNotFiniteAreLeftOut) {
    ObjectNode node;
    node.SetNumber("a", 1);
    node.SetNumber("b", std::numeric_limits<double>::quiet_NaN());
    node.SetNumber("c", std::numeric_limits<double>::infinity());
    node.SetNumber("d", 2);
    EXPECT_EQ(ToJson(node), R"({"a":1,"d":2})");
    ObjectNode only;
    only.SetNumber("x", -std::numeric_limits<double>::infinity());
    EXPECT_EQ(ToJson(only), "{}");
}

TEST(JsonWriter, KeysAreEscapedOnlyWhenTheyWouldBreakTheText) {
    ObjectNode node;
    node.SetNumber("$valid_Key9", 1);
    node.SetNumber("bad\"key", 2);
    EXPECT_EQ(ToJson(node), R"({"$valid_Key9":1,"bad\"key":2})");
}

class LocalZone {
  public:
    explicit LocalZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            saved_ = old;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~LocalZone() {
        if (saved_) {
            setenv("TZ", saved_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

  private:
    std::optional<std::string> saved_;
};

TEST(JsonWriter, DateTimeIsLocalTimeWithMilliseconds) {
    LocalZone zone("CST-8");  // eight hours east of UTC, no daylight saving
    ObjectNode node;
    node.SetDateTime("t", 0, 5);
    node.SetDateTime("u", 1700000000, 999);
    EXPECT_EQ(ToJson(node), R"({"t":"1970-01-01 08:00:00.005","u":"2023-11-15 06:13:20.999"})");
}

}  // namespace
