#include <gtest/gtest.h>

#include <limits>

#include "KelvoCore/Settings/SettingsCatalog.h"
#include "KelvoCore/Settings/SettingsSearch.h"

namespace kelvo {
namespace {

using Strings = std::vector<std::string>;

SettingEntry row(std::string id, std::string title, std::vector<std::string> keywords = {},
                 std::string detail = "", std::optional<std::string> caution = std::nullopt) {
    return SettingEntry{.id = std::move(id),
                        .tab = SettingsTab::general,
                        .card = "Card",
                        .title = std::move(title),
                        .detail = std::move(detail),
                        .more = std::nullopt,
                        .caution = std::move(caution),
                        .keywords = std::move(keywords)};
}

Strings ids(const std::vector<SettingEntry>& rows) {
    Strings out;
    for (const SettingEntry& r : rows)
        out.push_back(r.id);
    return out;
}

Strings ranked(const std::string& query, const std::vector<SettingEntry>& rows) {
    return ids(SettingsSearch::rank(query, rows));
}

TEST(SettingEntry, FieldsAreTitleKeywordsDetailAndCautionInThatOrder) {
    using Kind = LauncherMatcher::Field::Kind;
    const auto plain = row("a", "Title", {"one", "two"}, "The detail").fields();
    EXPECT_EQ(plain, (std::vector<LauncherMatcher::Field>{{"Title", Kind::name},
                                                          {"one", Kind::name},
                                                          {"two", Kind::name},
                                                          {"The detail", Kind::prose}}));
    const auto motion = SettingsCatalog::entry(SettingsCatalog::SettingID::reduceMotion).fields();
    ASSERT_EQ(motion.size(), 1u + 6u + 2u);
    EXPECT_EQ(motion.back().text,
              SettingsCatalog::entry(SettingsCatalog::SettingID::reduceMotion).caution.value());
    EXPECT_EQ(motion.back().kind, Kind::prose);
}

TEST(SettingsSearch, TheEmptyQueryListsEveryRowInCatalogueOrder) {
    const auto catalogue = SettingsCatalog::entries(Config());
    const SettingsSearch search(catalogue);
    EXPECT_EQ(search.query(), "");
    EXPECT_EQ(search.matches(), catalogue);
    EXPECT_EQ(search.selection(), 0);
    ASSERT_TRUE(search.chosen());
    EXPECT_EQ(search.chosen()->id, "desktopCount");

    const SettingsSearch empty;
    EXPECT_TRUE(empty.matches().empty());
    EXPECT_FALSE(empty.chosen());
}

TEST(SettingsSearch, MoreAndCardAreNeverSearchedButTheCautionIs) {
    auto gaps = row("gaps", "Inner", {}, "Space between neighbouring windows.");
    gaps.card = "Gaps";
    gaps.more = "Measured in points";
    EXPECT_TRUE(ranked("gaps", {gaps}).empty());
    EXPECT_TRUE(ranked("points", {gaps}).empty());
    EXPECT_EQ(ranked("between", {gaps}), Strings{"gaps"});

    const auto catalogue = SettingsCatalog::entries(Config());
    EXPECT_EQ(ranked("uninstaller", catalogue), Strings{}) << "only in revertTweaks' longer text";
    EXPECT_EQ(ranked("websites", catalogue), Strings{"reduceMotion"});
    EXPECT_EQ(ranked("é and ü", catalogue), Strings{"tweak.pressAndHold"});
}

TEST(SettingsSearch, EarlierFieldsWinWhateverTheScore) {
    // A detail hit listed first in the catalogue, and a weak title hit after it.
    const std::vector<SettingEntry> rows = {
        row("detail", "Something else", {}, "zoom in"),
        row("title", "Fuzzy zone of mirrors", {}, ""),
    };
    EXPECT_EQ(ranked("zom", rows), (Strings{"title"}));
    EXPECT_EQ(ranked("zoom", rows), (Strings{"title", "detail"}));

    // The first keyword (field 1) beats the fourth (field 4) even when it scores lower.
    const std::vector<SettingEntry> keywords = {
        row("fourth", "X", {"a", "b", "c", "mapping"}),
        row("first", "Y", {"m-x-a-x-p"}),
    };
    EXPECT_EQ(ranked("map", keywords), (Strings{"first", "fourth"}));

    // Within one row a keyword is found before the detail.
    const std::vector<SettingEntry> one = {row("r", "Title", {"spacing"}, "spacing here")};
    EXPECT_EQ(SettingsSearch::rank("spacing", one).size(), 1u);
}

TEST(SettingsSearch, EqualHitsKeepCatalogueOrderAndScoresOrderTheRest) {
    const std::vector<SettingEntry> rows = {
        row("b", "Outer gap"),
        row("a", "Inner gap"),
        row("c", "gap"),
        row("d", "gxaxp"),
    };
    // "gap" as a whole title scores highest (prefix), then the two word-start hits in
    // catalogue order, then the scattered one.
    EXPECT_EQ(ranked("gap", rows), (Strings{"c", "b", "a", "d"}));

    const auto catalogue = SettingsCatalog::entries(Config());
    const auto gaps = ranked("gap", catalogue);
    ASSERT_GE(gaps.size(), 2u);
    EXPECT_EQ(Strings(gaps.begin(), gaps.begin() + 2), (Strings{"innerGap", "outerGap"}));
}

TEST(SettingsSearch, MovingTheSelectionStopsAtBothEnds) {
    SettingsSearch search(
        {row("a", "gap one"), row("b", "gap two"), row("c", "gap three"), row("d", "nothing")});
    search.type("gap");
    ASSERT_EQ(search.matches().size(), 3u);
    search.move(-1);
    EXPECT_EQ(search.selection(), 0);
    search.move(5);
    EXPECT_EQ(search.selection(), 2);
    EXPECT_EQ(search.chosen()->id, "c");
    search.move(1);
    EXPECT_EQ(search.selection(), 2);
    search.move(-1);
    EXPECT_EQ(search.chosen()->id, "b");
    search.move(std::numeric_limits<int>::max());
    EXPECT_EQ(search.selection(), 2);
    search.move(std::numeric_limits<int>::min());
    EXPECT_EQ(search.selection(), 0);

    search.move(2);
    search.type("gap");
    EXPECT_EQ(search.selection(), 0) << "the same text again still goes to the top";
}

TEST(SettingsSearch, WithoutMatchesNothingMovesAndNothingIsChosen) {
    SettingsSearch search({row("a", "Alpha"), row("b", "Beta")});
    search.type("zzz");
    EXPECT_TRUE(search.matches().empty());
    const SettingsSearch before = search;
    search.move(1);
    search.move(-3);
    EXPECT_EQ(search, before);
    EXPECT_EQ(search.selection(), 0);
    EXPECT_FALSE(search.chosen());

    search.reset();
    EXPECT_EQ(search.query(), "");
    EXPECT_EQ(ids(search.matches()), (Strings{"a", "b"}));
}

TEST(SettingsSearch, NewRowsAreRankedAgainstTheQueryAtOnce) {
    SettingsSearch search({row("a", "Alpha"), row("b", "Beta")});
    search.type("al");
    search.move(1);
    EXPECT_EQ(ids(search.matches()), (Strings{"a"}));
    search.setEntries({row("c", "Gamma"), row("d", "Altitude"), row("e", "Canal")});
    EXPECT_EQ(search.query(), "al");
    EXPECT_EQ(ids(search.matches()), (Strings{"d", "e"}));
    EXPECT_EQ(search.selection(), 0);
}

TEST(SettingsSearch, RowsChangedInAnyFieldAreSearchedAsTheyAreNow) {
    SettingsSearch search({row("a", "Alpha", {"first"}), row("b", "Beta", {"second"})});
    search.type("zeta");
    EXPECT_TRUE(search.matchPositions().empty());
    // The same rows again, as the catalogue is made on every keystroke: the same ranking.
    search.setEntries({row("a", "Alpha", {"first"}), row("b", "Beta", {"second"})});
    EXPECT_TRUE(search.matchPositions().empty());
    // Only a keyword differs: the row is found by it.
    search.setEntries({row("a", "Alpha", {"first"}), row("b", "Beta", {"zeta"})});
    EXPECT_EQ(search.matchPositions(), (std::vector<std::size_t>{1}));
    EXPECT_EQ(ids(search.matches()), (Strings{"b"}));
    EXPECT_EQ(search.chosen()->id, "b");
}

TEST(SettingsSearch, ShortcutAndTweakRowsAreFoundByTheirKeys) {
    Config control;
    control.primaryModifier = Modifier::control;
    SettingsSearch search(SettingsCatalog::entries(Config()));
    search.type("focusleft");
    ASSERT_TRUE(search.chosen());
    EXPECT_EQ(search.chosen()->id, "key.focusLeft");

    search.type("⌃H");
    const std::vector<SettingEntry> matches = search.matches();
    EXPECT_TRUE(std::none_of(matches.begin(), matches.end(),
                             [](const SettingEntry& r) { return r.id == "key.focusLeft"; }));
    search.setEntries(SettingsCatalog::entries(control));
    ASSERT_FALSE(search.matches().empty());
    EXPECT_EQ(search.matches().front().id, "key.focusLeft");

    search.type("autohide-delay");
    EXPECT_EQ(search.chosen()->id, "tweak.dockAutohideDelay");
}

TEST(SettingsSearch, TheCatalogueOfAConfigurationIsItsRowsAsTheyAreNow) {
    Config control;
    control.primaryModifier = Modifier::control;
    SettingsSearch search;
    search.type("⌃H");
    search.setCatalogue(Config());
    EXPECT_EQ(search.entries(), SettingsCatalog::entries(Config()));
    const std::vector<SettingEntry> matches = search.matches();
    EXPECT_TRUE(std::none_of(matches.begin(), matches.end(),
                             [](const SettingEntry& r) { return r.id == "key.focusLeft"; }));
    search.move(1);
    search.setCatalogue(Config());
    EXPECT_EQ(search.selection(), 0) << "the same configuration ranks again from the top";

    search.setCatalogue(control);
    EXPECT_EQ(search.entries(), SettingsCatalog::entries(control));
    ASSERT_FALSE(search.matches().empty());
    EXPECT_EQ(search.matches().front().id, "key.focusLeft");

    // Rows given in between are not the configuration's catalogue any more.
    search.setEntries({row("a", "Alpha")});
    search.setCatalogue(control);
    EXPECT_EQ(search.entries(), SettingsCatalog::entries(control));
}

}  // namespace
}  // namespace kelvo
