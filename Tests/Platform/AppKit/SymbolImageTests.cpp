#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "Platform/AppKit/NSImage.h"
#include "Platform/AppKit/SymbolImages.h"

namespace {

/// Every symbol the system's windows name: the launcher, the settings' tabs, banners, rule and
/// shortcut rows, and the guide.
const char* const usedSymbols[] = {
    "magnifyingglass",
    "gearshape",
    "rectangle.split.2x2",
    "viewfinder",
    "keyboard",
    "desktopcomputer",
    "info.circle",
    "info.circle.fill",
    "exclamationmark.triangle.fill",
    "checkmark.circle.fill",
    "xmark.circle.fill",
    "minus.circle.fill",
    "arrow.counterclockwise.circle.fill",
};

int opaquePixels(const CGImageRef& image) {
    int count = 0;
    for (int y = 0; y < image->height(); ++y)
        for (int x = 0; x < image->width(); ++x)
            count += image->pixel(x, y)->alpha > 128;
    return count;
}

TEST(SymbolImageTest, EverySymbolInUseIsATemplateImageThatDrawsInsideItsBounds) {
    for (const char* name : usedSymbols) {
        const NSImageRef image = NSImage::imageWithSystemSymbolName(name, "what it means");
        ASSERT_TRUE(image) << name;
        EXPECT_TRUE(image->isTemplate()) << name;
        EXPECT_EQ(image->symbolName(), std::string(name));
        EXPECT_EQ(image->accessibilityDescription(), "what it means");
        EXPECT_NEAR(image->size().height, 13 * 1.1, 1e-9) << name;
        const CGImageRef pixels = image->CGImageForScale(2);
        ASSERT_TRUE(pixels) << name;
        EXPECT_GT(opaquePixels(pixels), 20) << name;
        // Black only: the template's colour is its tint's business.
        int coloured = 0;
        for (int y = 0; y < pixels->height(); ++y)
            for (int x = 0; x < pixels->width(); ++x)
                coloured += pixels->pixel(x, y)->alpha > 0 && pixels->pixel(x, y)->red > 0;
        EXPECT_EQ(coloured, 0) << name;
    }
    EXPECT_EQ(SymbolImages::all().size(), std::size(usedSymbols));
}

TEST(SymbolImageTest, TheSizeFollowsThePointSizeAndTheLinesTheWeight) {
    const NSImageRef glass = NSImage::imageWithSystemSymbolName("magnifyingglass");
    const NSImageRef large = glass->imageWithSymbolConfiguration(
        NSImageSymbolConfiguration::configurationWithPointSize(18, NSFontWeightMedium));
    ASSERT_TRUE(large);
    EXPECT_NEAR(large->size().height, 19.8, 1e-9);
    EXPECT_NEAR(large->size().width, 19.8, 1e-9);
    const auto at = [&](NSFontWeight weight) {
        return opaquePixels(
            glass
                ->imageWithSymbolConfiguration(
                    NSImageSymbolConfiguration::configurationWithPointSize(18, weight))
                ->CGImageForScale(1));
    };
    EXPECT_LT(at(NSFontWeightLight), at(NSFontWeightRegular));
    EXPECT_LT(at(NSFontWeightRegular), at(NSFontWeightBold));
    // The keyboard is wider than it is high.
    const NSImageRef keys = NSImage::imageWithSystemSymbolName("keyboard");
    EXPECT_GT(keys->size().width, keys->size().height);
}

TEST(SymbolImageTest, TheMarkOfAFilledSymbolIsCutOutOfIt) {
    const CGImageRef check = NSImage::imageWithSystemSymbolName("checkmark.circle.fill")
                                 ->imageWithSymbolConfiguration({24, NSFontWeightRegular})
                                 ->CGImageForScale(1);
    // The disc is solid near its rim, the check's corner near (10.6, 15.7) of 24 units is clear.
    const double unit = check->height() / 24.0;
    EXPECT_EQ(check->pixel(int(12 * unit), int(3 * unit))->alpha, 255);
    EXPECT_EQ(check->pixel(int(10.6 * unit), int(15.5 * unit))->alpha, 0);
}

TEST(SymbolImageTest, AnUnknownNameGivesNoImageAndNothingElseBreaks) {
    EXPECT_FALSE(NSImage::imageWithSystemSymbolName("no.such.symbol"));
    EXPECT_FALSE(NSImage::imageWithSystemSymbolName(""));
    EXPECT_FALSE(NSImage::imageWithSystemSymbolName(std::string("gear\0shape", 10)));
    const NSImage plain(CGSize{10, 10}, true, [](const CGRect&) { return true; });
    EXPECT_FALSE(plain.imageWithSymbolConfiguration({}));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const NSImageRef odd =
        NSImage::imageWithSystemSymbolName("gearshape")->imageWithSymbolConfiguration({nan, nan});
    ASSERT_TRUE(odd);
    EXPECT_NEAR(odd->size().height, 13 * 1.1, 1e-9);
    EXPECT_TRUE(odd->CGImageForScale(1));
    const NSImageRef huge = NSImage::imageWithSystemSymbolName("gearshape")
                                ->imageWithSymbolConfiguration({1e12, NSFontWeightBlack});
    EXPECT_LE(huge->size().height, 1100);
}

}  // namespace
