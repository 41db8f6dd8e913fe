#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "DesktopPicture.h"
#include "Support/Base/PNGPixels.h"
#include "Support/Base/TemporaryFolder.h"
#include "Support/Simulator/Manager.h"
#include "Support/Tools/FixtureProcess.h"

namespace sim::testing {
namespace {

using kelvo::FixtureQuirk;
using kelvo::JSONNode;
using kelvo::JSONValue;
using kelvo::testing::Pixel;
using kelvo::testing::PNGPixels;

constexpr Pixel green{0, 255, 0, 255};

/// `kelvo-sim screenshot` of a desktop with one application window and a client's own panel
/// over it drawn the way the focus border is: a clear background and a two-point border, one
/// point outside the window on every side.
class ScreenshotTest : public ::testing::Test {
  protected:
    ScreenshotTest() {
        window = fixture.openWindow(FixtureQuirk::plain, CGRect(100, 100, 200, 120));
        desktop.run({"pointer", "1400", "880"});
        look.frame = CGRect(99, 99, 202, 122);
        look.level = 3;
        look.ignoresMouseEvents = true;
        look.borderColour = Colour{0, 1, 0, 1};
        look.borderWidth = 2;
        look.cornerRadius = 1;
    }

    PNGPixels screenshot(const std::vector<std::string>& options = {}) {
        const auto file = std::filesystem::path(desktop.socketPath()).parent_path() /
                          ("shot" + std::to_string(++shots) + ".png");
        std::vector<std::string> verb = {"screenshot", file.string()};
        verb.insert(verb.end(), options.begin(), options.end());
        EXPECT_EQ(desktop.run(verb).status, 0);
        return PNGPixels(file);
    }
    /// Shows the panel with the look, ordered in above the window.
    void showPanel() {
        panel = manager.connection->createOwnWindow(look);
        ASSERT_NE(panel, 0u);
        manager.connection->orderOwnWindow(panel, true);
    }

