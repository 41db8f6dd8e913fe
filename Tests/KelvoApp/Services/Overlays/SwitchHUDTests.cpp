#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "KelvoApp/Services/Overlays/SwitchHUD.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

/// The display as a panel of the simulated desktop on the manual clock, the main screen
/// 1440 × 900.
class SwitchHUDTest : public DesktopFixture {
  protected:
    sim::WindowNumber number() const {
        return static_cast<sim::WindowNumber>(hud.panel.windowNumber());
    }
    sim::OwnWindowSpec look() const { return desktop->ownWindow(number()).value(); }
    const CALayerRef& layer() const { return hud.backdrop->layer(); }
    /// The scale the square is shown at now.
    double scale() const { return layer()->presentationValues().transform.m11; }
    bool scalingOut() const { return layer()->animationForKey("scaleOut") != nullptr; }
    /// Moves the clock `seconds` on from where it stands.
    void wait(double seconds) { clock.advance(seconds); }

    SwitchHUD hud;
};

// What the pictures and the timetable below do not show: the panel's place among windows, its
// see-through frame, and the square scaling about its centre.
TEST_F(SwitchHUDTest, ThePanelIsAClickThroughSquareAboveEverythingThatStartsHidden) {
    EXPECT_FALSE(hud.panel.isOpaque());
    EXPECT_FALSE(hud.panel.hasShadow());
    EXPECT_EQ(hud.panel.collectionBehavior(), NSWindowCollectionBehaviorCanJoinAllSpaces |
                                                  NSWindowCollectionBehaviorStationary |
                                                  NSWindowCollectionBehaviorIgnoresCycle);
    EXPECT_FALSE(hud.panel.canBecomeKeyWindow());
    EXPECT_EQ(hud.panel.alphaValue(), 0);
    EXPECT_FALSE(hud.panel.isVisible());
    EXPECT_FALSE(hud.isVisible());
    EXPECT_EQ(hud.generation(), 0);

    EXPECT_EQ(hud.backdrop->blendingMode(), NSVisualEffectBlendingMode::behindWindow);
    EXPECT_EQ(hud.backdrop->state(), NSVisualEffectState::active);
    EXPECT_TRUE(layer()->masksToBounds());
    EXPECT_EQ(layer()->anchorPoint(), (CGPoint{0.5, 0.5}));
    EXPECT_EQ(layer()->position(), (CGPoint{80, 80}));
    EXPECT_EQ(hud.label->frame(), CGRect(0, 24, 160, 116));
    EXPECT_EQ(hud.label->font()->pointSize(), 96);
    EXPECT_EQ(hud.label->font()->weight(), NSFontWeightBold);

    EXPECT_EQ(look().level, 1000);
    EXPECT_FALSE(desktop->window(number())->onScreen);
}

