#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>

#include "KelvoCore/Bindings/ShortcutEditor.h"
#include "KelvoCore/Settings/SettingsCatalog.h"
#include "KelvoCore/Tweaks/SystemTweakCatalog.h"
#include "Support/Base/TestFiles.h"

namespace kelvo {
namespace {

using ID = SettingsCatalog::SettingID;
using Strings = std::vector<std::string>;

std::string quoted(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words)
        text += (text.empty() ? "\"" : ", \"") + word + "\"";
    return text;
}

/// Every field of every row, one row per block, so that a reviewer reads each text whole.
std::string dump(const std::vector<SettingEntry>& rows) {
    std::ostringstream out;
    for (const SettingEntry& row : rows) {
        out << row.id << "\n";
        out << "  tab: " << rawValue(row.tab) << "\n";
        out << "  card: " << row.card << "\n";
        out << "  title: " << row.title << "\n";
        out << "  detail: " << row.detail << "\n";
        if (row.more) out << "  more: " << *row.more << "\n";
        if (row.caution) out << "  caution: " << *row.caution << "\n";
        out << "  keywords: " << quoted(row.keywords) << "\n";
    }
    return out.str();
}

std::string reviewedPath(const std::string& name) {
    return std::string(KELVO_TESTS_DIR) + "/KelvoCore/Settings/Reviewed/" + name;
}

/// Compares with the reviewed copy. KELVO_WRITE_REVIEWED=1 writes the copy instead, for a
/// person to review in the change.
void expectReviewed(const std::string& name, const std::string& text) {
    const std::string path = reviewedPath(name);
    if (std::getenv("KELVO_WRITE_REVIEWED")) {
        testing::writeText(path, text);
        return;
    }
    ASSERT_TRUE(std::filesystem::exists(path)) << "missing " << path;
    EXPECT_EQ(text, testing::fileContents(path)) << name;
}

Config withControl() {
    Config config;
    config.primaryModifier = Modifier::control;
    return config;
}

Config withoutLauncher() {
    Config config;
    config.showLauncher = false;
    return config;
}

TEST(SettingsCatalog, TheWholeCatalogueMatchesItsReviewedCopies) {
    expectReviewed("catalogue-defaults.txt", dump(SettingsCatalog::entries(Config())));
    expectReviewed("catalogue-control.txt", dump(SettingsCatalog::entries(withControl())));
    expectReviewed("catalogue-no-launcher.txt", dump(SettingsCatalog::entries(withoutLauncher())));
}

TEST(SettingsCatalog, EveryFixedIdHasExactlyOneRowOnItsTab) {
    const std::map<SettingsTab, Strings> tabs = {
        {SettingsTab::general,
         {"desktopCount", "switchHUD", "followActivation", "focusedAppInMenuBar", "openAtLogin"}},
        {SettingsTab::tiling,
         {"defaultLayoutMode", "handSetDesktops", "clickToFloat", "innerGap", "outerGap",
          "floatRules", "ignoreRules", "stashEnabled", "stashDesktop"}},
        {SettingsTab::focus,
         {"focusBorder", "focusBorderColour", "focusBorderOpacity", "focusBorderRadius",
          "focusBorderForeignFront", "focusFollowsCursor", "focusFollowsCursorDelay"}},
        {SettingsTab::shortcuts, {"primaryModifier", "resetShortcuts"}},
        {SettingsTab::launcher, {"showLauncher", "launcherVimMode", "terminal"}},
        {SettingsTab::system, {"reduceMotion", "revertTweaks"}},
        {SettingsTab::about,
         {"version", "checkForUpdates", "guide", "settingsFileLocation", "exportSettings",
          "importSettings", "restoreDefaults", "logFile", "reportProblem"}},
    };
    Strings inOrder;
    for (const auto& [tab, ids] : tabs) {
        for (const std::string& raw : ids) {
            const auto id = SettingsCatalog::settingIDFromRawValue(raw);
            ASSERT_TRUE(id) << raw;
            EXPECT_EQ(SettingsCatalog::rawValue(*id), raw);
            EXPECT_EQ(SettingsCatalog::entry(*id).id, raw);
            EXPECT_EQ(SettingsCatalog::entry(*id).tab, tab) << raw;
            inOrder.push_back(raw);
        }
    }
    Strings all;
    for (ID id : SettingsCatalog::allSettingIDs())
        all.push_back(SettingsCatalog::rawValue(id));
    EXPECT_EQ(all, inOrder) << "the tabs list the ids in catalogue order";
    EXPECT_EQ(all.size(), 37u);
    EXPECT_FALSE(SettingsCatalog::settingIDFromRawValue("DesktopCount"));
    EXPECT_FALSE(SettingsCatalog::settingIDFromRawValue("tweak.pressAndHold"));
}

TEST(SettingsCatalog, OnlyReduceMotionCarriesACaution) {
    for (ID id : SettingsCatalog::allSettingIDs()) {
        EXPECT_EQ(SettingsCatalog::entry(id).caution.has_value(), id == ID::reduceMotion)
            << SettingsCatalog::rawValue(id);
    }
    EXPECT_EQ(SettingsCatalog::entry(ID::reduceMotion).caution,
              "Some websites and apps wait for an animation to finish before they carry on. With "
              "this on those animations never run, and the page or panel can sit there doing "
              "nothing.");
}

TEST(SettingsCatalog, TheDefaultCatalogueRunsFromDesktopCountToReportProblem) {
    const auto rows = SettingsCatalog::entries(Config());
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front().id, "desktopCount");
    EXPECT_EQ(rows.back().id, "reportProblem");

