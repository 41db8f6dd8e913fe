#include <algorithm>
#include <string>
#include <vector>

#include "Base/JSON/JSONDecoder.h"
#include "Support/EndToEnd/EndToEndTest.h"
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
    /// The bundle identifier of the application in front, as the desktop tells it.
    std::string frontApplication() {
        for (const std::string& line : desktop().lines({"apps"})) {
            const JSONValue app = JSONNode::parse(line);
            if (app["active"].get<bool>() && app.contains("bundleID"))
                return app["bundleID"].get<std::string>();
        }
        return "";
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
    bool panelGone() { return !interfaceShows("Maps"); }
};

TEST_F(LauncherTest, TypingNarrowsTheRowsAndReturnLaunchesThePickOnTheActiveDesktop) {
    open(notes, CGRect(100, 100, 700, 500), FixtureQuirk::plain, "Notes");
    startKelvo();
    ASSERT_EQ(desktop().run({"activate", std::to_string(pidOf(notes))}).status, 0);
    ASSERT_TRUE(eventually([&] { return frontApplication() == notes; }));

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
