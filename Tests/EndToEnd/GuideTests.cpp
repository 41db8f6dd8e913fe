// The first-run guide across processes: outside test mode a first start shows it under the
// status item, its footer's buttons answer clicks from the desktop, and Done records it as
// seen in the configuration file, so the next start does not show it. In test mode it shows
// only when asked for from the status menu.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "Base/JSON/JSONDecoder.h"
#include "Support/EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

class GuideTest : public EndToEndTest {
  protected:
    static constexpr const char* guideTitle = "Kelvo Guide";

    std::vector<JSONValue> listed(std::vector<std::string> verb) {
        std::vector<JSONValue> values;
        for (const auto& line : desktop().lines(std::move(verb)))
            values.push_back(JSONNode::parse(line));
        return values;
    }
    static CGRect rect(const JSONValue& frame) {
        return CGRect(frame["x"].get<double>(), frame["y"].get<double>(),
                      frame["width"].get<double>(), frame["height"].get<double>());
    }
    static std::string number(double value) { return std::to_string(std::lround(value)); }

    /// Kelvo outside test mode, its home folder `home`; ended by its pid when replaced or when
    /// the test ends.
    KelvoProcess& startOutsideTestMode() {
        KelvoProcess::Options options;
        options.desktop = desktop().environment();
        outside_.reset();
        outside_ = std::make_unique<KelvoProcess>(KELVO_APP_PROGRAM, options, home.path());
        return *outside_;
    }
    /// Kelvo's status item, once it is in the menu bar.
    std::optional<CGRect> statusItem(int pid) {
        std::optional<CGRect> found;
        eventually([&] {
            for (const auto& item : listed({"statusitems"}))
                if (item["pid"] == pid) found = rect(item["frame"]);
            return found.has_value();
        });
        return found;
    }
    /// The guide's window as the desktop lists it, when it is shown.
    std::optional<DesktopWindow> guideWindow(int pid) {
        for (const auto& window : windows())
            if (window.pid == pid && window.title == guideTitle && window.onScreen) return window;
        return std::nullopt;
    }
    /// Waits until one of the process's visible elements has this label and role.
    std::optional<CGRect> element(int pid, const std::string& label, const std::string& role = "") {
        std::optional<CGRect> found;
        eventually([&] {
            for (const auto& item : listed({"ui", "--pid", std::to_string(pid)}))
                if (item["label"] == label && (role.empty() || item["role"] == role))
                    found = rect(item["frame"]);
            return found.has_value();
        });
        return found;
    }
    /// Clicks the middle of the button of that title.
    bool press(int pid, const std::string& title) {
        const auto button = element(pid, title, "button");
        if (!button) return false;
        return desktop().run({"click", number(button->midX()), number(button->midY())}).status == 0;
    }
    bool showsStep(int pid, const std::string& counter) {
        return element(pid, counter).has_value();
    }
    std::string configText() const {
        std::ifstream file(home / ".config" / "kelvo" / "config.json");
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }
    /// Whether the configuration file, as far as it is written, says the guide was seen.
    bool guideSeenInConfig() const {
        try {
            return JSONNode::parse(configText())["guideSeen"] == true;
        } catch (const std::exception&) {
            return false;
        }
    }

    TemporaryFolder home;

  private:
    std::unique_ptr<KelvoProcess> outside_;
};

TEST_F(GuideTest, AFirstStartShowsTheGuideUntilDoneAndTheNextStartDoesNot) {
    KelvoProcess& first = startOutsideTestMode();
    const auto item = statusItem(first.pid());
    ASSERT_TRUE(item) << first.standardError();
    std::optional<DesktopWindow> guide;
    ASSERT_TRUE(eventually([&] { return (guide = guideWindow(first.pid())).has_value(); }));
    EXPECT_GE(guide->frame.minY(), item->maxY()) << "below the status item";
    EXPECT_NEAR(guide->frame.maxX(), item->maxX(), tolerance) << "right edges aligned";
    EXPECT_EQ(guide->frame.width(), 620);

    ASSERT_TRUE(showsStep(first.pid(), "Step 1 of 5"));
    ASSERT_TRUE(press(first.pid(), "Skip"));
    ASSERT_TRUE(showsStep(first.pid(), "Step 2 of 5"));
    ASSERT_TRUE(press(first.pid(), "Back"));
    ASSERT_TRUE(showsStep(first.pid(), "Step 1 of 5"));
    for (const char* next : {"Step 2 of 5", "Step 3 of 5", "Step 4 of 5", "Step 5 of 5"}) {
        ASSERT_TRUE(press(first.pid(), "Continue"));
        ASSERT_TRUE(showsStep(first.pid(), next));
    }
    ASSERT_TRUE(press(first.pid(), "Done"));
    EXPECT_TRUE(eventually([&] { return !guideWindow(first.pid()); }));
    EXPECT_TRUE(eventually([&] { return guideSeenInConfig(); })) << configText();

    KelvoProcess& second = startOutsideTestMode();
    const auto again = statusItem(second.pid());
    ASSERT_TRUE(again) << second.standardError();
    // The status menu opens only after start-up has run to its end.
    ASSERT_EQ(
        desktop().run({"click", number(again->midX()), number(again->midY()), "--right"}).status,
        0);
    ASSERT_TRUE(eventually([&] { return !listed({"menu"}).empty(); }));
    EXPECT_FALSE(guideWindow(second.pid()));
}

TEST_F(GuideTest, InTestModeTheGuideShowsOnlyFromTheStatusMenu) {
    writeConfig(R"({"guideSeen":false})");
    KelvoProcess& k = startKelvo();
    const auto item = statusItem(k.pid());
    ASSERT_TRUE(item);
    ASSERT_EQ(
        desktop().run({"click", number(item->midX()), number(item->midY()), "--right"}).status, 0);
    ASSERT_TRUE(eventually([&] { return !listed({"menu"}).empty(); }));
    EXPECT_FALSE(guideWindow(k.pid()));
    ASSERT_EQ(desktop().run({"menu", "pick", "Guide…"}).status, 0);
    EXPECT_TRUE(eventually([&] { return guideWindow(k.pid()).has_value(); }));
    EXPECT_TRUE(k.waitForLine("guide opened on desktop 1"));
}

}  // namespace
}  // namespace kelvo::testing
