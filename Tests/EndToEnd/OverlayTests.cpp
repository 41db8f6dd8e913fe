#include <algorithm>
#include <string>
#include <vector>

#include "Base/JSON/JSONDecoder.h"
#include "Support/EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

// Kelvo's overlays as another process sees them: their texts in the desktop's list of interface
// elements.
class OverlayTest : public EndToEndTest {
  protected:
    OverlayTest() { writeConfig(R"({"guideSeen":true})"); }

    std::vector<std::string> labels() {
        std::vector<std::string> found;
        for (const std::string& line :
             desktop().lines({"ui", "--pid", std::to_string(kelvo().pid())})) {
            const JSONValue element = JSONNode::parse(line);
            if (element.contains("label")) found.push_back(element["label"].get<std::string>());
        }
        return found;
    }
    bool shows(const std::string& label) {
        const auto found = labels();
        return std::find(found.begin(), found.end(), label) != found.end();
    }
};

// A screenshot under the sanitizers takes longer than the display's second on screen, so the
// number is read from the element list right after the switch; a busy machine can miss one
// display, so the switches go on between two desktops until one is seen.
TEST_F(OverlayTest, ADesktopSwitchShowsItsNumberForAMomentThenTheDisplayGoes) {
    startKelvo();
    int switches = 0;
    ASSERT_TRUE(eventually([&] {
        const std::string number = ++switches % 2 ? "2" : "3";
        return key("alt+" + number) && shows(number);
    }));
    EXPECT_TRUE(eventually([&] { return !shows("2") && !shows("3"); }));
}

TEST_F(OverlayTest, TheCheatSheetShortcutShowsTheSheetWithItsRowsListed) {
    startKelvo();
    ASSERT_TRUE(key("alt+/"));
    ASSERT_TRUE(eventually([&] { return shows("again to close"); }));
    const auto listed = labels();
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