    Strings system;
    for (const SettingEntry& row : rows) {
        if (row.tab == SettingsTab::system) system.push_back(row.id);
    }
    EXPECT_EQ(system, (Strings{"reduceMotion", "revertTweaks", "tweak.windowAnimations",
                               "tweak.windowResizeTime", "tweak.pressAndHold",
                               "tweak.dockAutohideDelay", "tweak.dockAutohideTime"}));

    const auto reset = std::find_if(rows.begin(), rows.end(),
                                    [](const SettingEntry& r) { return r.id == "resetShortcuts"; });
    ASSERT_NE(reset, rows.end());
    EXPECT_EQ(std::prev(reset)->id, "primaryModifier");
    EXPECT_EQ(std::next(reset)->id, "key.desktopSwitch");
    for (auto it = std::next(reset); it->tab == SettingsTab::shortcuts; ++it) {
        EXPECT_TRUE(it->id.starts_with("key.")) << it->id;
    }

    // Tabs never go backwards, and every id is unique.
    std::set<std::string> ids;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_TRUE(ids.insert(rows[i].id).second) << rows[i].id;
        if (i > 0) {
            EXPECT_LE(rows[i - 1].tab, rows[i].tab) << rows[i].id;
        }
    }
}

TEST(SettingsCatalog, TweakRow) {
    const auto delay = SettingsCatalog::entry(*SystemTweakCatalog::tweak("dockAutohideDelay"));
    EXPECT_EQ(delay.id, "tweak.dockAutohideDelay");
    EXPECT_EQ(delay.tab, SettingsTab::system);
    EXPECT_EQ(delay.card, "System");
    EXPECT_EQ(delay.title, "No Dock reveal delay");
    EXPECT_FALSE(delay.more);
    EXPECT_EQ(delay.keywords,
              (Strings{"macos", "defaults", "system", "com.apple.dock", "autohide-delay"}));
    EXPECT_EQ(delay.caution, SystemTweakCatalog::tweak("dockAutohideDelay")->caution);
    EXPECT_FALSE(SettingsCatalog::entry(SystemTweakCatalog::all()[0]).caution);
}

TEST(SettingsCatalog, ShortcutRowTitlesAndKeywords) {
    const KeyReference::Section section{"Windows", {}};
    const KeyReference::Entry plain("desktopSwitch", std::nullopt, {}, "Go to a desktop",
                                    std::nullopt, Command::switchTo(1));
    const auto whole = SettingsCatalog::entry(plain, section);
    EXPECT_EQ(whole.title, "Go to a desktop") << "no full stop: the whole text";
    EXPECT_EQ(whole.detail, "Go to a desktop");
    EXPECT_EQ(whole.card, "Windows");
    EXPECT_EQ(whole.id, "key.desktopSwitch");
    EXPECT_EQ(whole.keywords, (Strings{"shortcut", "keybinding", "hotkey", "keymap"}));

    const KeyReference::Entry cut("desktopThrow", std::nullopt, {{"⌥", "⇧", "1"}, {"⌃", "2"}},
                                  "Send the window away. Then follow it. Twice.", std::nullopt,
                                  Command::throwTo(1));
    const auto first = SettingsCatalog::entry(cut, section);
    EXPECT_EQ(first.title, "Send the window away");
    EXPECT_EQ(first.keywords, (Strings{"shortcut", "keybinding", "hotkey", "keymap", "⌥⇧1", "⌃2"}));

    const KeyReference::Entry named("focusLeft", Shortcut::focusLeft, {{"⌥", "H"}},
                                    "Anything. Not the title", std::nullopt,
                                    Command::focus(Direction::left));
    const auto focus = SettingsCatalog::entry(named, section);
    EXPECT_EQ(focus.title, title(Shortcut::focusLeft));
    EXPECT_EQ(focus.keywords,
              (Strings{"shortcut", "keybinding", "hotkey", "keymap", "focusleft", "⌥H"}));
    EXPECT_FALSE(focus.more);
    EXPECT_FALSE(focus.caution);
}

