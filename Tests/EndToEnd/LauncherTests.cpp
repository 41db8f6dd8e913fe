#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "Base/JSON/JSONDecoder.h"
#include "Support/EndToEnd/EndToEndTest.h"
#include "Support/EndToEnd/OwnInterface.h"
#include "Support/Simulator/ApplicationTree.h"

namespace kelvo::testing {
namespace {

constexpr const char* editor = "com.example.editor";
constexpr const char* mail = "com.example.mail";
constexpr const char* maps = "com.example.maps";

// The launcher as other processes see it: three applications installed as bundles whose
// executable is a fixture application, picked by typing through the desktop.
class LauncherTest : protected MachineRoot, public EndToEndTest {
  protected:
    LauncherTest() : EndToEndTest({"--root", root.path().string()}) {
        writeConfig(R"({"guideSeen":true})");
        for (const auto& [bundleID, name] :
             {std::pair{editor, "Editor"}, std::pair{mail, "Mail"}, std::pair{maps, "Maps"}}) {
            ApplicationTree::install(
                root / "Applications", std::string(name) + ".app",
                BundleContents{.bundleID = bundleID,
                               .name = name,
                               .executable = std::string("#!/bin/sh\nexec '") +
                                             KELVO_FIXTURE_PROGRAM + "' --bundle\n"});
        }
    }

    /// The rows listed are exactly these names, among the names of the installed applications.
    bool listsOnly(const std::vector<std::string>& names) {
        const auto found = interfaceLabels();
        for (const char* name : {"Editor", "Mail", "Maps"}) {
            const bool listed = std::find(found.begin(), found.end(), name) != found.end();
            const bool wanted = std::find(names.begin(), names.end(), name) != names.end();
            if (listed != wanted) return false;
        }
        return true;
    }
    /// Opens the launcher over the application in front and narrows it to Maps.
    void pickMaps() {
        const std::string inFront = frontApplication();
        ASSERT_TRUE(key("alt+space"));
        ASSERT_TRUE(eventually([&] {
            return listsOnly({"Editor", "Mail", "Maps"});
        })) << "the launcher's rows did not appear";
        EXPECT_EQ(frontApplication(), inFront) << "the launcher panel took the front";
        ASSERT_EQ(desktop().run({"type", "map"}).status, 0);
        ASSERT_TRUE(eventually([&] { return listsOnly({"Maps"}); }))
            << "typing did not narrow the rows";
    }
    /// The one window of Maps, once the desktop lists it.
    std::uint32_t mapsWindow() {
        EXPECT_TRUE(eventually([&] { return windowsOf(maps).size() == 1; }))
            << "Maps did not open its window";
        const auto found = windowsOf(maps);
        return found.empty() ? 0 : found.front().number;
    }
    /// Kelvo's home desktop of a window; -1 when it has none.
    std::int64_t homeOf(std::uint32_t number) {
        const auto found = records({number});
        return found.empty() ? -1 : found.front().desktop.value_or(-1);
    }
    std::int64_t activeDesktop() { return kelvo().state().activeDesktop.value_or(-1); }
    bool panelGone() { return !field(); }

