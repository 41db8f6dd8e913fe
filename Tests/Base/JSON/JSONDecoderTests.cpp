#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "Base/JSON/JSONCoding.h"

namespace kelvo {
namespace {

using Kind = DecodingError::Kind;

/// Runs a decode over parsed text and returns the error it raised.
template <class F>
DecodingError errorOf(const std::string& text, F decode) {
    const JSONValue document = JSONNode::parse(text);
    try {
        decode(JSONNode(document));
    } catch (const DecodingError& e) {
        return e;
    }
    ADD_FAILURE() << "no error for " << text;
    return DecodingError(Kind::dataCorrupted, {}, "");
}

TEST(JSONDecoder, ParseRefusesAnythingButOneValue) {
    for (const char* bad : {"", "{", "{} {}", "[1,]", "{'a':1}", "nul", "01", "\"\xFF\"",
                            "// c\n{}", "{\"a\":1,}", "NaN", "Infinity", "1e400", "-1e400"}) {
        try {
            JSONNode::parse(bad);
            ADD_FAILURE() << "accepted: " << bad;
        } catch (const DecodingError& e) {
            EXPECT_EQ(e.kind(), Kind::dataCorrupted);
            EXPECT_TRUE(e.codingPath().empty());
        }
    }
    EXPECT_NO_THROW(JSONNode::parse("  \n{\"a\":[1,2]}\t "));
}

// Line and column count from 1; a column counts characters, so a name with an accent before
// the mistake does not push it along.
TEST(JSONDecoder, TextThatIsNotJSONSaysWhereItGoesWrong) {
    const std::string start = "The given data was not valid JSON. ";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"{\"a\": 1,\n}", "Unexpected character '}' around line 2, column 1."},
        {"{\"caf\u00e9\": 1 x}", "Unexpected character 'x' around line 1, column 12."},
        {"[1,\n 2,\n\n   ;]", "Unexpected character ';' around line 4, column 4."},
        {"{\"a\": [1, 2", "Unexpected end of the text around line 1, column 12."},
        {"", "Unexpected end of the text around line 1, column 1."},
        {"\"a\tb\"", "Unexpected character U+0009 around line 1, column 3."},
        {"\"\xFF\"", "Unexpected byte 0xFF around line 1, column 2."},
        {"[1,\n1e400]", "A number too large for a double ends around line 2, column 5."},
    };
    for (const auto& [text, place] : cases) {
        for (const auto parse : {&JSONNode::parse, &JSONNode::parseDeep}) {
            try {
                parse(text);
                ADD_FAILURE() << "accepted: " << text;
            } catch (const DecodingError& e) {
                EXPECT_EQ(e.debugDescription(), start + place) << text;
                EXPECT_EQ(std::string(e.what()), start + place) << text;
            }
        }
    }
}

// The description names the key path before what is wrong there, so the one line a person
// reads says where to look; the debug description alone stays as it was.
TEST(JSONDecoder, TheDescriptionNamesTheKeyPath) {
    auto wrong = errorOf(R"({"gaps":{"inner":"8"}})",
                         [](const JSONNode& n) { n["gaps"].decode<double>("inner"); });
    EXPECT_EQ(std::string(wrong.what()),
              "gaps.inner: Expected to decode Double but found string instead.");
    EXPECT_EQ(wrong.debugDescription(), "Expected to decode Double but found string instead.");
    auto missing = errorOf(R"({"gaps":{"outer":1}})",
                           [](const JSONNode& n) { n["gaps"].decode<double>("inner"); });
    EXPECT_EQ(std::string(missing.what()), "gaps: No value associated with key \"inner\".");
    auto element = errorOf(R"({"ids":[1,"x"]})",
                           [](const JSONNode& n) { n.decode<std::vector<std::uint32_t>>("ids"); });
    EXPECT_EQ(std::string(element.what()),
              "ids.Index 1: Expected to decode UInt but found string instead.");
    auto top = errorOf("[]", [](const JSONNode& n) { n.boolean(); });
    EXPECT_EQ(std::string(top.what()), "Expected to decode Bool but found array instead.");
}

TEST(JSONDecoder, ParseRefusesNestingBeyondTheLimit) {
    const int limit = JSONNode::maximumDepth;
    EXPECT_NO_THROW(JSONNode::parse(std::string(limit, '[') + std::string(limit, ']')));
    EXPECT_THROW(JSONNode::parse(std::string(limit + 1, '[') + std::string(limit + 1, ']')),
                 DecodingError);
    // Brackets inside strings do not count.
    EXPECT_NO_THROW(JSONNode::parse("\"" + std::string(10000, '[') + "\""));
}

