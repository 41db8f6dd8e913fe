#include <cmath>

#include "Support/Base/PNGPixels.h"
#include "Support/EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

constexpr Pixel green{0, 255, 0, 255};

// Kelvo's focus border is a panel of its own process on the desktop: listed by the window
// server, and drawn in pictures of the desktop in its colour around the focused window.
class FocusBorderTest : public EndToEndTest {
  protected:
    FocusBorderTest() {
        // Gaps keep every edge of a tile, and so the whole border, inside the display.
        writeConfig(R"({"focusBorderColor":"#00FF00","focusBorderCornerRadius":0,)"
                    R"("focusBorderOpacity":1,"gaps":{"inner":20,"outer":20},"guideSeen":true})");
    }
    /// Kelvo's panel on screen around the frame, once it is there.
    std::optional<DesktopWindow> borderAround(const CGRect& frame) {
        std::optional<DesktopWindow> found;
        eventually([&] {
            found.reset();
            for (const auto& w : windows()) {
                if (w.pid == kelvo().pid() && w.onScreen && near(w.frame, frame.insetBy(-1, -1)))
                    found = w;
            }
            return found.has_value();
        });
        return found;
    }
    PNGPixels screenshot(const std::string& name) {
        const auto file = kelvoFolder() / (name + ".png");
        EXPECT_EQ(desktop().run({"screenshot", file.string()}).status, 0);
        return PNGPixels(file);
    }
    /// The first whole pixel of the border's two points that straddle the edge at `edge`.
    static int borderPixel(double edge) { return static_cast<int>(std::ceil(edge)) - 1; }
};

TEST_F(FocusBorderTest, TheBorderIsDrawnInItsColourAroundTheFocusedWindow) {
    const auto one = open(notes, CGRect(100, 100, 700, 500));
    const auto two = open(browser, CGRect(500, 200, 800, 600));
    auto& k = startKelvo();
    ASSERT_TRUE(settled({one, two}));
    const auto focused = k.state().focused;
    ASSERT_TRUE(focused.has_value());
    const std::uint32_t framed = *focused;
    const std::uint32_t other = framed == one ? two : one;
    const CGRect frame = window(framed)->frame;
    const auto border = borderAround(frame);
    ASSERT_TRUE(border.has_value());
    EXPECT_EQ(border->layer, 3);
    EXPECT_EQ(border->bundleID, std::optional<std::string>("com.skarvelt.kelvo"));

    const PNGPixels picture = screenshot("border");
    const int midX = static_cast<int>(frame.midX());
    const int midY = static_cast<int>(frame.midY());
    EXPECT_EQ(picture.at(borderPixel(frame.minX()), midY), green);
    EXPECT_EQ(picture.at(borderPixel(frame.maxX()), midY), green);
    EXPECT_EQ(picture.at(midX, borderPixel(frame.minY())), green);
    EXPECT_EQ(picture.at(midX, borderPixel(frame.maxY())), green);
    // Inside, the window shows through; the other window has no border.
    EXPECT_NE(picture.at(borderPixel(frame.minX()) + 4, midY), green);
    const CGRect otherFrame = window(other)->frame;
    EXPECT_NE(picture.at(borderPixel(otherFrame.minX()), static_cast<int>(otherFrame.midY())),
              green);
    EXPECT_NE(picture.at(borderPixel(otherFrame.maxX()), static_cast<int>(otherFrame.midY())),
              green);

    // On an empty desktop there is nothing to frame: the panel leaves the picture.
    ASSERT_TRUE(key("alt+3"));
    ASSERT_TRUE(eventually([&] {
        const auto w = window(border->number);
        return w && !w->onScreen;
    }));
}

}  // namespace
}  // namespace kelvo::testing
