#include <string>
#include <vector>

#include "Support/EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

// Kelvo's overlays as another process sees them: their texts in the desktop's list of interface
// elements.
class OverlayTest : public EndToEndTest {
  protected:
    OverlayTest() { writeConfig(R"({"guideSeen":true})"); }
};

// A screenshot under the sanitizers takes longer than the display's second on screen, so the
// number is read from the element list right after the switch; a busy machine can miss one
// display, so the switches go on between two desktops until one is seen.
TEST_F(OverlayTest, ADesktopSwitchShowsItsNumberForAMomentThenTheDisplayGoes) {
    startKelvo();
    int switches = 0;
    ASSERT_TRUE(eventually([&] {
        const std::string number = ++switches % 2 ? "2" : "3";
        return key("alt+" + number) && interfaceShows(number);
    }));
    EXPECT_TRUE(eventually([&] { return !interfaceShows("2") && !interfaceShows("3"); }));
}

TEST_F(OverlayTest, TheCheatSheetShortcutShowsTheSheetWithItsRowsListed) {
    startKelvo();
    ASSERT_TRUE(key("alt+/"));
    ASSERT_TRUE(eventually([&] { return interfaceShows("again to close"); }));
    const auto listed = interfaceLabels();
    for (const char* expected :
         {"Shortcuts", "DESKTOPS", "FOCUS", "Go to desktop 1 – 9", "Focus the window to the left",
          "Open a new terminal window", "⌥/"})
        EXPECT_NE(std::find(listed.begin(), listed.end(), expected), listed.end()) << expected;

    // Again closes it.
    ASSERT_TRUE(key("alt+/"));
    EXPECT_TRUE(eventually([&] {
        return desktop().lines({"ui", "--pid", std::to_string(kelvo().pid())}).empty();
    }));
}

}  // namespace
}  // namespace kelvo::testing
