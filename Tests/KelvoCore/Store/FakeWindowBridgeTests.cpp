#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Support/KelvoCore/FakeWindowBridge.h"

namespace kelvo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const WindowID w1{1};
const WindowID w2{2};

// The store's tests lean on these answers; a fake that drifts would hide real faults.
TEST(FakeWindowBridge, AnswersFrameWritesAsScripted) {
    struct Row {
        const char* what;
        std::function<void(FakeWindowBridge::Window&)> script;
        CGRect landed;
    };
    const CGRect start(10, 10, 300, 300);
    const CGRect asked(0, 0, 500, 400);
    const Row rows[] = {
        {"accepts", [](auto&) {}, asked},
        {"refuses", [](auto& w) { w.refuses(); }, start},
        {"refuses position", [](auto& w) { w.refusesPosition(); }, CGRect(10, 10, 500, 400)},
        {"refuses size", [](auto& w) { w.refusesSize(); }, CGRect(0, 0, 300, 300)},
        {"minimum",
         [](auto& w) {
             w.clampsToMinimum({600, 0});
         },
         CGRect(0, 0, 600, 400)},
        {"maximum",
         [](auto& w) {
             w.clampsToMaximum({0, 350});
         },
         CGRect(0, 0, 500, 350)},
        {"full screen", [](auto& w) { w.inFullScreen(); }, start},
    };
    for (const Row& row : rows) {
        FakeWindowBridge bridge;
        row.script(bridge.add(w1, start));
        bridge.setFrame(asked, w1);
        EXPECT_EQ(bridge.frame(w1), row.landed) << row.what;
    }
}

TEST(FakeWindowBridge, LateWritesLandAfterTheGivenReads) {
    FakeWindowBridge bridge;
    bridge.add(w1, CGRect(10, 10, 300, 300)).landsLate(2);
    bridge.setPosition({50, 60}, w1);
    EXPECT_EQ(bridge.frame(w1), CGRect(10, 10, 300, 300));
    EXPECT_EQ(bridge.frame(w1), CGRect(10, 10, 300, 300));
    EXPECT_EQ(bridge.frame(w1), CGRect(50, 60, 300, 300));
    bridge.setPosition({70, 80}, w1);
    bridge.landPendingWrites();
    EXPECT_EQ(bridge.actualFrame(w1), CGRect(70, 80, 300, 300));
}

TEST(FakeWindowBridge, ScriptedReadsComeFirst) {
    FakeWindowBridge bridge;
    bridge.add(w1, CGRect(1, 2, 3, 4));
    bridge.scriptReads(w1, {std::nullopt, CGRect(9, 9, 9, 9)});
    EXPECT_EQ(bridge.frame(w1), std::nullopt);
    EXPECT_EQ(bridge.frame(w1), CGRect(9, 9, 9, 9));
    EXPECT_EQ(bridge.frame(w1), CGRect(1, 2, 3, 4));
}

TEST(FakeWindowBridge, UnreachableRetainedAndHiddenWindows) {
    FakeWindowBridge bridge;
    bridge.add(w1, CGRect(0, 0, 10, 10), "com.example.a").unreachable();
    bridge.add(w2, CGRect(0, 0, 10, 10), "com.example.b").retainedOnly().minimized();
    EXPECT_FALSE(bridge.canReach(w1));
    EXPECT_EQ(bridge.frame(w1), std::nullopt);
    EXPECT_FALSE(bridge.setFrame(CGRect(5, 5, 5, 5), w1));
    bridge.setMinimized(true, w1);
    EXPECT_FALSE(bridge.isWindowMinimized(w1));
    EXPECT_TRUE(bridge.canReach(w2));
    EXPECT_TRUE(bridge.isWindowMinimized(w2));
    EXPECT_THAT(bridge.retainedWindows(), ElementsAre(w2));
    EXPECT_THAT(bridge.windows(), IsEmpty()) << "neither is listed";

    bridge.setApplicationHidden("com.example.b", true);
    bridge.refuseUnhide("com.example.b");
    bridge.setHidden(false, "com.example.b");
    EXPECT_TRUE(bridge.isApplicationHidden("com.example.b"));
    bridge.setHidden(true, "com.example.a");
    EXPECT_TRUE(bridge.isApplicationHidden("com.example.a"));
}

TEST(FakeWindowBridge, RecordsEveryCallInOrder) {
    FakeWindowBridge bridge;
    bridge.add(w1, CGRect(0, 0, 10, 10));
    bridge.windows();
    bridge.frame(w1);
    bridge.setFrame(CGRect(0.5, -3, 100, 200), w1);
    bridge.setPosition({1919, 1079}, w1);
    bridge.raise(w1);
    bridge.focus(w1);
    bridge.setMinimized(false, w1);
    bridge.isWindowMinimized(w1);
    bridge.isWindowFullScreen(w1);
    bridge.canReach(w1);
    bridge.retainedWindows();
    bridge.setHidden(true, "com.example.app");
    bridge.isApplicationHidden("com.example.app");
    EXPECT_THAT(
        bridge.callLog(),
        ElementsAre("windows()", "frame(win#1)", "setFrame({0.5, -3, 100, 200}, win#1)",
                    "setPosition({1919, 1079}, win#1)", "raise(win#1)", "focus(win#1)",
                    "setMinimized(false, win#1)", "isWindowMinimized(win#1)",
                    "isWindowFullScreen(win#1)", "canReach(win#1)", "retainedWindows()",
                    "setHidden(true, com.example.app)", "isApplicationHidden(com.example.app)"));
    EXPECT_THAT(bridge.writeLog(),
                ElementsAre("setFrame({0.5, -3, 100, 200}, win#1)",
                            "setPosition({1919, 1079}, win#1)", "raise(win#1)", "focus(win#1)",
                            "setMinimized(false, win#1)", "setHidden(true, com.example.app)"));
    EXPECT_EQ(bridge.focusedWindow(), w1);
    bridge.clearCalls();
    EXPECT_THAT(bridge.calls(), IsEmpty());
}

}  // namespace
}  // namespace kelvo
