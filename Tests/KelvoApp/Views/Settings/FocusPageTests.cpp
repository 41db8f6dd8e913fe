// The Focus tab as laid out in the window: the border's rows dimmed while the border is off,
// the pointer's delay dimmed while focus does not follow it, the sliders' readouts and the
// values they store, and the colour well writing a picked colour as hex.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "KelvoApp/Views/Settings/FocusPage.h"
#include "Support/KelvoApp/SettingsPageFixture.h"

namespace kelvo {
namespace {

using namespace SwiftUI;

class FocusPageTest : public SettingsPageFixture {
  protected:
    LaidOutPage page{[this] { return FocusPage(model).body(); }};
};

const std::vector<std::string> borderRows = {"focusBorderColour", "focusBorderOpacity",
                                             "focusBorderRadius", "focusBorderForeignFront"};

TEST_F(FocusPageTest, ListsTheBorderAndPointerCardsWithTheirControlsAndReadouts) {
    EXPECT_EQ(page.outline(),
              (std::vector<std::string>{"FOCUS BORDER", "focusBorder", "focusBorderColour",
                                        "focusBorderOpacity", "focusBorderRadius",
                                        "focusBorderForeignFront", "POINTER", "focusFollowsCursor",
                                        "focusFollowsCursorDelay"}));
    EXPECT_EQ(page.role(page.id("focusBorderColour"), "colorWell").element->value, "#FF7A60");
    EXPECT_TRUE(page.id("focusBorderColour").findText("#FF7A60"));
    EXPECT_TRUE(page.id("focusBorderOpacity").findText("35%"));
    EXPECT_TRUE(page.id("focusBorderRadius").findText("16pt"));
    EXPECT_TRUE(page.id("focusFollowsCursorDelay").findText("0ms"));
    EXPECT_EQ(page.role(page.id("focusBorderForeignFront"), "switch").element->value, "0");
    for (const std::string& row : borderRows)
        EXPECT_TRUE(page.id(row).enabled) << row;
    EXPECT_FALSE(page.id("focusFollowsCursorDelay").enabled);
    EXPECT_DOUBLE_EQ(page.id("focusFollowsCursorDelay").opacity, 0.45);
}

TEST_F(FocusPageTest, WithTheBorderOffItsRowsAreDimmedAndTakeNoClicksButItsSwitchDoes) {
    page.click(page.role(page.id("focusBorder"), "switch"));
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_FALSE(writes[0].showFocusBorder);
    for (const std::string& row : borderRows) {
        EXPECT_FALSE(page.id(row).enabled) << row;
        EXPECT_DOUBLE_EQ(page.id(row).opacity, 0.45) << row;
    }
    page.pickColour = Color(0, 0, 1);
    page.click(page.role(page.id("focusBorderColour"), "colorWell"));
    page.slide("focusBorderOpacity", 1);
    page.slide("focusBorderRadius", 0);
    page.click(page.role(page.id("focusBorderForeignFront"), "switch"));
    EXPECT_EQ(writes.size(), 1u);
    EXPECT_TRUE(page.id("focusBorder").enabled);
    EXPECT_DOUBLE_EQ(page.id("focusBorder").opacity, 1);
}

TEST_F(FocusPageTest, TheColourWellStoresAPickedColourAsHexOnce) {
    page.pickColour = Color(0.2, 0.4, 1);
    page.click(page.role(page.id("focusBorderColour"), "colorWell"));
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].focusBorderColor, "#3366FF");
    EXPECT_TRUE(page.id("focusBorderColour").findText("#3366FF"));
}

