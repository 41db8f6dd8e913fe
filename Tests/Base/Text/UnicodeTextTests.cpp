#include <gtest/gtest.h>

#include "Base/Text/TextSet.h"
#include "Base/Text/UnicodeText.h"

namespace kelvo {
namespace {

TEST(UnicodeText, CountsUserPerceivedCharacters) {
    const std::pair<const char*, std::size_t> rows[] = {
        {"", 0},
        {"abc", 3},
        {"caf\u00e9", 4},
        {"cafe\u0301", 4},
        {"\r\n", 1},
        {"🇩🇪🇫🇷", 2},
        {"👩‍👩‍👧‍👦", 1},
        {"한국어", 3},
        {"\xff\xfe", 2},  // ill-formed bytes each count, none is lost
    };
    for (const auto& [text, count] : rows) {
        EXPECT_EQ(UnicodeText::characterCount(text), count) << text;
    }
    EXPECT_EQ(UnicodeText::characters("ae\u0301b"),
              (std::vector<std::string>{"a", "e\u0301", "b"}));
    EXPECT_EQ(UnicodeText::prefix("ae\u0301b", 2), "ae\u0301");
    EXPECT_EQ(UnicodeText::prefix("ab", 5), "ab");
    EXPECT_EQ(UnicodeText::prefix("ab", 0), "");
}

TEST(UnicodeText, CanonicalEquivalence) {
    EXPECT_TRUE(UnicodeText::canonicallyEquivalent("caf\u00e9", "cafe\u0301"));
    EXPECT_TRUE(UnicodeText::canonicallyEquivalent("\u212b", "\u00c5"));  // Ångström sign
    EXPECT_FALSE(UnicodeText::canonicallyEquivalent("cafe", "caf\u00e9"));
    EXPECT_FALSE(UnicodeText::canonicallyEquivalent("\ufb01", "fi"));  // only compatibility
    EXPECT_LT(UnicodeText::canonicalCompare("a", "b"), 0);
    EXPECT_EQ(UnicodeText::canonicalForm("e\u0301"), "\u00e9");

    TextSet set{"caf\u00e9", "cafe\u0301", "b"};
    EXPECT_EQ(set.size(), 2u);
    EXPECT_EQ(set, (TextSet{"b", "cafe\u0301"}));
    EXPECT_NE(set, (TextSet{"b"}));
    EXPECT_TRUE(set.contains("caf\u00e9"));
}

TEST(UnicodeText, TrimsWhitespaceAndNewlines) {
    EXPECT_EQ(UnicodeText::trimmingWhitespaceAndNewlines(" \t\n\u00a0\u3000x y\r\u2029\u0085"),
              "x y");
    EXPECT_EQ(UnicodeText::trimmingWhitespaceAndNewlines(" \n "), "");
    EXPECT_EQ(UnicodeText::trimmingWhitespaceAndNewlines("\u200bx"), "\u200bx");  // not a space
    EXPECT_EQ(UnicodeText::trimmingWhitespaceAndNewlines(" \xff "), "\xff");
}

TEST(UnicodeText, CaseMappings) {
    EXPECT_EQ(UnicodeText::lowercased("Caf\u00c9 ABC"), "caf\u00e9 abc");
    EXPECT_EQ(UnicodeText::uppercased("stra\u00dfe"), "STRASSE");
    EXPECT_EQ(UnicodeText::lowercased("\u0130"), "i\u0307");
    EXPECT_EQ(UnicodeText::lowercased(""), "");
    EXPECT_EQ(UnicodeText::lowercased("A\xff"
                                      "B"),
              "a\xff"
              "b");  // ill-formed bytes carried through

    EXPECT_EQ(UnicodeText::lowercaseCharacter("A"), "a");
    EXPECT_EQ(UnicodeText::lowercaseCharacter("\u00c9"), "\u00e9");
    EXPECT_EQ(UnicodeText::lowercaseCharacter("E\u0301"), "\u00e9");  // canonical form
    EXPECT_EQ(UnicodeText::lowercaseCharacter("\u0130"), "i\u0307");  // one character of two
    EXPECT_EQ(UnicodeText::lowercaseCharacter("\u1e9e"), "\u00df");
    EXPECT_EQ(UnicodeText::lowercaseCharacter("\u03a3"), "\u03c3");  // no context, no final sigma
    EXPECT_EQ(UnicodeText::lowercaseCharacter("\r\n"), "\r\n");
    EXPECT_EQ(UnicodeText::lowercaseCharacter("7"), "7");
}

TEST(UnicodeText, CaseOfOneCharacter) {
    struct Row {
        const char* character;
        bool lower;
        bool upper;
        bool cased;
    };
    const Row rows[] = {
        {"a", true, false, true},
        {"Z", false, true, true},
        {"7", false, false, false},
        {" ", false, false, false},
        {"\u00e9", true, false, true},
        {"E\u0301", false, true, true},  // several code points: judged by mapping
        {"e\u0301", true, false, true},
        {"\u01c5", false, false, true},  // titlecase: neither lower nor upper
        // Lowercase by property; and cased, yet left as it is by uppercasing, so upper too.
        {"\u00aa", true, true, true},
        {"\u4e2d", false, false, false},
        {"\U0001F1E9\U0001F1EA", false, false, false},
        {"\u00df", true, false, true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(UnicodeText::isLowercase(row.character), row.lower) << row.character;
        EXPECT_EQ(UnicodeText::isUppercase(row.character), row.upper) << row.character;
        EXPECT_EQ(UnicodeText::isCased(row.character), row.cased) << row.character;
    }
}

TEST(UnicodeText, BoundariesReuseStorage) {
    std::vector<std::size_t> boundaries{99, 98};
    UnicodeText::characterBoundaries("a\r\nb", boundaries);
    EXPECT_EQ(boundaries, (std::vector<std::size_t>{0, 1, 3, 4}));
    UnicodeText::characterBoundaries("ae\u0301", boundaries);
    EXPECT_EQ(boundaries, (std::vector<std::size_t>{0, 1, 4}));
    UnicodeText::characterBoundaries("", boundaries);
    EXPECT_EQ(boundaries, (std::vector<std::size_t>{0}));
}

}  // namespace
}  // namespace kelvo