TEST_F(SwitchHUDTest, OneSwitchScalesInRestsAndFadesOutOnItsTimetable) {
    desktop->addDisplay(CGRect(1440, 0, 1920, 1200));
    desktop->movePointer(CGPoint{2000, 500});
    hud.show(2);
    EXPECT_EQ(hud.label->stringValue(), "2");
    EXPECT_EQ(hud.generation(), 1);
    EXPECT_TRUE(hud.isVisible());
    EXPECT_TRUE(hud.panel.isVisible());
    // Centred on the main screen's whole frame, wherever the pointer is.
    EXPECT_EQ(hud.panel.frame(), CGRect(640, 370, 160, 160));
    EXPECT_EQ(hud.panel.alphaValue(), 0);
    EXPECT_DOUBLE_EQ(scale(), 0.94);
    EXPECT_TRUE(CATransform3DIsIdentity(layer()->transform()));
    EXPECT_THAT(layer()->animationKeys(), ElementsAre("scaleIn"));

    wait(0.09);
    EXPECT_NEAR(hud.panel.alphaValue(), 0.5, 1e-9);
    EXPECT_NEAR(scale(), 0.97, 1e-9);
    wait(0.09);
    EXPECT_EQ(hud.panel.alphaValue(), 1);
    EXPECT_EQ(scale(), 1);
    EXPECT_THAT(layer()->animationKeys(), IsEmpty());
    EXPECT_EQ(look().alpha, 1);

    // At rest for 0.42 s.
    wait(0.415);
    EXPECT_FALSE(scalingOut());
    EXPECT_EQ(hud.panel.alphaValue(), 1);
    wait(0.01);
    EXPECT_TRUE(scalingOut());
    wait(0.165);
    EXPECT_NEAR(hud.panel.alphaValue(), 0.5, 0.05);
    EXPECT_NEAR(scale(), 0.98, 0.003);
    EXPECT_TRUE(hud.panel.isVisible());

    // 0.18 + 0.42 + 0.34 after the switch it is gone, put back as it was made.
    wait(0.165);
    EXPECT_NEAR(hud.panel.alphaValue(), 0.0, 1e-3);
    EXPECT_TRUE(hud.panel.isVisible());
    wait(0.01);
    EXPECT_FALSE(hud.panel.isVisible());
    EXPECT_FALSE(hud.isVisible());
    EXPECT_EQ(hud.panel.alphaValue(), 0);
    EXPECT_THAT(layer()->animationKeys(), IsEmpty());
    EXPECT_TRUE(CATransform3DIsIdentity(layer()->transform()));
    EXPECT_FALSE(desktop->window(number())->onScreen);
    clock.runUntilIdle();
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(SwitchHUDTest, AQuickRunOfSwitchesShowsTheLastNumberAndDismissesAfterTheLastTimetable) {
    hud.show(1);
    wait(0.1);
    const double scaleBefore = scale();
    hud.show(2);
    // No second scale-in: the square goes on growing from where it was.
    EXPECT_DOUBLE_EQ(scale(), scaleBefore);
    EXPECT_GT(scale(), 0.94);
    EXPECT_EQ(hud.label->stringValue(), "2");
    wait(0.1);
    hud.show(3);
    EXPECT_EQ(hud.label->stringValue(), "3");
    EXPECT_EQ(hud.generation(), 3);

    // The last show fades in until 0.38 s, rests until 0.80 s and is gone at 1.14 s.
    wait(0.595);
    EXPECT_FALSE(scalingOut());
    EXPECT_TRUE(hud.panel.isVisible());
    EXPECT_EQ(hud.panel.alphaValue(), 1);
    wait(0.01);
    EXPECT_TRUE(scalingOut());
    wait(0.33);
    EXPECT_TRUE(hud.panel.isVisible());
    wait(0.01);
    EXPECT_FALSE(hud.panel.isVisible());
    EXPECT_FALSE(hud.isVisible());
    clock.runUntilIdle();
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(SwitchHUDTest, ASwitchDuringTheFadeOutShowsTheNewNumberAtFullSizeAndStaysUp) {
    hud.show(1);
    wait(0.18 + 0.42 + 0.17);
    ASSERT_TRUE(scalingOut());
    ASSERT_LT(scale(), 0.99);
    const double fading = hud.panel.alphaValue();
    ASSERT_LT(fading, 0.9);

    hud.show(2);
    EXPECT_EQ(hud.label->stringValue(), "2");
    EXPECT_FALSE(scalingOut());
    EXPECT_EQ(scale(), 1);
    EXPECT_TRUE(CATransform3DIsIdentity(layer()->transform()));
    // No new scale-in; the alpha goes back to 1 from where it stood.
    EXPECT_THAT(layer()->animationKeys(), IsEmpty());
    EXPECT_NEAR(hud.panel.alphaValue(), fading, 1e-9);

    // The old fade-out's end does not order the panel out.
    wait(0.18);
    EXPECT_TRUE(hud.panel.isVisible());
    EXPECT_TRUE(hud.isVisible());
    EXPECT_EQ(hud.panel.alphaValue(), 1);
    EXPECT_EQ(scale(), 1);
    wait(0.415);
    EXPECT_FALSE(scalingOut());
    wait(0.01);
    EXPECT_TRUE(scalingOut());
    wait(0.34);
    EXPECT_FALSE(hud.panel.isVisible());
}

TEST_F(SwitchHUDTest, WithoutAMainScreenAShowDoesNothing) {
    for (const auto& display : desktop->displays())
        desktop->removeDisplay(display.id);
    hud.show(4);
    EXPECT_EQ(hud.generation(), 0);
    EXPECT_EQ(hud.label->stringValue(), "");
    EXPECT_FALSE(hud.panel.isVisible());
    EXPECT_FALSE(hud.isVisible());
    clock.runUntilIdle();
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(SwitchHUDTest, TheDisplayNeverTakesTheKeyboardOrTheFrontFromAnApplication) {
    const sim::Pid front = launch("com.example.front", true);
    open(front, CGRect(100, 100, 600, 400));
    hud.show(2);
    settle();
    EXPECT_EQ(desktop->frontmostApplication(), front);
    EXPECT_EQ(NSWindow::keyWindow(), nullptr);
    EXPECT_FALSE(look().key);
    EXPECT_TRUE(look().ignoresMouseEvents);
    EXPECT_TRUE(look().nonactivating);
}

TEST_F(SwitchHUDTest, AtRestTheSquareShowsTheNumberInWhiteInsideRoundedCorners) {
    hud.show(7);
    wait(0.3);
    const CGBitmapContext* drawn = hud.panel.renderContent();
    ASSERT_TRUE(drawn);
    const CGImageRef picture = drawn->makeImage();
    // Outside the rounded corner nothing is drawn; inside it the dark tint.
    EXPECT_EQ(picture->pixel(6, 6)->alpha, 0);
    const CGPixel tint = *picture->pixel(20, 150);
    EXPECT_GT(tint.alpha, 150);
    EXPECT_LT(tint.red, 60);
    // Some of the number's strokes are white, in the middle.
    int white = 0;
    double across = 0;
    for (int y = 30; y < 130; ++y)
        for (int x = 20; x < 140; ++x)
            if (picture->pixel(x, y)->red > 240) {
                ++white;
                across += x + 0.5;
            }
    EXPECT_GT(white, 300);
    // Centred across the square.
    EXPECT_NEAR(across / white, 80, 6);
}

TEST_F(SwitchHUDTest, ADisplayGoneBeforeItsStepsRunLeavesThemDoingNothing) {
    auto brief = std::make_unique<SwitchHUD>();
    brief->show(1);
    wait(0.3);
    brief.reset();
    wait(2);
    clock.runUntilIdle();
    EXPECT_EQ(clock.pendingCount(), 0u);
}

}  // namespace
}  // namespace kelvo
