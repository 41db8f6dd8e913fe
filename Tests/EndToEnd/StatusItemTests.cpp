// Kelvo's status item across processes: its label after start-up and after a desktop switch,
// its tiles in a screenshot of the menu bar, and its menu, whose "Quit Kelvo" ends Kelvo with
// every parked window put back.

#include <gtest/gtest.h>

#include "Base/JSON/JSONDecoder.h"
#include "Support/Base/PNGPixels.h"
#include "Support/EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

class StatusItemTest : public EndToEndTest {
  protected:
    std::vector<JSONValue> listed(std::vector<std::string> verb) {
        std::vector<JSONValue> values;
        for (const auto& line : desktop().lines(std::move(verb)))
            values.push_back(JSONNode::parse(line));
        return values;
    }
    /// Kelvo's item as `kelvo-sim statusitems` lists it, once its label reads `label`.
    std::optional<JSONValue> itemLabelled(const std::string& label) {
        std::optional<JSONValue> found;
        eventually([&] {
            for (const auto& item : listed({"statusitems"}))
                if (item["pid"] == kelvo().pid() && item["label"] == label) found = item;
            return found.has_value();
        });
        return found;
    }
    std::vector<std::string> menuTitles() {
        std::vector<std::string> titles;
        for (const auto& item : listed({"menu"}))
            titles.push_back(item["separator"].get<bool>() ? "-"
                                                           : item["title"].get<std::string>());
        return titles;
    }
    static CGRect rect(const JSONValue& frame) {
        return CGRect(frame["x"].get<double>(), frame["y"].get<double>(),
                      frame["width"].get<double>(), frame["height"].get<double>());
    }
    static std::string number(double value) { return std::to_string(static_cast<int>(value)); }
};

TEST_F(StatusItemTest, ShowsTheDesktopsAndItsMenuQuitsWithEveryWindowPutBack) {
    const std::vector<std::uint32_t> all = {
        open(notes, CGRect(120, 120, 700, 500), FixtureQuirk::plain, "Shopping list"),
        open(browser, CGRect(520, 180, 900, 640), FixtureQuirk::plain, "Start page")};
    auto& k = startKelvo();
    ASSERT_TRUE(settled(all));
    const auto first = itemLabelled("Kelvo - desktop 1 of 9");
    ASSERT_TRUE(first);
    EXPECT_EQ((*first)["toolTip"], "This desktop splits whichever window you are in");
    EXPECT_EQ(rect((*first)["frame"]).width(), 183);

    // ⌥2 leaves desktop 1's windows parked and lights the second tile.
    ASSERT_TRUE(key("alt+2"));
    const auto second = itemLabelled("Kelvo - desktop 2 of 9");
    ASSERT_TRUE(second);
    EXPECT_FALSE(everyWindowOnADisplay()) << "desktop 1's windows should be parked";
    const CGRect item = rect((*second)["frame"]);

    // The tiles in the menu bar: the second one filled in the bar's text colour, the first
    // with its number only.
    const auto file = kelvoFolder().parent_path() / "menubar.png";
    ASSERT_EQ(desktop().run({"screenshot", file.string()}).status, 0);
    const PNGPixels picture(file);
    const auto brightness = [&](double tileX) {
        int sum = 0;
        for (int x = static_cast<int>(item.minX() + tileX) + 1; x < item.minX() + tileX + 14; ++x)
            for (int y = static_cast<int>(item.minY()); y < item.maxY(); ++y) {
                const Pixel p = picture.at(x, y);
                sum += p.red + p.green + p.blue;
            }
        return sum;
    };
    EXPECT_LT(brightness(38), brightness(20) * 0.75) << "the active tile should be dark";

    // A right click opens the menu; "Quit Kelvo" ends Kelvo.
    ASSERT_EQ(desktop().run({"click", number(item.midX()), number(item.midY()), "--right"}).status,
              0);
    std::vector<std::string> titles;
    ASSERT_TRUE(eventually([&] { return !(titles = menuTitles()).empty(); }));
    EXPECT_EQ(titles, (std::vector<std::string>{"Settings…", "Guide…", "Shortcuts   ⌥/",
                                                "Rebalance", "-", "Quit Kelvo"}));
    ASSERT_EQ(desktop().run({"menu", "pick", "Quit Kelvo"}).status, 0);
    EXPECT_EQ(k.process().waitForExit(), 0);
    EXPECT_TRUE(k.waitForLog("quitting - every parked window put back"));
    EXPECT_TRUE(everyWindowOnADisplay());
}

}  // namespace
}  // namespace kelvo::testing
