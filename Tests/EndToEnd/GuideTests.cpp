// The first-run guide across processes: outside test mode a first start shows it under the
// status item, its footer's buttons answer clicks from the desktop, and Done records it as
// seen in the configuration file, so the next start does not show it. In test mode it shows
// only when asked for from the status menu, and Done records it as seen there too.

#include <gtest/gtest.h>

#include "Base/JSON/JSONDecoder.h"
#include "Support/Base/TestFiles.h"
#include "Support/EndToEnd/EndToEndTest.h"
#include "Support/EndToEnd/OwnInterface.h"

namespace kelvo::testing {
namespace {

class GuideTest : public EndToEndTest {
  protected:
    static constexpr const char* guideTitle = "Kelvo Guide";

    /// Kelvo outside test mode, its home folder `home`; ended by its pid when replaced or when
    /// the test ends.
    KelvoProcess& startOutsideTestMode() {
        KelvoProcess::Options options;
        options.desktop = desktop().environment();
        outside_.reset();
        outside_ = std::make_unique<KelvoProcess>(KELVO_APP_PROGRAM, options, home.path());
        return *outside_;
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
    /// Walks the guide from its first step to Done, going back once on the way.
    void walkToDone(int pid) {
        OwnInterface guide = ui(pid);
        ASSERT_TRUE(showsStep(pid, "Step 1 of 5"));
        ASSERT_TRUE(guide.press("Skip"));
        ASSERT_TRUE(showsStep(pid, "Step 2 of 5"));
        ASSERT_TRUE(guide.press("Back"));
        ASSERT_TRUE(showsStep(pid, "Step 1 of 5"));
        for (const char* next : {"Step 2 of 5", "Step 3 of 5", "Step 4 of 5", "Step 5 of 5"}) {
            ASSERT_TRUE(guide.press("Continue"));
            ASSERT_TRUE(showsStep(pid, next));
        }
        ASSERT_TRUE(guide.press("Done"));
        EXPECT_TRUE(eventually([&] { return !guideWindow(pid); }));
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
    // The status menu opens only after start-up has run to its end.
    ASSERT_TRUE(ui(second.pid()).openStatusMenu()) << second.standardError();
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
