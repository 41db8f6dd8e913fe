// The settings window across processes: the status menu's "Settings…" opens it, Kelvo is a
// regular application while it is open and an accessory one again once its close button is
// pressed, also after it was shown twice.

#include <gtest/gtest.h>

#include "Base/JSON/JSONDecoder.h"
#include "Support/EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

constexpr int regularPolicy = 0;
constexpr int accessoryPolicy = 1;

class SettingsWindowTest : public EndToEndTest {
  protected:
    std::vector<JSONValue> listed(std::vector<std::string> verb) {
        std::vector<JSONValue> values;
        for (const auto& line : desktop().lines(std::move(verb)))
            values.push_back(JSONNode::parse(line));
        return values;
    }
    std::optional<int> kelvoPolicy() {
        for (const auto& app : listed({"apps"}))
            if (app["pid"] == kelvo().pid()) return app["activationPolicy"].get<int>();
        return std::nullopt;
    }
    bool becomes(int policy) {
        return eventually([&] { return kelvoPolicy() == policy; });
    }
    /// Opens the status menu and picks "Settings…".
    bool pickSettings() {
        std::optional<JSONValue> item;
        if (!eventually([&] {
                for (const auto& each : listed({"statusitems"}))
                    if (each["pid"] == kelvo().pid()) item = each;
                return item.has_value();
            }))
            return false;
        const JSONValue& frame = (*item)["frame"];
        const auto middle = [](const JSONValue& origin, const JSONValue& length) {
            return std::to_string(
                static_cast<int>(origin.get<double>() + length.get<double>() / 2));
        };
        if (desktop()
                .run({"click", middle(frame["x"], frame["width"]),
                      middle(frame["y"], frame["height"]), "--right"})
                .status != 0)
            return false;
        if (!eventually([&] { return !listed({"menu"}).empty(); })) return false;
        return desktop().run({"menu", "pick", "Settings…"}).status == 0;
    }
    std::optional<DesktopWindow> settingsWindow() {
        std::optional<DesktopWindow> found;
        eventually([&] {
            for (const auto& each : windows())
                if (each.pid == kelvo().pid() && each.title == "Kelvo Settings" && each.onScreen)
                    found = each;
            return found.has_value();
        });
        return found;
    }
};

TEST_F(SettingsWindowTest, TheStatusMenuOpensItAndClosingItLeavesTheDock) {
    startKelvo();
    ASSERT_TRUE(becomes(accessoryPolicy));
    ASSERT_TRUE(pickSettings());
    const auto shown = settingsWindow();
    ASSERT_TRUE(shown);
    EXPECT_TRUE(becomes(regularPolicy));

    // Shown a second time while it is open, it still counts once.
    ASSERT_TRUE(pickSettings());
    EXPECT_TRUE(settingsWindow());
    ASSERT_EQ(desktop().run({"close", std::to_string(shown->number)}).status, 0);
    EXPECT_TRUE(becomes(accessoryPolicy));
    EXPECT_TRUE(eventually([&] {
        const auto listed = window(shown->number);
        return listed && !listed->onScreen;
    }));

    // Opened again, it is the same window.
    ASSERT_TRUE(pickSettings());
    const auto again = settingsWindow();
    ASSERT_TRUE(again);
    EXPECT_EQ(again->number, shown->number);
    EXPECT_TRUE(becomes(regularPolicy));
}

}  // namespace
}  // namespace kelvo::testing
