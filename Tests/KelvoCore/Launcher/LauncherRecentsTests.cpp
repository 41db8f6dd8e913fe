#include <gtest/gtest.h>

#include "KelvoCore/Launcher/AppTitle.h"
#include "KelvoCore/Launcher/LauncherRecents.h"

namespace kelvo {
namespace {

using List = std::vector<std::string>;

List numbered(int count) {
    List list;
    for (int i = 0; i < count; ++i)
        list.push_back("app" + std::to_string(i));
    return list;
}

TEST(LauncherRecents, Cleaned) {
    EXPECT_EQ(LauncherRecents::cleaned({"a", "", "b", "a"}), (List{"a", "b"}));
    EXPECT_EQ(LauncherRecents::cleaned({}), List{});
    EXPECT_EQ(LauncherRecents::cleaned({"", ""}), List{});
    EXPECT_EQ(LauncherRecents::cleaned(numbered(60)), numbered(50));
    // Later repeats do not count towards the limit.
    List repeats = numbered(50);
    repeats.insert(repeats.begin() + 1, "app0");
    EXPECT_EQ(LauncherRecents::cleaned(repeats), numbered(50));
    // Canonically equivalent spellings are one application; the first spelling is kept.
    EXPECT_EQ(LauncherRecents::cleaned({"caf\u00e9", "cafe\u0301", "x"}), (List{"caf\u00e9", "x"}));
}

TEST(LauncherRecents, Recording) {
    EXPECT_EQ(LauncherRecents::recording("b", {"a", "b", "c"}), (List{"b", "a", "c"}));
    EXPECT_EQ(LauncherRecents::recording("", {"a", "", "a"}), (List{"a", "", "a"}));
    List full = numbered(50);
    List recorded = LauncherRecents::recording("new", full);
    ASSERT_EQ(recorded.size(), 50u);
    EXPECT_EQ(recorded.front(), "new");
    EXPECT_EQ(recorded.back(), "app48");
    EXPECT_EQ(LauncherRecents::recording("b", {"b", "a", "b"}), (List{"b", "a"}));
    EXPECT_EQ(LauncherRecents::recording("cafe\u0301", {"a", "caf\u00e9"}),
              (List{"cafe\u0301", "a"}));
}

// Fifty are kept: forty-nine and fifty stay whole, fifty-one loses its last; recording one more
// into forty-nine drops nothing, into fifty the oldest.
TEST(LauncherRecents, FiftyAtBothEndsOfTheLimit) {
    EXPECT_EQ(LauncherRecents::cleaned(numbered(49)), numbered(49));
    EXPECT_EQ(LauncherRecents::cleaned(numbered(50)), numbered(50));
    EXPECT_EQ(LauncherRecents::cleaned(numbered(51)), numbered(50));
    EXPECT_EQ(LauncherRecents::cleaned(numbered(1)), numbered(1));
    List into49 = LauncherRecents::recording("new", numbered(49));
    ASSERT_EQ(into49.size(), 50u);
    EXPECT_EQ(into49.back(), "app48");
    List into50 = LauncherRecents::recording("new", numbered(50));
    ASSERT_EQ(into50.size(), 50u);
    EXPECT_EQ(into50.back(), "app48");
    // The fiftieth, moved to the front, is kept and nothing is dropped.
    List last = LauncherRecents::recording("app49", numbered(50));
    ASSERT_EQ(last.size(), 50u);
    EXPECT_EQ(last.front(), "app49");
    EXPECT_EQ(last.back(), "app48");
}

TEST(AppTitle, TruncatesByCharacters) {
    struct Row {
        const char* text;
        int limit;
        const char* expected;
    };
    const Row rows[] = {
        {"Visual Studio Code", 10, "Visual St…"},
        {"Visual Studio Code", 18, "Visual Studio Code"},
        {"Visual Studio Code", 17, "Visual Studio Co…"},
        {"Visual Studio Code", 0, ""},
        {"Visual Studio Code", -5, ""},
        {"Safari", 1, "…"},
        {"", 3, ""},
        // One character each, however many bytes or code points.
        {"Caf\u00e9 Caf\u00e9", 5, "Caf\u00e9…"},
        {"Cafe\u0301 Cafe\u0301", 5, "Cafe\u0301…"},
        {"🇩🇪🇫🇷🇮🇹", 3, "🇩🇪🇫🇷🇮🇹"},
        {"🇩🇪🇫🇷🇮🇹", 2, "🇩🇪…"},
        {"👩‍👩‍👧‍👦 family", 3, "👩‍👩‍👧‍👦 …"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(AppTitle::truncate(row.text, row.limit), row.expected)
            << row.text << " / " << row.limit;
    }
}

}  // namespace
}  // namespace kelvo
