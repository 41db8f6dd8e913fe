#include <gtest/gtest.h>

#include <string>

#include "Support/Base/DecodeText.h"
#include "Support/KelvoCore/TreeBuilders.h"

namespace kelvo {
namespace {

std::string written(const LayoutTree& tree) {
    return JSONWriter::write(encodeJSON(tree));
}

LayoutTree read(const std::string& text) {
    return testing::decodeText<LayoutTree>(text);
}

TEST(LayoutTreeJSON, WritesTheExactForm) {
    EXPECT_EQ(written(LayoutTree()), "{}");
    EXPECT_EQ(written(T(L(12))), R"({"root":{"leaf":{"_0":{"raw":12}}}})");
    EXPECT_EQ(written(T(V(0.5, L(1), H(1.0 / 3, L(2), L(3))))),
              R"({"root":{"split":{"axis":{"vertical":{}},"first":{"leaf":{"_0":{"raw":1}}},)"
              R"("ratio":0.5,"second":{"split":{"axis":{"horizontal":{}},)"
              R"("first":{"leaf":{"_0":{"raw":2}}},"ratio":0.3333333333333333,)"
              R"("second":{"leaf":{"_0":{"raw":3}}}}}}}})");
    EXPECT_EQ(written(T(H(1, L(1), L(2)))),
              R"({"root":{"split":{"axis":{"horizontal":{}},"first":{"leaf":{"_0":{"raw":1}}},)"
              R"("ratio":1,"second":{"leaf":{"_0":{"raw":2}}}}}})");
}

TEST(LayoutTreeJSON, RoundTripsExactly) {
    const LayoutTree trees[] = {
        LayoutTree(),
        T(L(4294967295u)),
        LayoutTree::grid(ids({1, 2, 3, 4, 5, 6, 7}), CGRect(0, 0, 1500, 1000)),
        LayoutTree::masterStack(ids({5, 3, 8, 1}), 0.37),
        T(V(0.1 + 0.2, L(1), H(0.95, L(2), L(3)))),
    };
    for (const auto& tree : trees) {
        EXPECT_EQ(read(written(tree)), tree) << written(tree);
        EXPECT_EQ(read(JSONWriter::write(encodeJSON(tree), JSONWriter::prettyPrinted())), tree);
    }
}

TEST(LayoutTreeJSON, ReadsWhatAFileMayHold) {
    struct Row {
        const char* name;
        const char* text;
        LayoutTree tree;
    };
    const Row rows[] = {
        {"no root", R"({})", LayoutTree()},
        {"null root", R"({"root":null})", LayoutTree()},
        {"unknown keys everywhere",
         R"({"root":{"leaf":{"_0":{"raw":3,"x":1},"_1":2},"other":[]},"version":7})", T(L(3))},
        {"ratio beyond the bounds kept",
         R"({"root":{"split":{"axis":{"vertical":{}},"ratio":1.3,)"
         R"("first":{"leaf":{"_0":{"raw":1}}},)"
         R"("second":{"leaf":{"_0":{"raw":2}}},"extra":true}}})",
         T(V(1.3, L(1), L(2)))},
        {"negative ratio kept",
         R"({"root":{"split":{"axis":{"horizontal":{}},"ratio":-2,)"
         R"("first":{"leaf":{"_0":{"raw":1}}},)"
         R"("second":{"leaf":{"_0":{"raw":2}}}}}})",
         T(H(-2, L(1), L(2)))},
        {"one window twice",
         R"({"root":{"split":{"axis":{"vertical":{}},"ratio":0.5,)"
         R"("first":{"leaf":{"_0":{"raw":1}}},)"
         R"("second":{"leaf":{"_0":{"raw":1}}}}}})",
         T(V(0.5, L(1), L(1)))},
    };
    for (const auto& row : rows)
        EXPECT_EQ(read(row.text), row.tree) << row.name;
}

TEST(LayoutTreeJSON, RefusesWhatDoesNotDecode) {
    using Kind = DecodingError::Kind;
    struct Row {
        const char* name;
        const char* text;
        Kind kind;
        const char* path;
        const char* message;  // checked when given
    };
    const char* keys = "Invalid number of keys found, expected one.";
    const Row rows[] = {
        {"both cases", R"({"root":{"leaf":{"_0":{"raw":1}},"split":{}}})", Kind::typeMismatch,
         "root", keys},
        {"no case", R"({"root":{}})", Kind::typeMismatch, "root", keys},
        {"only unknown keys", R"({"root":{"Leaf":{"_0":{"raw":1}}}})", Kind::typeMismatch, "root",
         keys},
        {"leaf without its window", R"({"root":{"leaf":{}}})", Kind::keyNotFound, "root.leaf",
         nullptr},
        {"leaf holding null", R"({"root":{"leaf":null}})", Kind::valueNotFound, "root.leaf",
         nullptr},
        {"window out of range", R"({"root":{"leaf":{"_0":{"raw":4294967296}}}})",
         Kind::dataCorrupted, "root.leaf._0.raw", nullptr},
        {"negative window", R"({"root":{"leaf":{"_0":{"raw":-1}}}})", Kind::dataCorrupted,
         "root.leaf._0.raw", nullptr},
        {"ratio as text",
         R"({"root":{"split":{"axis":{"vertical":{}},"ratio":"0.5","first":{"leaf":{"_0":{"raw":1}}},"second":{"leaf":{"_0":{"raw":2}}}}}})",
         Kind::typeMismatch, "root.split.ratio", nullptr},
        {"missing axis",
         R"({"root":{"split":{"ratio":0.5,"first":{"leaf":{"_0":{"raw":1}}},"second":{"leaf":{"_0":{"raw":2}}}}}})",
         Kind::keyNotFound, "root.split", nullptr},
        {"axis with two cases",
         R"({"root":{"split":{"axis":{"vertical":{},"horizontal":{}},"ratio":0.5,"first":{"leaf":{"_0":{"raw":1}}},"second":{"leaf":{"_0":{"raw":2}}}}}})",
         Kind::typeMismatch, "root.split.axis", keys},
        {"missing second",
         R"({"root":{"split":{"axis":{"vertical":{}},"ratio":0.5,"first":{"leaf":{"_0":{"raw":1}}}}}})",
         Kind::keyNotFound, "root.split", nullptr},
        // A fault inside `first` is met before a missing `second`.
        {"fault in first before missing second",
         R"({"root":{"split":{"axis":{"vertical":{}},"ratio":0.5,"first":{"leaf":{}}}}})",
         Kind::keyNotFound, "root.split.first.leaf", nullptr},
        {"deep fault",
         R"({"root":{"split":{"axis":{"vertical":{}},"ratio":0.5,"first":{"leaf":{"_0":{"raw":1}}},"second":{"split":{"axis":{"vertical":{}},"ratio":0.5,"first":{"leaf":{"_0":{"raw":2}}},"second":{"leaf":{"_0":{"raw":true}}}}}}}})",
         Kind::typeMismatch, "root.split.second.split.second.leaf._0.raw", nullptr},
        {"root not an object", R"({"root":5})", Kind::typeMismatch, "root", nullptr},
        {"tree not an object", R"([])", Kind::typeMismatch, "", nullptr},
        {"split payload not an object", R"({"root":{"split":[]}})", Kind::typeMismatch,
         "root.split", nullptr},
    };
    for (const auto& row : rows) {
        try {
            read(row.text);
            ADD_FAILURE() << row.name << " decoded";
        } catch (const DecodingError& error) {
            EXPECT_EQ(error.kind(), row.kind) << row.name << ": " << error.what();
            EXPECT_EQ(error.pathText(), row.path) << row.name;
            if (row.message) {
                EXPECT_EQ(error.debugDescription(), row.message) << row.name;
            }
        }
    }
}

TEST(LayoutTreeJSON, NodeCodingStandsAlone) {
    const Node node = V(0.25, L(1), L(2));
    const JSONValue json = encodeJSON(node);
    EXPECT_EQ(JSONWriter::write(json),
              R"({"split":{"axis":{"vertical":{}},"first":{"leaf":{"_0":{"raw":1}}},"ratio":0.25,)"
              R"("second":{"leaf":{"_0":{"raw":2}}}}})");
    EXPECT_EQ(JSONNode(json).decode<Node>(), node);
}

/// A chain of `splits` splits written out, nested as deep as that makes it.
std::string chainText(int splits) {
    std::string text = R"({"root":)";
    for (int i = 0; i < splits; ++i)
        text += R"({"split":{"axis":{"horizontal":{}},"ratio":0.5,"second":{"leaf":{"_0":{"raw":)" +
                std::to_string(i + 2) + R"(}}},"first":)";
    text += R"({"leaf":{"_0":{"raw":1}}})";
    for (int i = 0; i < splits; ++i)
        text += "}}";
    return text + "}";
}

TEST(LayoutTreeJSON, DeepNesting) {
    // Each split nests two levels: 250 splits stay within what the reader accepts.
    const LayoutTree deep = read(chainText(250));
    EXPECT_EQ(deep.windows().size(), 251u);
    EXPECT_EQ(deep.windows().front(), W(1));
    EXPECT_THROW(read(chainText(300)), DecodingError);

    // Trees deeper than any file can hold still encode and decode as values.
    const LayoutTree chained = chain(1000);
    const JSONValue json = encodeJSON(chained);
    EXPECT_EQ(JSONNode(json).decode<LayoutTree>(), chained);
}

TEST(LayoutTreeJSON, AChainOfTwentyThousandWindowsIsWrittenAndReadBack) {
    // Some 40,000 levels of nesting: far past what a recursive writer or reader survives.
    const LayoutTree chained = chain(20000);
    const std::string text = written(chained);
    const JSONValue document = JSONNode::parseDeep(text);
    EXPECT_EQ(JSONNode(document).decode<LayoutTree>(), chained);
}

}  // namespace
}  // namespace kelvo