    DesktopProcess desktop{KELVO_SIM_PROGRAM, {"--display", "1440x900"}};
    FixtureProcess fixture{desktop};
    Manager manager{desktop};
    WindowNumber window = 0;
    WindowNumber panel = 0;
    OwnWindowSpec look;
    int shots = 0;
};

TEST_F(ScreenshotTest, AClientsOwnWindowKeepsWhatItDrawsAcrossTheSocket) {
    showPanel();
    const JSONValue reply = manager.connection->lines().call("ownWindows");
    const auto own = JSONNode(reply)["windows"].elements();
    ASSERT_EQ(own.size(), 1u);
    EXPECT_EQ(own[0].decode<WindowNumber>("number"), panel);
    EXPECT_EQ(own[0].decode<OwnWindowSpec>("spec"), look);
}

TEST_F(ScreenshotTest, APanelDrawsItsBorderInItsColourAndWidthAndLooksThroughItsMiddle) {
    const PNGPixels without = screenshot();
    showPanel();
    const PNGPixels with = screenshot();
    // Both columns and rows of the border: one outside the window's edge and one on it.
    for (const int y : {130, 160, 190}) {
        EXPECT_EQ(with.at(99, y), green) << y;
        EXPECT_EQ(with.at(100, y), green) << y;
        EXPECT_EQ(with.at(299, y), green) << y;
        EXPECT_EQ(with.at(300, y), green) << y;
        EXPECT_EQ(with.at(101, y), without.at(101, y)) << y;
        EXPECT_EQ(with.at(98, y), without.at(98, y)) << y;
    }
    for (const int x : {150, 200, 250}) {
        EXPECT_EQ(with.at(x, 99), green) << x;
        EXPECT_EQ(with.at(x, 220), green) << x;
        EXPECT_EQ(with.at(x, 160), without.at(x, 160)) << x;
    }
    // Ordered out, it is gone from the picture.
    manager.connection->orderOwnWindow(panel, false);
    EXPECT_EQ(screenshot().at(99, 160), without.at(99, 160));
}

TEST_F(ScreenshotTest, ThePanelsOpacityAndRoundCornersShow) {
    look.cornerRadius = 20;
    look.opacity = 0.5;
    showPanel();
    const PNGPixels picture = screenshot();
    const Pixel half = picture.at(99, 160);
    EXPECT_GT(half.green, half.red + 40);
    EXPECT_LT(half.green, 255);
    // The very corner is cut round; the edge past the corner is the border's.
    const Pixel corner = picture.at(99, 99);
    EXPECT_LT(corner.green, corner.blue + 40);
    const Pixel edge = picture.at(125, 99);
    EXPECT_GT(edge.green, edge.red + 40);
}

TEST_F(ScreenshotTest, ACaptionIsAStripOfTextBelowTheDisplays) {
    const PNGPixels plain = screenshot();
    const PNGPixels captioned =
        screenshot({"--caption", "3. ⌥H moves the focus · desktop 1 shown"});
    EXPECT_EQ(plain.height(), 900);
    EXPECT_EQ(captioned.width(), 1440);
    EXPECT_EQ(captioned.height(), 900 + static_cast<int>(kelvo_sim::DesktopPicture::captionHeight));
    EXPECT_EQ(captioned.at(700, 450), plain.at(700, 450));
    // Light text on the dark strip, starting at its left inset.
    int lit = 0;
    for (int x = 16; x < 300; ++x) {
        for (int y = 905; y < 939; ++y)
            lit += captioned.at(x, y).red > 128 ? 1 : 0;
    }
    EXPECT_GT(lit, 100);
    EXPECT_LT(captioned.at(1400, 920).red, 40);
    EXPECT_NE(desktop.run({"screenshot", "x.png", "--caption"}).status, 0);
    EXPECT_NE(desktop.run({"screenshot", "x.png", "--title", "t"}).status, 0);
}

TEST_F(ScreenshotTest, ThePictureWaitsForAnElementOfTheLabelAskedForAndFailsWithoutIt) {
    const auto file = std::filesystem::path(desktop.socketPath()).parent_path() / "shown.png";
    const std::vector<std::string> verb = {"screenshot", file.string(), "--showing",
                                           "2",          "--within",    "0.3"};
    EXPECT_EQ(desktop.run(verb).status, 1) << "nothing is labelled 2 yet";
    EXPECT_FALSE(std::filesystem::exists(file));

    showPanel();
    InterfaceElement number;
    number.role = "text";
    number.label = "2";
    number.frame = CGRect(60, 20, 80, 80);
    manager.connection->drawOwnWindow(OwnWindowContent{panel, {}, {number}, {}});
    const auto shown = desktop.run(verb);
    EXPECT_EQ(shown.status, 0);
    EXPECT_EQ(shown.output, "waiting for 2\n");
    EXPECT_EQ(PNGPixels(file).at(99, 160), green) << "the picture holds the panel";

    EXPECT_EQ(desktop.run({"screenshot", "x.png", "--within", "1"}).status, 2);
    EXPECT_EQ(desktop.run({"screenshot", "x.png", "--showing", "2", "--within", "soon"}).status, 2);
}

/// A picture of one titled window of the system's own on a display of 800 × 600, its content
/// a flat dark grey.
PNGPixels titledWindowPicture(bool key, const std::filesystem::path& file) {
    kelvo_sim::DesktopPicture::Scene scene;
    DisplayInfo display;
    display.id = 1;
    display.frame = CGRect(0, 0, 800, 600);
    display.visibleFrame = CGRect(0, 25, 800, 575);
    scene.displays = {display};
    WindowInfo window;
    window.number = 100;
    window.owner = 1;
    window.frame = CGRect(100, 100, 400, 300);
    scene.windows = {window};
    OwnWindowSpec look;
    look.titled = look.closable = look.resizable = look.hasShadow = true;
    look.key = key;
    scene.panels[100] = look;
    const std::vector<std::uint32_t> pixels(400 * 300, 0xff202020);
    scene.pictures[100] = WindowPicture::pack(pixels.data(), 400, 300, 400);
    scene.pointer = CGPoint{790, 590};
    kelvo_sim::DesktopPicture::draw(scene, file.string());
    return PNGPixels(file);
}

TEST(DesktopPictureTitleBar, TheKeyWindowsButtonsAreColouredAndAnothersGrey) {
    kelvo::testing::TemporaryFolder folder;
    const PNGPixels key = titledWindowPicture(true, folder / "key.png");
    const PNGPixels other = titledWindowPicture(false, folder / "other.png");
    // Close, minimize and zoom centred 14, 34 and 54 from the left edge, 14 down.
    const Pixel close = key.at(114, 114), zoom = key.at(154, 114);
    EXPECT_GT(close.red, 200);
    EXPECT_LT(close.green, 140);
    EXPECT_GT(zoom.green, 150);
    EXPECT_LT(zoom.red, 100);
    const Pixel minimize = key.at(134, 114);
    EXPECT_LT(std::abs(minimize.red - minimize.blue), 30) << "left out by the style: grey";
    for (const int x : {114, 134, 154}) {
        const Pixel grey = other.at(x, 114);
        EXPECT_LT(std::abs(grey.red - grey.green), 12) << x;
        EXPECT_LT(std::abs(grey.green - grey.blue), 12) << x;
        EXPECT_GT(grey.red, 60) << x << " is drawn";
    }
    // Its corners are round, and a shadow lies below it.
    const Pixel content = key.at(300, 250);
    EXPECT_EQ(content.red, 0x20);
    EXPECT_NE(key.at(101, 101), content) << "the corner is cut round";
    EXPECT_EQ(key.at(104, 130), content);
    const Pixel below = key.at(300, 408), beside = key.at(700, 408);
    EXPECT_LT(below.red + below.green + below.blue + 30, beside.red + beside.green + beside.blue);
}

TEST(DesktopPictureTint, NoApplicationIsTintedLikeTheFocusBordersCoral) {
    for (int i = 0; i < 500; ++i) {
        ApplicationInfo application;
        application.bundleID = "com.example.app" + std::to_string(i);
        const auto tint = kelvo_sim::DesktopPicture::tint(application);
        // Greens, blues and violets: red never leads, and the coral's red-to-blue gap is never
        // approached.
        EXPECT_LE(tint.red, std::max(tint.green, tint.blue) + 1e-9) << i;
        EXPECT_LT(tint.red - tint.blue, 0.2) << i;
    }
}

}  // namespace
}  // namespace sim::testing