TEST(JSONDecoder, KindsOfFailureCarryTheirPath) {
    auto missing = errorOf(R"({"gaps":{"outer":1}})",
                           [](const JSONNode& n) { n["gaps"].decode<double>("inner"); });
    EXPECT_EQ(missing.kind(), Kind::keyNotFound);
    EXPECT_EQ(missing.missingKey(), "inner");
    EXPECT_EQ(missing.pathText(), "gaps");

    auto wrong = errorOf(R"({"gaps":{"inner":"8"}})",
                         [](const JSONNode& n) { n["gaps"].decode<double>("inner"); });
    EXPECT_EQ(wrong.kind(), Kind::typeMismatch);
    EXPECT_EQ(wrong.pathText(), "gaps.inner");

    auto null = errorOf(R"({"a":null})", [](const JSONNode& n) { n.decode<bool>("a"); });
    EXPECT_EQ(null.kind(), Kind::valueNotFound);
    EXPECT_EQ(null.pathText(), "a");

    auto element = errorOf(R"({"ids":[1,"x"]})",
                           [](const JSONNode& n) { n.decode<std::vector<std::uint32_t>>("ids"); });
    EXPECT_EQ(element.kind(), Kind::typeMismatch);
    EXPECT_EQ(element.pathText(), "ids.Index 1");

    auto notObject = errorOf("[]", [](const JSONNode& n) { n["a"]; });
    EXPECT_EQ(notObject.kind(), Kind::typeMismatch);
}

TEST(JSONDecoder, BooleansAndNumbersAreNotInterchangeable) {
    EXPECT_EQ(errorOf(R"({"a":1})", [](const JSONNode& n) { n.decode<bool>("a"); }).kind(),
              Kind::typeMismatch);
    EXPECT_EQ(errorOf(R"({"a":true})", [](const JSONNode& n) { n.decode<double>("a"); }).kind(),
              Kind::typeMismatch);
    EXPECT_EQ(errorOf(R"({"a":"1"})", [](const JSONNode& n) { n.decode<int>("a"); }).kind(),
              Kind::typeMismatch);
}

struct IntegerCase {
    const char* text;
    bool fitsUInt16, fitsUInt32, fitsInt32, fitsInt64;
};

TEST(JSONDecoder, IntegersAreRangeChecked) {
    const IntegerCase cases[] = {
        {"0", true, true, true, true},
        {"-0", true, true, true, true},
        {"65535", true, true, true, true},
        {"65536", false, true, true, true},
        {"-1", false, false, true, true},
        {"4294967295", false, true, false, true},
        {"4294967296", false, false, false, true},
        {"2147483647", false, true, true, true},
        {"2147483648", false, true, false, true},
        {"-2147483648", false, false, true, true},
        {"-2147483649", false, false, false, true},
        {"9223372036854775807", false, false, false, true},
        {"9223372036854775808", false, false, false, false},
        {"-9223372036854775809", false, false, false, false},
        {"3.0", true, true, true, true},
        {"1e2", true, true, true, true},
        {"3.5", false, false, false, false},
        {"-0.5", false, false, false, false},
    };
    for (const auto& c : cases) {
        const JSONValue doc = JSONNode::parse(c.text);
        const JSONNode node(doc);
        auto fits = [&](auto decode) {
            try {
                decode();
                return true;
            } catch (const DecodingError& e) {
                EXPECT_EQ(e.kind(), Kind::dataCorrupted) << c.text;
                return false;
            }
        };
        EXPECT_EQ(fits([&] { node.integer<std::uint16_t>(); }), c.fitsUInt16) << c.text;
        EXPECT_EQ(fits([&] { node.integer<std::uint32_t>(); }), c.fitsUInt32) << c.text;
        EXPECT_EQ(fits([&] { node.integer<std::int32_t>(); }), c.fitsInt32) << c.text;
        EXPECT_EQ(fits([&] { node.integer<std::int64_t>(); }), c.fitsInt64) << c.text;
    }
    EXPECT_EQ(JSONNode(JSONNode::parse("4294967295")).integer<std::uint32_t>(), 4294967295u);
    EXPECT_EQ(JSONNode(JSONNode::parse("-2147483648")).integer<std::int32_t>(), INT32_MIN);
}

TEST(JSONDecoder, DoublesMustBeFinite) {
    EXPECT_EQ(JSONNode(JSONNode::parse("12")).number(), 12.0);
    EXPECT_EQ(JSONNode(JSONNode::parse("18446744073709551615")).number(), 18446744073709551615.0);
}

TEST(JSONDecoder, OptionalMembersTreatNullAsAbsent) {
    const JSONValue doc = JSONNode::parse(R"({"a":null,"b":2})");
    const JSONNode node(doc);
    EXPECT_FALSE(node.decodeIfPresent<int>("a"));
    EXPECT_FALSE(node.decodeIfPresent<int>("missing"));
    EXPECT_EQ(node.decodeIfPresent<int>("b"), 2);
    EXPECT_TRUE(node.contains("a"));
}

TEST(JSONDecoder, KeysComeInDocumentOrder) {
    const JSONValue doc = JSONNode::parse(R"({"b":1,"a":2,"c":3})");
    EXPECT_EQ(JSONNode(doc).keys(), (std::vector<std::string>{"b", "a", "c"}));
}

}  // namespace
}  // namespace kelvo
