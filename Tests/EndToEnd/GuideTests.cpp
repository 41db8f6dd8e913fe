// The first-run guide across processes: outside test mode a first start shows it under the
// status item, its footer's buttons answer clicks from the desktop, and Done records it as
// seen in the configuration file, so the next start does not show it. In test mode it shows
// only when asked for from the status menu, and Done records it as seen there too.

#include <gtest/gtest.h>

#include <algorithm>

#include "Base/JSON/JSONDecoder.h"
#include "Support/Base/TestFiles.h"
#include "Support/EndToEnd/EndToEndTest.h"
#include "Support/EndToEnd/OwnInterface.h"

namespace kelvo::testing {
namespace {

class GuideTest : public EndToEndTest {
  protected:
    static constexpr const char* guideTitle = "Kelvo Guide";
    /// Clicks on one footer button: a step's footer moves once, so the second click is aimed
    /// at where it stays.
    static constexpr int maximumClicks = 2;

    /// Kelvo outside test mode, its home folder `home`; ended by its pid when replaced or when
    /// the test ends. One that is replaced is waited for until the desktop has let its status
    /// item go: the menu bar lays its items out from the right, so until then the next Kelvo's
    /// item stands to the left of it and moves when it goes.
    KelvoProcess& startOutsideTestMode() {
        KelvoProcess::Options options;
        options.desktop = desktop().environment();
        if (outside_) {
            const int ended = outside_->pid();
            outside_.reset();
            EXPECT_TRUE(eventually([&] { return !hasStatusItem(ended); }))
                << "the desktop kept the status item of Kelvo " << ended;
        }
        outside_ = std::make_unique<KelvoProcess>(KELVO_APP_PROGRAM, options, home.path());
        return *outside_;
    }
    bool hasStatusItem(int pid) {
        const auto items = desktop().lines({"statusitems"});
        return std::any_of(items.begin(), items.end(), [&](const std::string& line) {
            return JSONNode::parse(line)["pid"] == pid;
        });
    }
    OwnInterface ui(int pid) { return OwnInterface(desktop(), pid); }
    /// The guide's window as the desktop lists it, when it is shown.
    std::optional<DesktopWindow> guideWindow(int pid) {
        for (const auto& window : windows())
            if (window.pid == pid && window.title == guideTitle && window.onScreen) return window;
        return std::nullopt;
    }
    bool showsStep(int pid, const std::string& counter) {
        return ui(pid).awaitLabel(counter).has_value();
    }
    /// Clicks the footer's button of that title until the guide shows `counter`, or, without
    /// one, until its window is gone. The guide fits its height to a step just after first
    /// drawing it, and the footer moves with the window's bottom edge; Kelvo takes a click sent
    /// after that drawing only once the fit is done, so a click aimed at the first drawing can
    /// land where the button no longer is. A click is sent again only when the button is drawn
    /// where that click did not land, that is when it certainly missed: one that met the
    /// button is never repeated.
    bool pressUntil(int pid, const std::string& title, const std::string& counter = "") {
        OwnInterface guide = ui(pid);
        for (int click = 0; click < maximumClicks; ++click) {
            const auto button = guide.awaitLabel(title, "button");
            if (!button || !guide.click(*button)) return false;
            const CGPoint aimed{button->frame.midX(), button->frame.midY()};
            bool missed = false;
            const bool told = eventually([&] {
                if (counter.empty() && !guideWindow(pid)) return true;
                const auto shown = guide.elements();
                const auto found = [&](const std::string& label, const std::string& role) {
                    return std::find_if(shown.begin(), shown.end(), [&](const auto& e) {
                        return e.label == label && (role.empty() || e.role == role);
                    });
                };
                if (!counter.empty() && found(counter, "") != shown.end()) return true;
                const auto now = found(title, "button");
                missed = now != shown.end() && !now->frame.contains(aimed);
                return missed;
            });
            if (!told) return false;
            if (!missed) return true;
        }
        return false;
    }
    /// Walks the guide from its first step to Done, going back once on the way.
    void walkToDone(int pid) {
        ASSERT_TRUE(showsStep(pid, "Step 1 of 5"));
        ASSERT_TRUE(pressUntil(pid, "Skip", "Step 2 of 5"));
        ASSERT_TRUE(pressUntil(pid, "Back", "Step 1 of 5"));
        for (const char* next : {"Step 2 of 5", "Step 3 of 5", "Step 4 of 5", "Step 5 of 5"})
            ASSERT_TRUE(pressUntil(pid, "Continue", next)) << next;
        EXPECT_TRUE(pressUntil(pid, "Done"));
    }
    std::filesystem::path homeConfig() const { return home / ".config" / "kelvo" / "config.json"; }
    /// Whether the configuration file, as far as it is written, says the guide was seen.
    static bool guideSeenIn(const std::filesystem::path& config) {
        try {
            return JSONNode::parse(fileContents(config))["guideSeen"] == true;
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
    const auto item = ui(first.pid()).statusItem();
    ASSERT_TRUE(item) << first.standardError();
    std::optional<DesktopWindow> guide;
    ASSERT_TRUE(eventually([&] { return (guide = guideWindow(first.pid())).has_value(); }));
    EXPECT_GE(guide->frame.minY(), item->maxY()) << "below the status item";
    EXPECT_NEAR(guide->frame.maxX(), item->maxX(), tolerance) << "right edges aligned";
    EXPECT_EQ(guide->frame.width(), 620);

    walkToDone(first.pid());
    ASSERT_FALSE(HasFailure());
    EXPECT_TRUE(eventually([&] { return guideSeenIn(homeConfig()); }))
        << fileContents(homeConfig());

    KelvoProcess& second = startOutsideTestMode();
    // Start-up shows the guide on the main loop's turn after its own, and a click on the status
    // item made while it runs is taken first: the menu opened by one may stand before the guide
    // would. Closed again with Escape, the menu has had a turn after that one.
    OwnInterface secondUI = ui(second.pid());
    ASSERT_TRUE(secondUI.openStatusMenu()) << second.standardError();
    ASSERT_TRUE(key("escape"));
    ASSERT_TRUE(eventually([&] { return secondUI.menuTitles().empty(); }));
    EXPECT_FALSE(guideWindow(second.pid()));
}

TEST_F(GuideTest, InTestModeTheGuideShowsOnlyFromTheStatusMenuAndWalksToDone) {
    writeConfig(R"({"guideSeen":false})");
    KelvoProcess& k = startKelvo();
    OwnInterface kelvoUI = ui(k.pid());
    ASSERT_TRUE(kelvoUI.openStatusMenu());
    EXPECT_FALSE(guideWindow(k.pid()));
    ASSERT_EQ(desktop().run({"menu", "pick", "Guide…"}).status, 0);
    EXPECT_TRUE(eventually([&] { return guideWindow(k.pid()).has_value(); }));
    EXPECT_TRUE(k.waitForLine("guide opened on desktop 1"));
    walkToDone(k.pid());
    ASSERT_FALSE(HasFailure());
    EXPECT_TRUE(eventually([&] { return guideSeenIn(kelvoFolder() / "config.json"); }));
}

}  // namespace
}  // namespace kelvo::testing
