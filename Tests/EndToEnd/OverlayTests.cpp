#include <algorithm>
#include <string>
#include <vector>

#include "Base/JSON/JSONDecoder.h"
#include "Support/EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

// Kelvo's cheat sheet as another process sees it: its rows in the desktop's list of interface
// elements.
class OverlayTest : public EndToEndTest {
  protected:
    OverlayTest() { writeConfig(R"({"guideSeen":true})"); }
};

TEST_F(OverlayTest, TheCheatSheetShortcutShowsTheSheetWithItsRowsListed) {
    startKelvo();
    ASSERT_TRUE(key("alt+/"));
    std::vector<std::string> labels;
    ASSERT_TRUE(eventually([&] {
        labels.clear();
        for (const std::string& line :
             desktop().lines({"ui", "--pid", std::to_string(kelvo().pid())})) {
            const JSONValue element = JSONNode::parse(line);
            if (element.contains("label")) labels.push_back(element["label"].get<std::string>());
        }
        return std::find(labels.begin(), labels.end(), "again to close") != labels.end();
    }));
    for (const char* expected :
         {"Shortcuts", "DESKTOPS", "FOCUS", "Go to desktop 1 – 9", "Focus the window to the left",
          "Open a new terminal window", "⌥/"})
        EXPECT_NE(std::find(labels.begin(), labels.end(), expected), labels.end()) << expected;

    // Again closes it.
    ASSERT_TRUE(key("alt+/"));
    EXPECT_TRUE(eventually([&] {
        return desktop().lines({"ui", "--pid", std::to_string(kelvo().pid())}).empty();
    }));
}

}  // namespace
}  // namespace kelvo::testing
