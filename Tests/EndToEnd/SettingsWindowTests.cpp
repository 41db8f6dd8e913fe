// The settings window across processes, driven only through the desktop as a person would: the
// status menu's "Settings…" opens it, Kelvo is a regular application while it is open and an
// accessory one again once its close button is pressed, also after it was shown twice; each
// tab shows its page after a click on its sidebar button; the search finds a setting on
// another tab and reveals its row; switches, sliders, colours and rule lists write the
// configuration file; a recorded chord rebinds a shortcut at once; the settings file goes out
// and comes back in through scripted panels and alert answers; a bundled Kelvo registers as a
// login item.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>

#include "Base/JSON/JSONDecoder.h"
#include "Support/Base/TestFiles.h"
#include "Support/EndToEnd/EndToEndTest.h"
#include "Support/EndToEnd/OwnInterface.h"

namespace kelvo::testing {
namespace {

constexpr int regularPolicy = 0;
constexpr int accessoryPolicy = 1;

class SettingsWindowTest : public EndToEndTest {
  protected:
    OwnInterface ui() { return OwnInterface(desktop(), kelvo().pid()); }

    std::optional<int> kelvoPolicy() {
        for (const auto& line : desktop().lines({"apps"})) {
            const JSONValue app = JSONNode::parse(line);
            if (app["pid"] == kelvo().pid()) return app["activationPolicy"].get<int>();
        }
        return std::nullopt;
    }
    bool becomes(int policy) {
        return eventually([&] { return kelvoPolicy() == policy; });
    }
    std::optional<DesktopWindow> settingsWindow() {
        std::optional<DesktopWindow> found;
        eventually([&] {
            for (const auto& each : windows())
                if (each.pid == kelvo().pid() && each.title == "Kelvo Settings" && each.onScreen)
                    found = each;
            return found.has_value();
        });
        return found;
    }
    /// Picks "Settings…" in the status menu and waits for the window.
    std::optional<DesktopWindow> openSettings() {
        if (!ui().pickFromStatusMenu("Settings…")) return std::nullopt;
        return settingsWindow();
    }
    /// Clicks the tab's sidebar button and waits until its page shows the row `firstRow`.
    bool showTab(const std::string& tab, const std::string& firstRow) {
        const auto button = ui().awaitIdentifier("tab." + tab);
        return button && ui().click(*button) && ui().awaitIdentifier(firstRow).has_value();
    }
    /// The first element of that role inside the row with this setting id.
    std::optional<InterfaceElement> control(const std::string& row, const std::string& role) {
        std::optional<InterfaceElement> found;
        eventually([&] {
            const auto all = ui().elements();
            const auto owner = std::find_if(all.begin(), all.end(),
                                            [&](const auto& e) { return e.identifier == row; });
            if (owner == all.end()) return false;
            for (auto each = owner; each != all.end(); ++each) {
                if (each->role == role && owner->frame.contains(each->frame.origin)) {
                    found = *each;
                    return true;
                }
            }
            return false;
        });
        return found;
    }
    bool clickControl(const std::string& row, const std::string& role) {
        const auto found = control(row, role);
        return found && ui().click(*found);
    }

