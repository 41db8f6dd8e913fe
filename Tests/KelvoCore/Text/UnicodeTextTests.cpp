#include <gtest/gtest.h>

#include "KelvoCore/Text/TextSet.h"
#include "KelvoCore/Text/UnicodeText.h"

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

}  // namespace
}  // namespace kelvo