TEST(SettingsCatalog, OnlyTheShortcutRowsFollowTheConfiguration) {
    const auto notShortcutRow = [](const SettingEntry& row) { return !row.id.starts_with("key."); };
    const auto fixedAndTweaks = [&](const Config& config) {
        std::vector<SettingEntry> kept;
        for (const SettingEntry& row : SettingsCatalog::entries(config)) {
            if (notShortcutRow(row)) kept.push_back(row);
        }
        return kept;
    };
    const auto shortcutRows = [](const Config& config) {
        std::vector<SettingEntry> rows;
        for (const auto& section : KeyReference::sections(config)) {
            for (const auto& e : section.entries)
                rows.push_back(SettingsCatalog::entry(e, section));
        }
        return rows;
    };

    Config rebound = std::get<Config>(ShortcutEditor::bind(
        Chord{.keyCode = 0, .option = true, .control = true}, Shortcut::zoom, Config()));
    rebound.shortcuts = ShortcutEditor::clear(Shortcut::rotate, rebound).shortcuts;
    Config tweaked;
    tweaked.systemTweaks["pressAndHold"] = SystemTweakRecord{};

    const auto baseline = fixedAndTweaks(Config());
    EXPECT_EQ(baseline.size(), 37u + 5u);
    for (const Config& config : {withControl(), withoutLauncher(), rebound, tweaked}) {
        EXPECT_EQ(fixedAndTweaks(config), baseline);
        const auto all = SettingsCatalog::entries(config);
        std::vector<SettingEntry> keys;
        std::copy_if(all.begin(), all.end(), std::back_inserter(keys),
                     [&](const SettingEntry& r) { return !notShortcutRow(r); });
        EXPECT_EQ(keys, shortcutRows(config));
    }
    EXPECT_NE(shortcutRows(rebound), shortcutRows(Config()));
    EXPECT_NE(shortcutRows(withControl()), shortcutRows(Config()));
    const auto without = shortcutRows(withoutLauncher());
    EXPECT_EQ(without.size() + 1, shortcutRows(Config()).size());
    EXPECT_TRUE(std::none_of(without.begin(), without.end(),
                             [](const SettingEntry& r) { return r.id == "key.launcher"; }));
}

TEST(SettingsTab, OrderTitlesSymbolsAndRawValues) {
    const std::tuple<SettingsTab, const char*, const char*, const char*> rows[] = {
        {SettingsTab::general, "general", "General", "gearshape"},
        {SettingsTab::tiling, "tiling", "Tiling", "rectangle.split.2x2"},
        {SettingsTab::focus, "focus", "Focus", "viewfinder"},
        {SettingsTab::shortcuts, "shortcuts", "Shortcuts", "keyboard"},
        {SettingsTab::launcher, "launcher", "Launcher", "magnifyingglass"},
        {SettingsTab::system, "system", "System", "desktopcomputer"},
        {SettingsTab::about, "about", "About", "info.circle"},
    };
    ASSERT_EQ(settings_tab::allCases.size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const auto& [tab, raw, name, image] = rows[i];
        EXPECT_EQ(settings_tab::allCases[i], tab);
        EXPECT_EQ(rawValue(tab), raw);
        EXPECT_EQ(title(tab), name);
        EXPECT_EQ(symbol(tab), image);
        EXPECT_EQ(settingsTabFromRawValue(raw), tab);
    }
    EXPECT_FALSE(settingsTabFromRawValue("General"));
    EXPECT_FALSE(settingsTabFromRawValue(""));
}

}  // namespace
}  // namespace kelvo
