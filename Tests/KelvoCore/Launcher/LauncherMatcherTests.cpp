#include <gtest/gtest.h>

#include "KelvoCore/Launcher/LauncherMatcher.h"

namespace kelvo {
namespace {

using Field = LauncherMatcher::Field;
using Hit = LauncherMatcher::Hit;
using Kind = LauncherMatcher::Field::Kind;

TEST(LauncherMatcher, WorkedScores) {
    EXPECT_EQ(LauncherMatcher::score("ca", "Calendar"), 30);
    EXPECT_EQ(LauncherMatcher::score("code", "Visual Studio Code"), 24);
    // The first "a" is taken and the better "ab" run later is never looked for.
    EXPECT_EQ(LauncherMatcher::score("ab", "xa-ab"), 2);
    EXPECT_EQ(LauncherMatcher::score("CA", "Calendar"), 30);
    EXPECT_EQ(LauncherMatcher::score("cAlEnDaR", "calendar"),
              LauncherMatcher::score("calendar", "CALENDAR"));
}

TEST(LauncherMatcher, EmptyAndMissing) {
    EXPECT_EQ(LauncherMatcher::score("", "Calendar"), 0);
    EXPECT_EQ(LauncherMatcher::score("", ""), 0);
    EXPECT_EQ(LauncherMatcher::score("a", ""), std::nullopt);
    EXPECT_EQ(LauncherMatcher::score("calendars", "Calendar"), std::nullopt);
    EXPECT_EQ(LauncherMatcher::score("ba", "ab"), std::nullopt);
    EXPECT_EQ(LauncherMatcher::score("cz", "Calendar"), std::nullopt);
    // A space is a character like any other: it must be in the text.
    EXPECT_EQ(LauncherMatcher::score(" ", "Calendar"), std::nullopt);
    EXPECT_EQ(LauncherMatcher::score("s c", "Visual Studio Code"), 1 + 1 + 9);
}

TEST(LauncherMatcher, WordStarts) {
    // After a separator each, never consecutive across one.
    EXPECT_EQ(LauncherMatcher::score("ab", "x-a-b"), 18);
    // A step from lower to upper case starts a word; 'i' 9, then 'T' 1 + 8 + 4, then the prefix.
    EXPECT_EQ(LauncherMatcher::score("it", "iTerm"), 38);
    // Upper to lower, or upper to upper, does not.
    EXPECT_EQ(LauncherMatcher::score("ab", "XAB"), 6);
    EXPECT_EQ(LauncherMatcher::score("t", "iTERM"), 9);
    EXPECT_EQ(LauncherMatcher::score("e", "iTERM"), 1);
    // Characters without case never start a word by case.
    EXPECT_EQ(LauncherMatcher::score("a", "1A"), 1);
    EXPECT_EQ(LauncherMatcher::score("b", "\u4e2dB"), 1);
    // The case is judged on the text as written, an accent spelled apart included.
    EXPECT_EQ(LauncherMatcher::score("\u00e9", "xE\u0301"), 9);
    EXPECT_EQ(LauncherMatcher::score("\u00e9", "xe\u0301"), 1);
    EXPECT_EQ(LauncherMatcher::score("\u00e9", "\u00c9cole"), 1 + 8 + 16);
}

TEST(LauncherMatcher, EverySeparatorEndsAWord) {
    const std::vector<std::string> expected = {" ", "-", "_", ".", "/", "\\", "(", ")",
                                               "[", "]", "+", ":", ",", "&",  "'", "\u2019"};
    EXPECT_EQ(LauncherMatcher::separators(), expected);
    for (const std::string& separator : expected) {
        EXPECT_TRUE(LauncherMatcher::isSeparator(separator)) << separator;
        EXPECT_EQ(LauncherMatcher::score("b", "a" + separator + "b"), 9) << separator;
    }
    for (const char* other : {"a", "*", "#", "\u2018", "\u00a0", " \u0301", ""}) {
        EXPECT_FALSE(LauncherMatcher::isSeparator(other)) << other;
    }
    EXPECT_EQ(LauncherMatcher::score("b", "a;b"), 1);
    // A space carrying a combining mark is one character, and not a space.
    EXPECT_EQ(LauncherMatcher::score("b", "a \u0301b"), 1);
}

TEST(LauncherMatcher, CaseAndCanonicalEquivalence) {
    // Precomposed or spelled as 'e' and a combining accent, in the query or in the text.
    EXPECT_EQ(LauncherMatcher::score("\u00c9", "caf\u00e9"), 1);
    EXPECT_EQ(LauncherMatcher::score("\u00c9", "cafe\u0301"), 1);
    EXPECT_EQ(LauncherMatcher::score("E\u0301", "caf\u00e9"), 1);
    EXPECT_EQ(LauncherMatcher::score("caf\u00e9", "Cafe\u0301 Bar"), 9 + 5 + 5 + 5 + 16);
    // An accented letter is a character of its own, not its base letter.
    EXPECT_EQ(LauncherMatcher::score("e", "caf\u00e9"), std::nullopt);
    EXPECT_EQ(LauncherMatcher::score("e", "cafe\u0301"), std::nullopt);
    EXPECT_EQ(LauncherMatcher::score("cafe", "caf\u00e9"), std::nullopt);
    // 'İ' lowercases to 'i' with a combining dot, which is its whole first character.
    EXPECT_EQ(LauncherMatcher::score("\u0130", "i\u0307"), 25);
    EXPECT_EQ(LauncherMatcher::score("\u0130", "i"), std::nullopt);
    // 'ẞ' lowercases to 'ß', never to "ss".
    EXPECT_EQ(LauncherMatcher::score("\u1e9e", "Stra\u00dfe"), 1);
    EXPECT_EQ(LauncherMatcher::score("ss", "Stra\u00dfe"), std::nullopt);
    // Positions count characters, so a flag or a family emoji is one step.
    EXPECT_EQ(LauncherMatcher::score("x", "\U0001F1E9\U0001F1EAx"), 1);
    EXPECT_EQ(LauncherMatcher::score("\U0001F1E9\U0001F1EAx", "\U0001F1E9\U0001F1EAx"), 9 + 5 + 16);
    EXPECT_EQ(LauncherMatcher::score("\U0001F1E9", "\U0001F1E9\U0001F1EA"), std::nullopt);
}

TEST(LauncherMatcher, PlainAndUnicodeTextsScoreAlike) {
    // Plain ASCII texts take a shorter road than texts with other letters or a carriage return
    // (which joins the line feed after it into one character); the scores must not tell.
    EXPECT_EQ(LauncherMatcher::score("ab", "A\rB"), 10);
    EXPECT_EQ(LauncherMatcher::score("ab", "\u00e9ab"), 6);
    EXPECT_EQ(LauncherMatcher::score("ab", "\u00e9-ab"), 14);
    EXPECT_EQ(LauncherMatcher::score("x\u00e9", "x-\u00c9"), 18);
    EXPECT_EQ(LauncherMatcher::score("a\r\nb", "a\r\nb"), 35);
    EXPECT_EQ(LauncherMatcher::score("\nb", "a\r\nb"), std::nullopt);
    EXPECT_EQ(LauncherMatcher::score("iterm", "iTerm"),
              LauncherMatcher::score("iterm", "iTerm\u00e9"));
}

TEST(LauncherMatcher, BestHitOverFields) {
    const std::vector<Field> gaps = {{"Gaps", Kind::name}, {"Space between windows", Kind::prose}};
    EXPECT_EQ(LauncherMatcher::score("gap", gaps), (Hit{0, 35}));
    EXPECT_EQ(LauncherMatcher::score("between", gaps), (Hit{1, 7}));
    EXPECT_EQ(LauncherMatcher::score("BETWEEN", gaps), (Hit{1, 7}));
    EXPECT_EQ(LauncherMatcher::score("bw", gaps), std::nullopt);
    EXPECT_EQ(LauncherMatcher::score("", gaps), (Hit{0, 0}));
    EXPECT_EQ(LauncherMatcher::score("gap", std::vector<Field>{}), std::nullopt);
    EXPECT_EQ(LauncherMatcher::score("", std::vector<Field>{{"", Kind::prose}}), (Hit{0, 0}));

    // The first field that matches wins, however much better a later one scores.
    const std::vector<Field> weak = {{"g-x-a-x-p", Kind::name}, {"gap", Kind::name}};
    EXPECT_EQ(LauncherMatcher::score("gap", weak), (Hit{0, 27}));
    // Prose counts characters of the query and matches canonically equivalent spellings.
    const std::vector<Field> prose = {{"Un cafe\u0301 noir", Kind::prose}};
    EXPECT_EQ(LauncherMatcher::score("CAF\u00c9", prose), (Hit{0, 4}));
    EXPECT_EQ(LauncherMatcher::score("caf noir", prose), std::nullopt);
    EXPECT_EQ(LauncherMatcher::score("noir!", prose), std::nullopt);
}

TEST(LauncherMatcher, HitOrder) {
    EXPECT_LT((Hit{1, 100}), (Hit{0, 1}));
    EXPECT_LT((Hit{0, 1}), (Hit{0, 2}));
    EXPECT_GT((Hit{0, 0}), (Hit{3, 50}));
    EXPECT_EQ(std::max({Hit{2, 9}, Hit{1, 3}, Hit{1, 4}}), (Hit{1, 4}));
    EXPECT_NE((Hit{0, 1}), (Hit{1, 1}));
}

std::vector<std::string> bundleIDs(const std::vector<LauncherEntry>& entries) {
    std::vector<std::string> ids;
    for (const LauncherEntry& entry : entries)
        ids.push_back(entry.bundleID);
    return ids;
}

using IDs = std::vector<std::string>;

TEST(LauncherMatcher, RanksByScoreThenRunningThenNameThenIdentifier) {
    const std::vector<LauncherEntry> entries = {
        {"com.cal", "Calculator", false},    {"com.arc", "Arcade", true},
        {"com.calendar", "Calendar", false}, {"com.none", "Notes", true},
        {"com.calendar2", "Calendar", true},
    };
    // 'Calendar' and 'Calculator' score 30: the running one first, then by lowercased name;
    // 'Arcade' scores 6, running or not; 'Notes' does not match.
    EXPECT_EQ(bundleIDs(LauncherMatcher::rank("ca", entries)),
              (IDs{"com.calendar2", "com.cal", "com.calendar", "com.arc"}));

    const std::vector<LauncherEntry> ties = {
        {"z", "Zed", false}, {"b", "arc", false}, {"a", "Arc", false}, {"r", "Zed", true}};
    // Empty query: running first, then the lowercased names, then the identifiers.
    EXPECT_EQ(bundleIDs(LauncherMatcher::rank("", ties)), (IDs{"r", "a", "b", "z"}));
    EXPECT_EQ(LauncherMatcher::rank("", {}), std::vector<LauncherEntry>{});
    EXPECT_EQ(LauncherMatcher::rank("q", ties), std::vector<LauncherEntry>{});
}

TEST(LauncherMatcher, RankingTiesUseUnicodeNames) {
    // Lowercased, canonically equivalent names tie; the identifier decides.
    const std::vector<LauncherEntry> entries = {{"y", "\u00c9cran", false},
                                                {"x", "e\u0301cran", false},
                                                {"w", "Zoo", false},
                                                {"v", "\u00e9clair", false}};
    EXPECT_EQ(bundleIDs(LauncherMatcher::rank("", entries)), (IDs{"w", "v", "x", "y"}));
    // Identifiers compare as stored, case-sensitively: "B" sorts before "a".
    EXPECT_EQ(bundleIDs(LauncherMatcher::rank("", {{"a", "Same", false}, {"B", "same", false}})),
              (IDs{"B", "a"}));
    // Identical entries keep their order.
    const std::vector<LauncherEntry> twins = {{"t", "Twin", false}, {"t", "Twin", false}};
    EXPECT_EQ(LauncherMatcher::rank("tw", twins), twins);
}

TEST(LauncherMatcher, RecentsLeadOnlyForTheEmptyQuery) {
    const std::vector<LauncherEntry> entries = {
        {"c", "Chess", true}, {"a", "Xcode", false}, {"b", "Books", false}, {"d", "Dxx", false}};
    const IDs recents = {"b", "a", "b", "gone"};
    EXPECT_EQ(bundleIDs(LauncherMatcher::rank("", entries, recents)), (IDs{"b", "a", "c", "d"}));
    // Any query, a single space included, is ranked without the recents.
    EXPECT_EQ(bundleIDs(LauncherMatcher::rank("x", entries, recents)), (IDs{"a", "d"}));
    EXPECT_EQ(LauncherMatcher::rank(" ", entries, recents), std::vector<LauncherEntry>{});
    EXPECT_EQ(LauncherMatcher::rank("", entries, {}), LauncherMatcher::rank("", entries));

    // Entries sharing a recent identifier keep their ranked order.
    const std::vector<LauncherEntry> shared = {
        {"s", "Beta", false}, {"o", "Other", true}, {"s", "Alpha", false}};
    EXPECT_EQ(LauncherMatcher::rank("", shared, {"s"}),
              (std::vector<LauncherEntry>{
                  {"s", "Alpha", false}, {"s", "Beta", false}, {"o", "Other", true}}));
    // A recent spelled differently but canonically the same is the same application.
    EXPECT_EQ(bundleIDs(LauncherMatcher::rank("", {{"x", "A", true}, {"caf\u00e9", "B", false}},
                                              {"cafe\u0301"})),
              (IDs{"caf\u00e9", "x"}));
}

TEST(LauncherEntry, EqualityOnAllFields) {
    const LauncherEntry entry{"com.cafe", "Caf\u00e9", true};
    EXPECT_EQ(entry, (LauncherEntry{"com.cafe", "Cafe\u0301", true}));
    EXPECT_NE(entry, (LauncherEntry{"com.cafe", "Caf\u00e9", false}));
    EXPECT_NE(entry, (LauncherEntry{"com.Cafe", "Caf\u00e9", true}));
    EXPECT_NE(entry, (LauncherEntry{"com.cafe", "caf\u00e9", true}));
    EXPECT_EQ((Field{"a", Kind::name}), (Field{"a", Kind::name}));
    EXPECT_NE((Field{"a", Kind::name}), (Field{"a", Kind::prose}));
}

}  // namespace
}  // namespace kelvo
