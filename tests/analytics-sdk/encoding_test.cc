#include <gtest/gtest.h>

#include "analytics-sdk/form_encoding.h"
#include "analytics-sdk/gzip.h"
#include "support/collection_endpoint.h"

namespace {

using namespace analytics_sdk;

TEST(Base64, Rfc4648Vectors) {
    struct Case {
        std::string in;
        std::string out;
    } cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        // The last two alphabet characters.
        {"\xFB\xFF\xBF", "+/+/"},
        {std::string("\x00\x00", 2), "AAA="},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Base64Encode(c.in), c.out) << c.out;
    }
}

TEST(UrlEncoding, KeepsUnreservedAndEscapesEverythingElseInUpperCase) {
    struct Case {
        std::string in;
        std::string out;
    } cases[] = {
        {"AZaz09-._~", "AZaz09-._~"},
        {"+/=", "%2B%2F%3D"},
        {" &%", "%20%26%25"},
        {"\xE4\xB8\xAD", "%E4%B8%AD"},
        {std::string("\x00\xff", 2), "%00%FF"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UrlEncode(c.in), c.out) << c.out;
    }
}

TEST(UploadBody, DecodesBackToTheBatchTextExactly) {
    // Long enough to span several output chunks of the compressor even at level 9.
    std::string large;
    for (int i = 0; large.size() < 300000; ++i) {
        large += std::to_string(i * 7919 % 100003);
    }
    for (const std::string& text :
         {std::string("[]"), std::string("[{\"a\":\"\xE4\xB8\xAD\"}]"), "[\"" + large + "\"]"}) {
        const std::optional<std::string> compressed = GzipCompress(text);
        ASSERT_TRUE(compressed.has_value());
        // A gzip member: magic bytes, deflate, and "maximum compression" in the flags.
        ASSERT_GE(compressed->size(), 18u);
        EXPECT_EQ(compressed->substr(0, 3), "\x1F\x8B\x08");
        EXPECT_EQ(static_cast<unsigned char>((*compressed)[8]), 2);

        const std::string body = UploadBody(*compressed);
        std::string decoded;
        std::string error;
        ASSERT_TRUE(testsupport::DecodeUploadBody(body, decoded, error)) << error;
        EXPECT_EQ(decoded, text);
    }
}

}  // namespace
