#include <gtest/gtest.h>

#include "KelvoCore/Store/OwnWindowDesktop.h"
#include "KelvoCore/Store/PointerHitTest.h"

namespace kelvo {
namespace {

using Order = OwnWindowDesktop::Order;

TEST(OwnWindowDesktop, OpensAndClosesOnADesktop) {
    OwnWindowDesktop window;
    EXPECT_EQ(window, (OwnWindowDesktop{std::nullopt, false}));
    EXPECT_EQ(window.sync(1, 9), std::nullopt) << "a closed window never changes";
    window.opened(3);
    EXPECT_EQ(window, (OwnWindowDesktop{3, true}));
    window.closed();
    EXPECT_EQ(window, (OwnWindowDesktop{std::nullopt, false}));
}

TEST(OwnWindowDesktop, FollowsItsDesktopInAndOut) {
    OwnWindowDesktop window;
    window.opened(3);
    EXPECT_EQ(window.sync(3, 9), std::nullopt) << "already on screen";
    EXPECT_EQ(window.sync(2, 9), Order::out);
    EXPECT_EQ(window.sync(2, 9), std::nullopt);
    EXPECT_EQ(window.sync(3, 9), Order::front);
    EXPECT_EQ(window.sync(3, 9), std::nullopt);
    EXPECT_TRUE(window.isOnScreen);
}

TEST(OwnWindowDesktop, MovesHomeWhenItsDesktopIsGone) {
    struct Row {
        int desktopCount;
        int home;
    };
    for (const Row row : {Row{4, 4}, Row{7, 7}, Row{9, 7}, Row{1, 1}, Row{0, 1}, Row{-3, 1}}) {
        OwnWindowDesktop window;
        window.opened(7);
        window.sync(2, row.desktopCount);
        EXPECT_EQ(window.home, row.home) << "desktop count " << row.desktopCount;
    }
    OwnWindowDesktop window;
    window.opened(7);
    EXPECT_EQ(window.sync(4, 4), std::nullopt) << "moved to the visible desktop 4: still shown";
}

const int ownPID = 42;
const ScreenWindow panel{WindowID(1), CGRect(0, 0, 300, 300), 25, 100};
const ScreenWindow border{WindowID(2), CGRect(0, 0, 1000, 1000), 0, ownPID};
const ScreenWindow editor{WindowID(3), CGRect(0, 0, 800, 600), 0, 100};
const ScreenWindow terminal{WindowID(4), CGRect(500, 0, 500, 800), 0, 200};

TEST(PointerHitTest, TheFrontmostHitDecides) {
    struct Row {
        const char* what;
        CGPoint point;
        std::vector<ScreenWindow> list;
        std::set<WindowID> ignoring;
        std::optional<WindowID> hit;
    };
    const Row rows[] = {
        {"plain window", {100, 400}, {editor, terminal}, {}, editor.id},
        {"front of two", {600, 100}, {terminal, editor}, {}, terminal.id},
        {"non-zero layer above", {100, 100}, {panel, editor}, {}, std::nullopt},
        {"ignored window above", {100, 100}, {border, editor}, {border.id}, editor.id},
        {"own window", {100, 100}, {border, editor}, {}, std::nullopt},
        {"nothing there", {900, 900}, {editor, terminal}, {}, std::nullopt},
        {"right edge is outside", {800, 700}, {editor}, {}, std::nullopt},
        {"top-left corner is inside", {500, 0}, {terminal}, {}, terminal.id},
        {"empty list", {1, 1}, {}, {}, std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(PointerHitTest::window(row.point, row.list, ownPID, row.ignoring), row.hit)
            << row.what;
    }
}

}  // namespace
}  // namespace kelvo
