// The status item's row worked by hand: the widths and boxes for no, one and nine desktops,
// with and without the name band.

#include <gtest/gtest.h>

#include "KelvoCore/MenuBar/MenuBarLayout.h"
#include "Support/KelvoCore/Printers.h"

namespace kelvo {
namespace {

TEST(MenuBarLayout, NoneOrOneDesktopGivesOneTileAtTwentyAndWidthThirtyNine) {
    for (int desktops : {-3, 0, 1}) {
        const auto frames = MenuBarLayout::frames(desktops, false);
        ASSERT_EQ(frames.cells.size(), 1u) << desktops;
        EXPECT_EQ(frames.cells[0], CGRect(20, 1.5, 15, 15));
        EXPECT_EQ(frames.width, 39);
    }
    const auto named = MenuBarLayout::frames(1, true);
    EXPECT_EQ(named.width, 132);
    EXPECT_EQ(named.cells[0], CGRect(113, 1.5, 15, 15));
}

TEST(MenuBarLayout, NineDesktopsWithoutTheName) {
    const auto frames = MenuBarLayout::frames(9, false);
    EXPECT_EQ(frames.width, 183);
    EXPECT_EQ(frames.mode, CGRect(4, 1.5, 13, 15));
    ASSERT_EQ(frames.cells.size(), 9u);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(frames.cells[i], CGRect(20 + 18 * i, 1.5, 15, 15)) << i;
    EXPECT_EQ(MenuBarLayout::width(9, false), 183);
}

TEST(MenuBarLayout, NineDesktopsWithTheName) {
    const auto frames = MenuBarLayout::frames(9, true);
    EXPECT_EQ(frames.width, 276);
    EXPECT_EQ(frames.name, CGRect(4, 1.5, 90, 15));
    EXPECT_EQ(frames.mode, CGRect(97, 1.5, 13, 15));
    EXPECT_EQ(frames.cells.front().minX(), 113);
    EXPECT_EQ(frames.cells.back().minX(), 257);
    EXPECT_EQ(MenuBarLayout::width(9, true), 276);
}

TEST(MenuBarLayout, FramesCompareEveryFieldAndTheirNames) {
    MenuBarLayout::Frames plain = MenuBarLayout::frames(3, false);
    MenuBarLayout::Frames same = MenuBarLayout::frames(3, false);
    EXPECT_EQ(plain, same);
    same.name = CGRect(4, 1.5, 90, 15);
    EXPECT_NE(plain, same);
    EXPECT_NE(same, plain);
    same = plain;
    same.cells.pop_back();
    EXPECT_NE(plain, same);
    EXPECT_NE(MenuBarLayout::frames(3, true), MenuBarLayout::frames(3, false));
}

}  // namespace
}  // namespace kelvo