    /// The query field as the desktop lists it, while the panel shows.
    std::optional<InterfaceElement> field() {
        for (auto& element : OwnInterface(desktop(), kelvo().pid()).elements())
            if (element.role == "textField") return element;
        return std::nullopt;
    }
    bool fieldShows(const std::string& text) {
        return eventually([&] {
            const auto shown = field();
            return shown && shown->value == text;
        });
    }
    /// The panel shows every one of these labels (the mode chip, the hint bar's caps and words).
    bool showsAll(const std::vector<std::string>& labels) {
        return eventually([&] {
            const auto found = interfaceLabels();
            return std::all_of(labels.begin(), labels.end(), [&](const std::string& label) {
                return std::find(found.begin(), found.end(), label) != found.end();
            });
        });
    }
    /// The recently used bundle identifiers as the configuration file holds them.
    std::vector<std::string> recentsInConfig() {
        try {
            std::ifstream file(kelvoFolder() / "config.json");
            const JSONValue config = JSONNode::parse(std::string(
                std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
            if (!config.contains("launcherRecents")) return {};
            return config["launcherRecents"].get<std::vector<std::string>>();
        } catch (const std::exception&) {
            return {};
        }
    }
    /// Opens the launcher and waits for the rows of every installed application.
    void openOverEverything() {
        ASSERT_TRUE(key("alt+space"));
        ASSERT_TRUE(eventually([&] { return listsOnly({"Editor", "Mail", "Maps"}); }));
    }
};

TEST_F(LauncherTest, TypingNarrowsTheRowsAndReturnLaunchesThePickOnTheActiveDesktop) {
    open(notes, CGRect(100, 100, 700, 500), FixtureQuirk::plain, "Notes");
    startKelvo();
    ASSERT_EQ(desktop().run({"activate", std::to_string(pidOf(notes))}).status, 0);
    ASSERT_TRUE(eventually([&] { return frontApplication() == notes; }));

    // Tab completes the field with each match in turn, ⇧Tab steps back; Escape closes the
    // panel with nothing opened and the application in front still there.
    openOverEverything();
    EXPECT_TRUE(fieldShows(""));
    EXPECT_TRUE(field() && field()->focused) << "the field does not take the typing";
    EXPECT_TRUE(showsAll({"⇥", "complete", "↩", "open", "esc", "close"}));
    ASSERT_EQ(desktop().run({"type", "m"}).status, 0);
    ASSERT_TRUE(eventually([&] { return listsOnly({"Mail", "Maps"}); }));
    ASSERT_TRUE(key("tab"));
    EXPECT_TRUE(fieldShows("Mail"));
    ASSERT_TRUE(key("tab"));
    EXPECT_TRUE(fieldShows("Maps"));
    ASSERT_TRUE(key("shift+tab"));
    EXPECT_TRUE(fieldShows("Mail"));
    EXPECT_TRUE(listsOnly({"Mail", "Maps"})) << "completing changed the rows";
    ASSERT_TRUE(key("escape"));
    EXPECT_TRUE(eventually([&] { return panelGone(); }));
    EXPECT_EQ(frontApplication(), notes);
    EXPECT_TRUE(windowsOf(mail).empty());
    EXPECT_TRUE(recentsInConfig().empty());

    pickMaps();
    ASSERT_TRUE(key("return"));
    const std::uint32_t window = mapsWindow();
    ASSERT_NE(window, 0u);
    EXPECT_TRUE(eventually([&] { return frontApplication() == maps; }))
        << "the pick did not become the front application";
    EXPECT_TRUE(eventually([&] { return homeOf(window) == activeDesktop(); }))
        << "its window is not on the active desktop";
    EXPECT_TRUE(settled({window}));
    EXPECT_TRUE(everyWindowOnADisplay());
    EXPECT_TRUE(eventually([&] { return panelGone(); }));
    EXPECT_TRUE(eventually([&] { return recentsInConfig() == std::vector<std::string>{maps}; }));
}

TEST_F(LauncherTest, ReturnGoesToTheRunningPicksDesktopAndShiftReturnBringsItsWindowHere) {
    open(notes, CGRect(100, 100, 700, 500), FixtureQuirk::plain, "Notes");
    startKelvo();
    pickMaps();
    ASSERT_TRUE(key("return"));
    const std::uint32_t window = mapsWindow();
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(eventually([&] { return homeOf(window) == 1; }));

    // From another desktop, Return goes to the desktop the window lives on.
    ASSERT_TRUE(key("alt+2"));
    ASSERT_TRUE(eventually([&] { return activeDesktop() == 2; }));
    ASSERT_TRUE(eventually([&] { return panelGone(); }));
    pickMaps();
    ASSERT_TRUE(key("return"));
    EXPECT_TRUE(eventually([&] { return activeDesktop() == 1; }))
        << "Return did not go to the pick's desktop";
    EXPECT_EQ(homeOf(window), 1);
    EXPECT_TRUE(eventually([&] { return frontApplication() == maps; }));

    // ⇧Return brings the window to the desktop in view instead.
    ASSERT_TRUE(key("alt+2"));
    ASSERT_TRUE(eventually([&] { return activeDesktop() == 2; }));
    ASSERT_TRUE(eventually([&] { return panelGone(); }));
    pickMaps();
    ASSERT_TRUE(key("shift+return"));
    EXPECT_TRUE(eventually([&] { return homeOf(window) == 2; }))
        << "⇧Return did not bring the window here";
    EXPECT_EQ(activeDesktop(), 2);
    EXPECT_TRUE(eventually([&] { return frontApplication() == maps; }));
    EXPECT_TRUE(settled({window}));
}

TEST_F(LauncherTest, AClickOnAnotherApplicationsWindowClosesThePanelAndLaunchesNothing) {
    const std::uint32_t note =
        open(notes, CGRect(100, 100, 700, 500), FixtureQuirk::plain, "Notes");
    startKelvo();
    ASSERT_TRUE(settled({note}));
    pickMaps();
    // Below the panel, on the window Kelvo tiled.
    const CGRect frame = window(note)->frame;
    ASSERT_EQ(
        desktop()
            .run({"click", std::to_string(frame.minX() + 20), std::to_string(frame.maxY() - 20)})
            .status,
        0);
    EXPECT_TRUE(eventually([&] { return panelGone(); })) << "the panel kept the key";
    EXPECT_TRUE(eventually([&] { return frontApplication() == notes; }));
    EXPECT_TRUE(windowsOf(maps).empty());
}

}  // namespace
}  // namespace kelvo::testing

namespace kelvo::testing {
namespace {

TEST_F(LauncherTest, InVimModeTheKeysMoveTheSelectionAndEscapeLeavesTypingBeforeClosing) {
    writeConfig(R"({"guideSeen":true,"launcherVimMode":true})");
    open(notes, CGRect(100, 100, 700, 500), FixtureQuirk::plain, "Notes");
    startKelvo();
    ASSERT_EQ(desktop().run({"activate", std::to_string(pidOf(notes))}).status, 0);
    ASSERT_TRUE(eventually([&] { return frontApplication() == notes; }));

    // Normal mode at first: the keys are the panel's, the field takes none of them.
    openOverEverything();
    EXPECT_TRUE(showsAll({"NORMAL", "j k", "move", "i", "type", "esc", "close"}));
    ASSERT_EQ(desktop().run({"type", "x"}).status, 0);
    ASSERT_EQ(desktop().run({"type", "i"}).status, 0);
    ASSERT_TRUE(showsAll({"INSERT", "⇥", "complete", "esc", "normal"}));
    EXPECT_TRUE(fieldShows("")) << "a key typed in normal mode reached the field";
    EXPECT_TRUE(field() && field()->focused);

    // In insert mode the arrows move the selection: down, up, down picks the second match.
    ASSERT_EQ(desktop().run({"type", "ma"}).status, 0);
    ASSERT_TRUE(eventually([&] { return listsOnly({"Mail", "Maps"}); }));
    for (const char* arrow : {"down", "up", "down"})
        ASSERT_TRUE(key(arrow));
    // Escape leaves typing and keeps the panel, its query and its selection.
    ASSERT_TRUE(key("escape"));
    EXPECT_TRUE(showsAll({"NORMAL", "j k"}));
    EXPECT_TRUE(fieldShows("ma"));
    ASSERT_TRUE(key("return"));
    EXPECT_TRUE(eventually([&] { return windowsOf(maps).size() == 1; })) << "Maps was not picked";
    EXPECT_TRUE(windowsOf(mail).empty());
    EXPECT_TRUE(eventually([&] { return frontApplication() == maps; }));

    // Maps was used last, so it leads the list, then the running Notes, then Editor and Mail:
    // G goes to the last row and k one up, to Editor.
    openOverEverything();
    ASSERT_TRUE(showsAll({"NORMAL"}));
    ASSERT_EQ(desktop().run({"type", "Gk"}).status, 0);
    ASSERT_TRUE(key("return"));
    EXPECT_TRUE(eventually([&] { return windowsOf(editor).size() == 1; }))
        << "Editor was not picked";
    EXPECT_TRUE(eventually([&] { return frontApplication() == editor; }));
    EXPECT_TRUE(eventually([&] {
        return recentsInConfig() == std::vector<std::string>{editor, maps};
    }));

    // "q" closes; so does Escape in normal mode, reached from insert mode by a first Escape.
    openOverEverything();
    ASSERT_EQ(desktop().run({"type", "q"}).status, 0);
    EXPECT_TRUE(eventually([&] { return panelGone(); }));
    openOverEverything();
    ASSERT_EQ(desktop().run({"type", "ino"}).status, 0);
    EXPECT_TRUE(fieldShows("no"));
    ASSERT_TRUE(key("escape"));
    ASSERT_TRUE(showsAll({"NORMAL"}));
    EXPECT_TRUE(interfaceShows("Notes")) << "the first Escape closed the panel";
    ASSERT_TRUE(key("escape"));
    EXPECT_TRUE(eventually([&] { return panelGone(); }));
    EXPECT_EQ(frontApplication(), editor);
    EXPECT_EQ(windowsOf(notes).size(), 1u);
}

}  // namespace
}  // namespace kelvo::testing