    std::filesystem::path configFile() const { return kelvoFolder() / "config.json"; }
    /// The configuration file as far as it is written now; null when it is not (yet) JSON.
    JSONValue config() const {
        try {
            return JSONNode::parse(fileContents(configFile()));
        } catch (const std::exception&) {
            return JSONValue();
        }
    }
    /// Waits until the configuration file meets the condition.
    template <class Condition>
    bool configBecomes(Condition condition,
                       std::chrono::milliseconds wait = ChildProcess::generousWait) {
        return eventually(
            [&] {
                const JSONValue now = config();
                return now.is_object() && condition(now);
            },
            wait);
    }
};

TEST_F(SettingsWindowTest, EachTabShowsItsPageTheSearchRevealsASettingAndClosingLeavesTheDock) {
    startKelvo();
    ASSERT_TRUE(becomes(accessoryPolicy));
    const auto shown = openSettings();
    ASSERT_TRUE(shown);
    EXPECT_TRUE(becomes(regularPolicy));
    struct Page {
        const char* tab;
        const char* firstCard;
        const char* firstRow;
    };
    const Page pages[] = {
        {"tiling", "WINDOWS", "defaultLayoutMode"},     {"focus", "FOCUS BORDER", "focusBorder"},
        {"shortcuts", "MODIFIER", "primaryModifier"},   {"launcher", "LAUNCHER", "showLauncher"},
        {"system", "SYSTEM", "tweak.windowAnimations"}, {"about", "KELVO", "version"},
        {"general", "DESKTOPS", "desktopCount"}};
    const auto pictures = std::filesystem::path(KELVO_PICTURES_DIR) / "settings-tabs";
    std::filesystem::create_directories(pictures);
    for (const Page& page : pages) {
        ASSERT_TRUE(showTab(page.tab, page.firstRow)) << page.tab;
        // The page begins with its first card's title, then that card's first row.
        const auto all = ui().elements();
        const auto scroll = std::find_if(
            all.begin(), all.end(), [](const auto& e) { return e.identifier == "settings.page"; });
        ASSERT_TRUE(scroll != all.end() && scroll + 2 < all.end()) << page.tab;
        EXPECT_EQ(scroll[1].label, page.firstCard) << page.tab;
        EXPECT_EQ(scroll[2].identifier, page.firstRow) << page.tab;
        const auto file = pictures / (std::string(page.tab) + ".png");
        EXPECT_EQ(desktop().run({"screenshot", file.string()}).status, 0) << page.tab;
    }

    // ⌘K and a word: the drop-down lists the setting with its tab and card; Escape empties the
    // field and takes the drop-down away.
    const auto query = [&]() -> std::optional<std::string> {
        for (const auto& e : ui().elements())
            if (e.role == "textField") return e.value;
        return std::nullopt;
    };
    const std::string foundIn = "Shortcuts › Shortcuts";
    ASSERT_TRUE(key("cmd+k"));
    ASSERT_EQ(desktop().run({"type", "reset"}).status, 0);
    ASSERT_TRUE(ui().awaitLabel(foundIn, "text"));
    EXPECT_TRUE(ui().awaitLabel("Reset every shortcut", "text"));
    ASSERT_TRUE(key("escape"));
    EXPECT_TRUE(eventually([&] { return query() == "" && !interfaceShows(foundIn); }));

    // Return opens the found setting: its tab is shown and its row, far down the page, is
    // scrolled into view.
    ASSERT_TRUE(key("cmd+k"));
    ASSERT_EQ(desktop().run({"type", "reset"}).status, 0);
    ASSERT_TRUE(ui().awaitLabel(foundIn, "text"));
    ASSERT_TRUE(key("return"));
    const auto page = ui().awaitIdentifier("settings.page");
    ASSERT_TRUE(page);
    const auto revealed = ui().await([&](const InterfaceElement& e) {
        return e.identifier == "resetShortcuts" && e.frame.minY() >= page->frame.minY() &&
               e.frame.maxY() <= page->frame.maxY();
    });
    EXPECT_TRUE(revealed) << "the row was not scrolled into view";
    EXPECT_EQ(query(), "");

    // Shown a second time while it is open, it counts once: one close leaves the Dock.
    EXPECT_TRUE(openSettings());
    ASSERT_EQ(desktop().run({"close", std::to_string(shown->number)}).status, 0);
    EXPECT_TRUE(becomes(accessoryPolicy));
    EXPECT_TRUE(eventually([&] {
        const auto listed = window(shown->number);
        return listed && !listed->onScreen;
    }));
    // Opened again, it is the same window.
    const auto again = openSettings();
    ASSERT_TRUE(again);
    EXPECT_EQ(again->number, shown->number);
    EXPECT_TRUE(becomes(regularPolicy));
}

TEST_F(SettingsWindowTest,
       SwitchesSlidersColoursAndRulesWriteTheFileAndItHoldsAChangeMadeJustBeforeClosing) {
    open(notes, CGRect(100, 100, 600, 400));
    open(browser, CGRect(700, 100, 600, 400));
    startKelvo();
    const auto shown = openSettings();
    ASSERT_TRUE(shown);

    // A switch, on by default.
    ASSERT_TRUE(clickControl("switchHUD", "switch"));
    EXPECT_TRUE(configBecomes([](const JSONValue& c) { return c["showSwitchHUD"] == false; }))
        << fileContents(configFile());

    // A click three quarters along a gap slider's track stores a whole number near 48.
    ASSERT_TRUE(showTab("tiling", "defaultLayoutMode"));
    const auto track = control("innerGap", "slider");
    ASSERT_TRUE(track);
    ASSERT_TRUE(
        ui().click({track->frame.minX() + track->frame.width() * 0.75, track->frame.midY()}));
    double inner = 0;
    EXPECT_TRUE(configBecomes([&](const JSONValue& c) {
        inner = c["gaps"]["inner"].get<double>();
        return inner > 0;
    })) << fileContents(configFile());
    EXPECT_NEAR(inner, 48, 3);
    EXPECT_EQ(inner, std::round(inner));

    // The float rules' "Add…" menu offers the running applications not yet listed.
    const auto addMenu = [&] {
        const auto menu = control("floatRules", "popUpButton");
        std::vector<std::string> titles;
        if (!menu || !ui().click(*menu)) return titles;
        eventually([&] { return !(titles = ui().menuTitles()).empty(); });
        return titles;
    };
    ASSERT_EQ(addMenu(), (std::vector<std::string>{"Browser", "Notes"}));
    ASSERT_EQ(desktop().run({"menu", "pick", "Notes"}).status, 0);
    EXPECT_TRUE(configBecomes([](const JSONValue& c) {
        return c["floatBundleIDs"] == JSONValue::array({notes});
    })) << fileContents(configFile());
    // A fixture is no installed application: the rule is named by its identifier.
    EXPECT_TRUE(ui().awaitLabel("not installed", "text"));
    EXPECT_EQ(addMenu(), (std::vector<std::string>{"Browser"}));
    ASSERT_TRUE(key("escape"));
    ASSERT_TRUE(eventually([&] { return ui().menuTitles().empty(); }));
    const auto remove = ui().await([](const InterfaceElement& e) {
        return e.role == "button" && e.toolTip == "Remove com.example.notes";
    });
    ASSERT_TRUE(remove);
    ASSERT_TRUE(ui().click(*remove));
    EXPECT_TRUE(configBecomes([](const JSONValue& c) {
        return c["floatBundleIDs"] == JSONValue::array();
    })) << fileContents(configFile());

    // The colour well opens the colour panel, whose pick the desktop answers.
    ASSERT_TRUE(showTab("focus", "focusBorder"));
    ASSERT_EQ(desktop().run({"answer-colours", "#3a7bff"}).status, 0);
    ASSERT_TRUE(clickControl("focusBorderColour", "colorWell"));
    EXPECT_TRUE(configBecomes([](const JSONValue& c) {
        return c["focusBorderColor"] == "#3A7BFF";
    })) << fileContents(configFile());
    EXPECT_TRUE(ui().awaitLabel("#3A7BFF", "text"));

    // A change and at once the close button: the file holds the change by the time Kelvo logs
    // the close. (Which write put it there, the flush of the close or the store's own 0.4 s
    // later, the main loop's order decides; the controller's suite tells them apart.)
    const auto logged = kelvo().logMessages().size();
    ASSERT_TRUE(clickControl("focusBorder", "switch"));
    ASSERT_EQ(desktop().run({"close", std::to_string(shown->number)}).status, 0);
    const auto closeLogged = [&] {
        const auto messages = kelvo().logMessages();
        return std::find(messages.begin() + static_cast<long>(logged), messages.end(),
                         "settings window closed") != messages.end();
    };
    // The log is read before the file: a write that precedes the log line is on disk by then.
    std::optional<bool> writtenAtClose;
    ASSERT_TRUE(eventually([&] {
        if (closeLogged()) writtenAtClose = config()["showFocusBorder"] == false;
        return writtenAtClose.has_value();
    }));
    EXPECT_TRUE(*writtenAtClose) << fileContents(configFile());
}

TEST_F(SettingsWindowTest, ARecordedChordRebindsTheShortcutAndWorksAtOnce) {
    startKelvo();
    ASSERT_TRUE(openSettings());
    ASSERT_TRUE(showTab("shortcuts", "primaryModifier"));

    // Focus right is ⌥L by default; the new chord is ⌃⌥U, which nothing else holds. The chord
    // follows the click at once: Kelvo takes them in order, so the recording has begun when the
    // key comes, however long the page takes to show "Press keys…".
    ASSERT_TRUE(clickControl("key.focusRight", "button"));
    ASSERT_TRUE(key("ctrl+alt+u"));
    const bool recorded = configBecomes([](const JSONValue& c) {
        return c.contains("shortcuts") && c["shortcuts"].contains("focusRight");
    });
    ASSERT_TRUE(recorded) << fileContents(configFile());
    EXPECT_EQ(config()["shortcuts"]["focusRight"],
              JSONNode::parse(R"({"command":false,"control":true,"keyCode":32,"option":true,)"
                              R"("shift":false})"));

    // The page shows the rebound row (its reset button comes alive) once it is drawn again; a
    // reply to a ping then says Kelvo's main loop is free, so the key tap answers in time.
    const auto reset = ui().await([](const InterfaceElement& e) {
        return e.toolTip && e.toolTip->starts_with("Put Focus right") && e.enabled;
    });
    ASSERT_TRUE(reset);
    ASSERT_TRUE(kelvo().ping().ok);

    // The old chord does nothing now; the new one moves the focus, with the window still open.
    // Kelvo takes the keys in the order they are pressed, so once the line of a third chord is
    // written the commands of the first two are too: the lines are counted up to it, not when
    // the first of them is written, which could leave a second one still to come.
    const std::string focusRight = "cmd focus(KelvoCore.Direction.right)";
    const std::string focusLeft = "cmd focus(KelvoCore.Direction.left)";
    const auto mark = kelvo().logMessages().size();
    ASSERT_TRUE(key("alt+l"));
    ASSERT_TRUE(key("ctrl+alt+u"));
    ASSERT_TRUE(key("alt+h"));
    const auto last = kelvo().waitForLog(focusLeft, mark);
    ASSERT_TRUE(last) << "the keys after the recording did nothing";
    const auto messages = kelvo().logMessages();
    EXPECT_EQ(std::count_if(messages.begin() + static_cast<long>(mark),
                            messages.begin() + static_cast<long>(*last),
                            [&](const std::string& m) { return m.find(focusRight) == 0; }),
              1)
        << "the recorded chord did nothing, or the old chord still works";

    // Its reset button puts the default back.
    ASSERT_TRUE(ui().click(*reset));
    EXPECT_TRUE(configBecomes([](const JSONValue& c) {
        return c.contains("shortcuts") && c["shortcuts"].empty();
    })) << fileContents(configFile());
}

TEST_F(SettingsWindowTest, ABundledKelvoRegistersItsLoginItemAndMovesItsSettingsFileAround) {
    // Kelvo started from inside an application bundle runs as that bundle.
    TemporaryFolder files;
    const auto executable = files / "Kelvo.app" / "Contents" / "MacOS" / "KelvoApp";
    std::filesystem::create_directories(executable.parent_path());
    std::filesystem::create_hard_link(KELVO_APP_PROGRAM, executable);
    ASSERT_EQ(desktop().run({"login-item", "com.skarvelt.kelvo", "approval"}).status, 0);
    startKelvoFrom(executable);
    ASSERT_TRUE(openSettings());

    // The login item waits for approval, which the row sends the person to give.
    ASSERT_TRUE(ui().awaitLabel("Off. Kelvo has to be started by hand after each restart."));
    const auto toggle = control("openAtLogin", "switch");
    ASSERT_TRUE(toggle);
    EXPECT_TRUE(toggle->enabled);
    ASSERT_TRUE(ui().click(*toggle));
    EXPECT_TRUE(ui().awaitLabel("needs approval", "text"));
    ASSERT_TRUE(ui().press("Open Login Items…"));
    const auto opened = [&](const std::string& url) {
        return eventually([&] {
            const auto all = desktop().lines({"opened"});
            return std::find(all.begin(), all.end(), url) != all.end();
        });
    };
    EXPECT_TRUE(opened("x-apple.systempreferences:com.apple.LoginItems-Settings.extension"));
    EXPECT_EQ(desktop().lines({"login-items"}),
              (std::vector<std::string>{"com.skarvelt.kelvo requiresApproval approval"}));

    ASSERT_TRUE(showTab("about", "version"));
    EXPECT_TRUE(ui().awaitLabel("Bundled.", "text"));

    // Export through the save panel: the settings without the tweaks and the recents.
    const auto exported = files / "kelvo-settings.json";
    ASSERT_EQ(desktop().run({"answer-panels", exported.string()}).status, 0);
    ASSERT_TRUE(ui().press("Export…"));
    EXPECT_TRUE(ui().awaitLabel("Settings written to kelvo-settings.json."));
    const JSONValue written = JSONNode::parse(fileContents(exported));
    EXPECT_EQ(written["desktopCount"], 9);
    EXPECT_FALSE(written.contains("systemTweaks"));
    EXPECT_FALSE(written.contains("launcherRecents"));

    // Import through the open panel; a file that is no settings file changes nothing.
    const auto four = files / "four.json";
    std::ofstream(four) << R"({"desktopCount": 4})";
    ASSERT_EQ(desktop().run({"answer-panels", four.string()}).status, 0);
    ASSERT_TRUE(ui().press("Import…"));
    EXPECT_TRUE(configBecomes([](const JSONValue& c) { return c["desktopCount"] == 4; }))
        << fileContents(configFile());
    EXPECT_TRUE(ui().awaitLabel(
        "Settings replaced with four.json. Your system tweaks were left as they are."));
    const auto list = files / "list.json";
    std::ofstream(list) << "[1, 2]";
    ASSERT_EQ(desktop().run({"answer-panels", list.string()}).status, 0);
    ASSERT_TRUE(ui().press("Import…"));
    EXPECT_TRUE(ui().awaitLabel("That file is not a Kelvo settings file."));

    // Restoring asks first: "Cancel" keeps everything, "Restore defaults" restores.
    const auto alertsShown = [&] { return desktop().lines({"alerts"}).size(); };
    ASSERT_EQ(desktop().run({"answer-alerts", "Cancel"}).status, 0);
    ASSERT_TRUE(ui().press("Restore…"));
    ASSERT_TRUE(eventually([&] { return alertsShown() == 1; }));
    EXPECT_NE(
        desktop().lines({"alerts"}).at(0).find("Put every Kelvo setting back to its default?"),
        std::string::npos);
    ASSERT_EQ(desktop().run({"answer-alerts", "Restore defaults"}).status, 0);
    ASSERT_TRUE(ui().press("Restore…"));
    ASSERT_TRUE(eventually([&] { return alertsShown() == 2; }));
    EXPECT_TRUE(configBecomes([](const JSONValue& c) {
        return c["desktopCount"] == 9 && c["guideSeen"] == false;
    })) << fileContents(configFile());
    EXPECT_TRUE(
        ui().awaitLabel("Every setting is back to Kelvo's defaults. The system tweaks were "
                        "not touched. Revert those on the System tab."));

    // "Show in Finder" reveals the configuration file, which exists now.
    ASSERT_TRUE(ui().press("Show in Finder"));
    EXPECT_TRUE(opened("file://" + configFile().string()));
}

}  // namespace
}  // namespace kelvo::testing
