#include <gtest/gtest.h>

#include "TypeDeclarations.h"

namespace {

using kelvo_layers::TypeDeclaration;
using kelvo_layers::TypeDeclarations;
using Found = std::vector<TypeDeclaration>;

TypeDeclaration ahead(const std::string& type, int line) {
    return {type, line, false};
}

TypeDeclaration defined(const std::string& type, int line) {
    return {type, line, true};
}

TEST(TypeDeclarations, ClassesAndStructsAreNamedWithTheirNamespaces) {
    const std::string text =
        "class Top;\n"
        "namespace kelvo {\n"
        "struct Record {\n"
        "    int x = 0;\n"
        "};\n"
        "namespace sim {\n"
        "class Desktop;\n"
        "}  // namespace sim\n"
        "class Store final : public Base<int> {};\n"
        "}  // namespace kelvo\n"
        "namespace kelvo::testing { union Cell; }\n"
        "inline namespace v1 { struct Versioned {}; }\n"
        "namespace {\n"
        "struct Local {};\n"
        "}\n"
        "extern \"C\" {\n"
        "struct c_handle;\n"
        "}\n";
    EXPECT_EQ(TypeDeclarations::of(text),
              (Found{ahead("Top", 1), defined("kelvo::Record", 3), ahead("kelvo::sim::Desktop", 7),
                     defined("kelvo::Store", 9), ahead("kelvo::testing::Cell", 11),
                     defined("v1::Versioned", 12), defined("(anonymous)::Local", 14),
                     ahead("c_handle", 17)}));
}

TEST(TypeDeclarations, TemplatesCountAndSpecializationsDoNot) {
    const std::string text =
        "template <class T, std::size_t N>\n"
        "class Ring;\n"
        "template <class T>\n"
        "struct Box {\n"
        "};\n"
        "namespace std {\n"
        "template <>\n"
        "struct hash<Box<int>> {};\n"
        "}\n";
    EXPECT_EQ(TypeDeclarations::of(text), (Found{ahead("Ring", 2), defined("Box", 4)}));
}

TEST(TypeDeclarations, NestedLocalAndEnumeratedTypesAreNotCounted) {
    const std::string text =
        "class Outer {\n"
        "    class Impl;\n"
        "    struct Inner {};\n"
        "    friend class Other;\n"
        "};\n"
        "enum class Kind;\n"
        "enum class Mode : int { a, b };\n"
        "void f() {\n"
        "    struct Step;\n"
        "    struct Step {};\n"
        "}\n"
        "using Alias = struct Named;\n"
        "namespace fs = std::filesystem;\n"
        "struct stat status;\n";
    EXPECT_EQ(TypeDeclarations::of(text), Found{defined("Outer", 1)});
}

TEST(TypeDeclarations, CommentsLiteralsAndDirectivesAreNotRead) {
    // Braces and declarations inside them would otherwise open scopes and name types.
    const std::string text =
        "// class InALineComment;\n"
        "/* struct InABlock;\n"
        "   namespace open { */\n"
        "#define MAKE(name) struct name { \\\n"
        "    }\n"
        "#define BEGIN_KELVO namespace kelvo {\n"
        "const char* brace = \"{ class InAString;\";\n"
        "const char quote = '\"';\n"
        "const char open = '{';\n"
        "const char* raw = R\"x(\n"
        "} class InARawString; \")\"\n"
        ")x\";\n"
        "const int big = 1'000'000;\n"
        "const char* wide = u8\"{\";\n"
        "class After;\n";
    EXPECT_EQ(TypeDeclarations::of(text), Found{ahead("After", 15)});
}

}  // namespace