TEST_F(FocusPageTest, TheSlidersStoreWithinTheirLimitsAndReadOutWholeNumbers) {
    given([](Config& config) { config.focusBorderCornerRadius = 4; });
    page.refresh();
    page.slide("focusBorderOpacity", 0.5);
    page.slide("focusBorderRadius", 15.5 / 32);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_DOUBLE_EQ(writes[0].focusBorderOpacity, 0.5);
    EXPECT_TRUE(page.id("focusBorderOpacity").findText("50%"));
    EXPECT_EQ(writes[1].focusBorderCornerRadius, 16);
    EXPECT_TRUE(page.id("focusBorderRadius").findText("16pt"));

    EXPECT_EQ(FocusPage::opacityReadout(0.346), "35%");
    EXPECT_EQ(FocusPage::storedRadius(40), 32);
    EXPECT_EQ(FocusPage::storedRadius(std::numeric_limits<double>::quiet_NaN()), 16);
    EXPECT_EQ(FocusPage::storedDelay(1012.5), 1000);
    EXPECT_EQ(FocusPage::storedDelay(-3), 0);
    EXPECT_EQ(FocusPage::storedDelay(37.5), 38);
    EXPECT_EQ(FocusPage::storedDelay(std::numeric_limits<double>::quiet_NaN()), 0);
}

// Each slider's two ends store its range's two ends (opacity 0 … 1, radius 0 … 32 pt, delay
// 0 … 1000 ms), and a value one past either end is stored as that end.
TEST_F(FocusPageTest, EachSlidersEndsStoreTheEndsOfItsRange) {
    given([](Config& config) {
        config.focusFollowsCursor = true;
        config.focusBorderOpacity = 0.5;
        config.focusBorderCornerRadius = 10;
        config.focusFollowsCursorDelay = 500;
    });
    page.refresh();
    struct Row {
        const char* id;
        double fraction;
        std::function<double(const Config&)> stored;
        double value;
        const char* readout;
    };
    const auto opacity = [](const Config& c) { return c.focusBorderOpacity; };
    const auto radius = [](const Config& c) { return c.focusBorderCornerRadius; };
    const auto delay = [](const Config& c) { return double(c.focusFollowsCursorDelay); };
    const Row rows[] = {
        {"focusBorderOpacity", 0, opacity, 0, "0%"},
        {"focusBorderOpacity", 1, opacity, 1, "100%"},
        {"focusBorderRadius", 0, radius, 0, "0pt"},
        {"focusBorderRadius", 1, radius, 32, "32pt"},
        {"focusFollowsCursorDelay", 0, delay, 0, "0ms"},
        {"focusFollowsCursorDelay", 1, delay, 1000, "1000ms"},
    };
    for (const Row& row : rows) {
        writes.clear();
        page.slide(row.id, row.fraction);
        ASSERT_EQ(writes.size(), 1u) << row.id << " " << row.fraction;
        EXPECT_EQ(row.stored(writes[0]), row.value) << row.id;
        EXPECT_TRUE(page.id(row.id).findText(row.readout)) << row.readout;
    }
    EXPECT_EQ(FocusPage::storedRadius(32), 32);
    EXPECT_EQ(FocusPage::storedRadius(33), 32);
    EXPECT_EQ(FocusPage::storedRadius(0), 0);
    EXPECT_EQ(FocusPage::storedRadius(-1), 0);
    EXPECT_EQ(FocusPage::storedDelay(1000), 1000);
    EXPECT_EQ(FocusPage::storedDelay(1025), 1000);
    EXPECT_EQ(FocusPage::storedDelay(0), 0);
    EXPECT_EQ(FocusPage::storedDelay(-25), 0);
}

TEST_F(FocusPageTest, TheDelayMovesInStepsOfTwentyFiveOnceFocusFollowsThePointer) {
    page.click(page.role(page.id("focusFollowsCursor"), "switch"));
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_TRUE(page.id("focusFollowsCursorDelay").enabled);
    page.slide("focusFollowsCursorDelay", 0.337);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[1].focusFollowsCursorDelay, 325);
    EXPECT_TRUE(page.id("focusFollowsCursorDelay").findText("325ms"));
}

}  // namespace
}  // namespace kelvo
