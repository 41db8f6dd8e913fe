#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Base/JSON/JSONDecoder.h"
#include "Base/JSON/JSONWriter.h"

namespace kelvo {
namespace {

TEST(JSONWriter, CompactOutputSortsKeysAtEveryLevel) {
    JSONValue v = JSONValue::object();
    v["op"] = "state";
    v["ids"] = JSONValue::array({812, 813});
    v["command"] = JSONValue{{"name", "rotate"}, {"desktop", 2}};
    EXPECT_EQ(JSONWriter::write(v),
              R"({"command":{"desktop":2,"name":"rotate"},"ids":[812,813],"op":"state"})");
}

TEST(JSONWriter, KeepsInsertionOrderWhenNotSorting) {
    JSONValue v = JSONValue::object();
    v["b"] = 1;
    v["a"] = 2;
    JSONWriter::Options options;
    options.sortKeys = false;
    EXPECT_EQ(JSONWriter::write(v, options), R"({"b":1,"a":2})");
}

TEST(JSONWriter, NumbersAreShortestAndIntegralDoublesCarryNoFraction) {
    const std::pair<double, const char*> cases[] = {
        {1080.0, "1080"},
        {0.1, "0.1"},
        {-0.5, "-0.5"},
        {500.5, "500.5"},
        {1.0 / 3.0, "0.3333333333333333"},
        {1e22, "1e+22"},
        {123456789.25, "123456789.25"},
        // Round values stay positional as a double's default text is, not 1e+09.
        {1e9, "1000000000"},
        {100000.0, "100000"},
        {1.7e9, "1700000000"},
        {0.0001, "0.0001"},
        {0x1p54, "18014398509481984"},
        {-0.0, "-0"},
        // Beyond that range the exponent form is the default text.
        {0.00001, "1e-05"},
        {1.5e-7, "1.5e-07"},
        {3e17, "3e+17"},
    };
    for (const auto& [d, text] : cases) {
        EXPECT_EQ(JSONWriter::write(JSONValue(d)), text) << d;
        // What is written reads back to the same double.
        EXPECT_EQ(JSONValue::parse(JSONWriter::write(JSONValue(d))).get<double>(), d);
    }
    EXPECT_EQ(JSONWriter::write(JSONValue(std::uint32_t{4294967295u})), "4294967295");
    EXPECT_EQ(JSONWriter::write(JSONValue(std::int64_t{-9223372036854775807 - 1})),
              "-9223372036854775808");
}

TEST(JSONWriter, RefusesNonFiniteNumbersAnywhere) {
    for (double bad : {std::nan(""), std::numeric_limits<double>::infinity(),
                       -std::numeric_limits<double>::infinity()}) {
        EXPECT_THROW(JSONWriter::write(JSONValue(bad)), EncodingError);
        JSONValue nested = JSONValue::object();
        nested["frame"] = JSONValue{{"x", bad}};
        EXPECT_THROW(JSONWriter::write(nested), EncodingError);
    }
}

TEST(JSONWriter, EscapesStrings) {
    EXPECT_EQ(JSONWriter::write(JSONValue("a/b")), R"("a\/b")");
    JSONWriter::Options plainSlash;
    plainSlash.escapeSlash = false;
    EXPECT_EQ(JSONWriter::write(JSONValue("a/b"), plainSlash), R"("a/b")");
    EXPECT_EQ(JSONWriter::write(JSONValue("q\"b\\n\nt\tc\x01")), R"("q\"b\\n\nt\tc\u0001")");
    EXPECT_EQ(JSONWriter::write(JSONValue("Über – ⌥↩")), "\"Über – ⌥↩\"");
}

TEST(JSONWriter, ReplacesMalformedUTF8) {
    // A lone continuation byte, a truncated sequence, an overlong form and a surrogate.
    EXPECT_EQ(JSONWriter::write(JSONValue(std::string("a\x80z"))), "\"a\xEF\xBF\xBDz\"");
    EXPECT_EQ(JSONWriter::write(JSONValue(std::string("\xE2\x8C"))),
              "\"\xEF\xBF\xBD\xEF\xBF\xBD\"");
    EXPECT_EQ(JSONWriter::write(JSONValue(std::string("\xC0\xAF"))),
              "\"\xEF\xBF\xBD\xEF\xBF\xBD\"");
    EXPECT_EQ(JSONWriter::write(JSONValue(std::string("\xED\xA0\x80"))),
              "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"");
}

TEST(JSONWriter, PrettyPrintsWithTwoSpacesAndSpacedColons) {
    JSONValue v = JSONValue::object();
    v["gaps"] = JSONValue{{"outer", 8}, {"inner", 8.5}};
    v["empty"] = JSONValue::object();
    v["list"] = JSONValue::array({1, "x"});
    v["none"] = JSONValue::array();
    EXPECT_EQ(JSONWriter::write(v, JSONWriter::prettyPrinted()),
              "{\n"
              "  \"empty\" : {},\n"
              "  \"gaps\" : {\n"
              "    \"inner\" : 8.5,\n"
              "    \"outer\" : 8\n"
              "  },\n"
              "  \"list\" : [\n"
              "    1,\n"
              "    \"x\"\n"
              "  ],\n"
              "  \"none\" : []\n"
              "}");
}

TEST(JSONWriter, WritesAnyDepthOfNesting) {
    constexpr int depth = 100000;
    JSONValue v = JSONValue::array({1});
    for (int i = 1; i < depth; ++i) {
        JSONValue outer = JSONValue::object();
        outer["a"] = std::move(v);
        v = JSONValue::array({std::move(outer), 2});
    }
    const std::string text = JSONWriter::write(v);
    EXPECT_EQ(text.size(), std::size_t(depth - 1) * std::string(R"([{"a":},2])").size() + 3);
    EXPECT_EQ(text.substr(0, 12), R"([{"a":[{"a":)");
    EXPECT_EQ(text.substr(text.size() - 8), R"(},2]},2])");
    // Read back and written again (comparing values would recurse).
    EXPECT_EQ(JSONWriter::write(JSONNode::parseDeep(text)), text);
}

}  // namespace
}  // namespace kelvo
