#include <algorithm>
#include <filesystem>

#include "Support/Base/TestFiles.h"
#include "Support/EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

// A configuration file edited by hand with one bad value: a plain key
// holding the wrong kind of value fails the whole reading, so every setting takes its default,
// and one line on standard error says so; a tolerant key falls back on its own, silently. An
// unreadable file (not JSON at all) is StartAndQuitTest's.
class ConfigFileTest : public EndToEndTest {
  protected:
    /// Three windows, with Kelvo started on the configuration `json`.
    std::vector<std::uint32_t> startWith(const std::string& json) {
        writeConfig(json);
        std::vector<std::uint32_t> all = {open(notes, CGRect(120, 120, 700, 500)),
                                          open(notes, CGRect(300, 260, 640, 480)),
                                          open(browser, CGRect(520, 180, 900, 640))};
        startKelvo();
        EXPECT_TRUE(settled(all));
        return all;
    }
};

TEST_F(ConfigFileTest, AValueOfTheWrongKindIsReportedOnceAndEverySettingTakesItsDefault) {
    // Gaps of 20 and two desktops, but a word where the desktop count wants a number.
    const std::string json =
        R"({"desktopCount": "two", "gaps": {"inner": 20, "outer": 20}, "showSwitchHUD": false})";
    const auto all = startWith(json);
    const std::string path = (kelvoFolder() / "config.json").string();
    EXPECT_EQ(kelvo().standardError(),
              "kelvo: " + path +
                  " could not be read (desktopCount: Expected to decode Int but found string "
                  "instead.); using defaults.\n");

    // No gaps: the tiles meet each other and the screen's edges.
    double area = 0;
    for (const auto& w : records(all)) {
        ASSERT_TRUE(w.frame) << w.id;
        const CGRect frame = w.frame->rect();
        EXPECT_TRUE(screen().intersection(frame) == frame) << w.id;
        area += frame.size.width * frame.size.height;
    }
    EXPECT_NEAR(area, screen().size.width * screen().size.height, 1.0);
    // Nine desktops, not two.
    ASSERT_TRUE(kelvo().command(Command::switchTo(9)).ok);
    EXPECT_TRUE(eventuallyState({}, [](const auto& r) { return r.activeDesktop == 9; }));
    // The file is left as it was: nothing has been changed yet that would be written.
    EXPECT_EQ(fileContents(kelvoFolder() / "config.json"), json);
    EXPECT_EQ(kelvo().quit(), 0);
    EXPECT_EQ(fileContents(kelvoFolder() / "config.json"), json);
}

TEST_F(ConfigFileTest, AChangeThatCannotBeSavedIsLoggedAndToldOnStandardError) {
    writeConfig("{}");
    const auto a = open(notes, CGRect(120, 120, 700, 500));
    startKelvo({{"KELVO_LOG", "1"}});
    ASSERT_TRUE(settled({a}));
    // The file replaced by a folder of its name while Kelvo runs; then a change to save.
    const auto file = kelvoFolder() / "config.json";
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    ASSERT_TRUE(kelvo().command(Command::toggleLayoutMode()).ok);
    EXPECT_EQ(kelvo().quit(), 0);
    const std::string line =
        "could not save the configuration to " + file.string() +
        ": The file “config.json” couldn’t be saved because a folder of that name is in the way.";
    EXPECT_NE(kelvo().standardError().find("[kelvo] " + line + "\n"), std::string::npos)
        << kelvo().standardError();
    EXPECT_TRUE(kelvo().waitForLine(line));
    EXPECT_TRUE(std::filesystem::is_directory(file));
}

TEST_F(ConfigFileTest, AToleratedBadValueFallsBackAloneAndSilently) {
    // A layout mode that is none: that key alone takes the value of a missing key, main window
    // and stack; the gaps of the same file hold.
    const auto all =
        startWith(R"({"defaultLayoutMode": "spiral", "gaps": {"inner": 20, "outer": 10}})");
    EXPECT_EQ(kelvo().standardError(), "");
    const auto placed = records(all);
    int fullHeight = 0;
    for (const auto& w : placed) {
        ASSERT_TRUE(w.frame) << w.id;
        const CGRect frame = w.frame->rect();
        // The outer gap keeps every tile 10 points inside the screen.
        EXPECT_GE(frame.origin.x, screen().origin.x + 10 - tolerance) << w.id;
        EXPECT_GE(frame.origin.y, screen().origin.y + 10 - tolerance) << w.id;
        EXPECT_LE(frame.maxX(), screen().maxX() - 10 + tolerance) << w.id;
        EXPECT_LE(frame.maxY(), screen().maxY() - 10 + tolerance) << w.id;
        if (frame.size.height >= screen().size.height - 20 - tolerance) ++fullHeight;
    }
    // One main window the height of the screen, two stacked beside it.
    EXPECT_EQ(fullHeight, 1);
}

TEST_F(ConfigFileTest, NegativeGapsCountAsNoneAndEveryWindowStaysOnTheDisplay) {
    const auto all = startWith(R"({"gaps": {"inner": -300, "outer": -100}})");
    EXPECT_EQ(kelvo().standardError(), "");
    // As with no gaps: the tiles meet each other and the screen's edges, and nothing more.
    EXPECT_TRUE(tilesFillTheScreen(all));
    // The windows themselves, below the menu bar and inside the display's edges.
    for (const std::uint32_t number : all) {
        const auto placed = window(number);
        ASSERT_TRUE(placed) << number;
        EXPECT_TRUE(screen().intersection(placed->frame) == placed->frame)
            << number << " stands at " << placed->frame.origin.x << ", " << placed->frame.origin.y;
    }
}

TEST_F(ConfigFileTest, GapsBeyondWhatTheSettingsOfferAreTakenAsTheWidestItOffers) {
    const auto all = startWith(R"({"gaps": {"inner": 5000, "outer": 5000}})");
    EXPECT_EQ(kelvo().standardError(), "");
    // 64 points, as far as the settings window's sliders go: from the screen's edges, and
    // between the windows.
    const CGRect inside = screen().insetBy(64, 64);
    std::vector<CGRect> frames;
    for (const std::uint32_t number : all) {
        const auto placed = window(number);
        ASSERT_TRUE(placed) << number;
        const CGRect frame = placed->frame;
        EXPECT_GT(frame.size.width, 0) << number;
        EXPECT_GT(frame.size.height, 0) << number;
        EXPECT_TRUE(inside.insetBy(-tolerance, -tolerance).intersection(frame) == frame) << number;
        frames.push_back(frame);
    }
    for (std::size_t i = 0; i < frames.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            const CGRect& a = frames[i];
            const CGRect& b = frames[j];
            const double apart = std::max({b.minX() - a.maxX(), a.minX() - b.maxX(),
                                           b.minY() - a.maxY(), a.minY() - b.maxY()});
            EXPECT_NEAR(apart, 64, tolerance) << i << " and " << j;
        }
    }
}

}  // namespace
}  // namespace kelvo::testing
