// Kelvo's status item across processes: its label and tooltip through desktop switches and
// layout changes, its tiles in a screenshot of the menu bar, and its menu, each of whose entries
// does what it says ("Quit Kelvo" ends Kelvo with every parked window put back).

#include <gtest/gtest.h>

#include "Base/JSON/JSONDecoder.h"
#include "Support/Base/PNGPixels.h"
#include "Support/EndToEnd/EndToEndTest.h"
#include "Support/EndToEnd/OwnInterface.h"

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
    static CGRect rect(const JSONValue& frame) {
        return CGRect(frame["x"].get<double>(), frame["y"].get<double>(),
                      frame["width"].get<double>(), frame["height"].get<double>());
    }
    static std::string number(double value) { return std::to_string(static_cast<int>(value)); }

    static constexpr const char* mainAndStack =
        "This desktop keeps one main window with the rest stacked beside it";
    static constexpr const char* splits = "This desktop splits whichever window you are in";

    /// Kelvo's item once both its label and its tooltip read these.
    bool itemReads(const std::string& label, const std::string& toolTip) {
        const auto item = itemLabelled(label);
        return item && eventually([&] {
                   for (const auto& each : listed({"statusitems"}))
                       if (each["pid"] == kelvo().pid()) return each["toolTip"] == toolTip;
                   return false;
               });
    }
    /// One of Kelvo's windows with this title is on screen.
    bool showsWindow(const std::string& title) {
        return eventually([&] {
            for (const auto& each : windows())
                if (each.pid == kelvo().pid() && each.title == title && each.onScreen) return true;
            return false;
        });
    }
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
    ASSERT_TRUE(OwnInterface(desktop(), k.pid()).pickFromStatusMenu("Quit Kelvo"));
    EXPECT_EQ(k.process().waitForExit(), 0);
    EXPECT_TRUE(k.waitForLog("quitting - every parked window put back"));
    EXPECT_TRUE(everyWindowOnADisplay());
}

// Four desktops and a configuration file without a layout mode, which gives every desktop the
// main-and-stack layout.
TEST_F(StatusItemTest, FollowsDesktopsAndLayoutsAndEachMenuEntryRunsItsAction) {
    writeConfig(R"({"desktopCount":4})");
    const std::vector<std::uint32_t> both = {
        open(notes, CGRect(120, 120, 700, 500), FixtureQuirk::plain, "Shopping list"),
        open(browser, CGRect(520, 180, 900, 640), FixtureQuirk::plain, "Start page")};
    startKelvo();
    ASSERT_TRUE(settled(both));
    OwnInterface own(desktop(), kelvo().pid());
    ASSERT_TRUE(itemReads("Kelvo - desktop 1 of 4", mainAndStack));
    EXPECT_EQ(own.statusItem().value_or(CGRect()).width(), 20 + 4 * 15 + 3 * 3 + 4)
        << "one tile per desktop";

    // The layout shortcut changes the tooltip; each desktop keeps its own layout.
    ASSERT_TRUE(key("alt+shift+m"));
    EXPECT_TRUE(itemReads("Kelvo - desktop 1 of 4", splits));
    ASSERT_TRUE(key("alt+4"));
    EXPECT_TRUE(itemReads("Kelvo - desktop 4 of 4", mainAndStack));
    ASSERT_TRUE(key("alt+1"));
    EXPECT_TRUE(itemReads("Kelvo - desktop 1 of 4", splits));
    ASSERT_TRUE(settled(both));

    // A plain click opens nothing (else the Control-click after it would close the menu); a
    // Control-click opens the five entries.
    const CGRect item = own.statusItem().value_or(CGRect());
    ASSERT_EQ(desktop().run({"click", number(item.midX()), number(item.midY())}).status, 0);
    ASSERT_EQ(
        desktop().run({"click", number(item.midX()), number(item.midY()), "--mods", "ctrl"}).status,
        0);
    ASSERT_TRUE(eventually([&] { return !own.menuTitles().empty(); }));
    EXPECT_EQ(own.menuTitles(), (std::vector<std::string>{"Settings…", "Guide…", "Shortcuts   ⌥/",
                                                          "Rebalance", "", "Quit Kelvo"}));
    ASSERT_TRUE(key("escape"));
    ASSERT_TRUE(eventually([&] { return own.menuTitles().empty(); }));

    // "Shortcuts" shows the cheat sheet and hides it again.
    ASSERT_TRUE(own.pickFromStatusMenu("Shortcuts"));
    EXPECT_TRUE(eventually([&] { return interfaceShows("again to close"); }));
    ASSERT_TRUE(own.pickFromStatusMenu("Shortcuts"));
    EXPECT_TRUE(eventually([&] { return !interfaceShows("again to close"); }));

    // "Rebalance" evens out the split that the resize shortcut moved.
    const auto widths = [&] {
        const auto [left, right] = leftAndRight(both[0], both[1]);
        return std::pair{tile(left).width(), tile(right).width()};
    };
    ASSERT_TRUE(key("alt+ctrl+l"));
    ASSERT_TRUE(eventually([&] {
        const auto [left, right] = widths();
        return std::abs(left - right) > 20;
    })) << "the resize shortcut did not move the split";
    ASSERT_TRUE(own.pickFromStatusMenu("Rebalance"));
    EXPECT_TRUE(eventually([&] {
        const auto [left, right] = widths();
        return std::abs(left - right) <= tolerance;
    }));
    EXPECT_TRUE(settled(both));

    // "Settings…" and "Guide…" open their windows on the desktop in view.
    ASSERT_TRUE(own.pickFromStatusMenu("Settings…"));
    EXPECT_TRUE(showsWindow("Kelvo Settings"));
    EXPECT_TRUE(kelvo().waitForLine("settings window opened on desktop 1"));
    ASSERT_TRUE(own.pickFromStatusMenu("Guide…"));
    EXPECT_TRUE(showsWindow("Kelvo Guide"));
    EXPECT_TRUE(kelvo().waitForLine("guide opened on desktop 1"));
}

}  // namespace
}  // namespace kelvo::testing
