#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Platform/AppKit/NSEvent.h"
#include "Platform/Quartz/CGEventTap.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

constexpr CGKeyCode keyA = 0;
constexpr CGKeyCode keyB = 11;

// A tap's callback: records what it saw and swallows one key code when asked.
struct TapLog {
    explicit TapLog(std::string name, std::vector<std::string>* order = nullptr)
        : name(std::move(name)), order(order) {}

    std::string name;
    std::vector<std::string>* order = nullptr;
    std::vector<CGEventType> types;
    std::optional<CGKeyCode> swallows;
    std::vector<CGPoint> locations;

    static CGEventRef callback(CGEventTapProxy, CGEventType type, CGEventRef event,
                               void* userInfo) {
        auto* log = static_cast<TapLog*>(userInfo);
        log->types.push_back(type);
        log->locations.push_back(CGEventGetLocation(event));
        if (log->order) log->order->push_back(log->name);
        const auto code =
            static_cast<CGKeyCode>(CGEventGetIntegerValueField(event, kCGKeyboardEventKeycode));
        if (type == kCGEventKeyDown && log->swallows == code) return nullptr;
        return event;
    }
};

class CGEventTapTests : public DesktopFixture {
  protected:
    CFMachPortRef makeTap(TapLog& log, CGEventMask mask,
                          CGEventTapPlacement place = kCGHeadInsertEventTap,
                          CGEventTapOptions options = kCGEventTapOptionDefault,
                          bool onMainLoop = true) {
        auto tap =
            CGEventTapCreate(kCGSessionEventTap, place, options, mask, &TapLog::callback, &log);
        if (tap && onMainLoop) {
            CFRunLoopAddSource(CFRunLoopGetMain(),
                               CFMachPortCreateRunLoopSource(kCFAllocatorDefault, tap, 0),
                               kCFRunLoopCommonModes);
        }
        return tap;
    }

    sim::Pid app = launch("com.example.editor", true);
    std::vector<std::string> order;
};

TEST_F(CGEventTapTests, OneTapSwallowsAKeyAndAnotherPassesIt) {
    TapLog passing("passing", &order);
    TapLog swallowing("swallowing", &order);
    swallowing.swallows = keyA;
    const auto first = makeTap(passing, CGEventMaskBit(kCGEventKeyDown));
    const auto second = makeTap(swallowing, CGEventMaskBit(kCGEventKeyDown));

    desktop->keyDown(keyA, kCGEventFlagMaskAlternate);
    desktop->keyDown(keyB, kCGEventFlagMaskAlternate);
    settle();

    EXPECT_EQ(order, (std::vector<std::string>{"passing", "swallowing", "passing", "swallowing"}));
    EXPECT_EQ(keysReceived(app), (std::vector<std::uint16_t>{keyB}));
    EXPECT_EQ(desktop->pendingInputCount(), 0u);
}

TEST_F(CGEventTapTests, HeadTapsComeBeforeTailTapsThenCreationOrder) {
    TapLog tail("tail", &order);
    TapLog head1("head1", &order);
    TapLog head2("head2", &order);
    const auto a = makeTap(tail, CGEventMaskBit(kCGEventKeyDown), kCGTailAppendEventTap);
    const auto b = makeTap(head1, CGEventMaskBit(kCGEventKeyDown));
    const auto c = makeTap(head2, CGEventMaskBit(kCGEventKeyDown));
    desktop->keyDown(keyA);
    settle();
    EXPECT_EQ(order, (std::vector<std::string>{"head1", "head2", "tail"}));
}

TEST_F(CGEventTapTests, EventsWaitForTheTapsAnswer) {
    TapLog log("tap");
    const auto tap = makeTap(log, CGEventMaskBit(kCGEventKeyDown));
    desktop->keyDown(keyA);
    EXPECT_TRUE(keysReceived(app).empty());
    EXPECT_EQ(desktop->pendingInputCount(), 1u);
    settle();
    EXPECT_EQ(keysReceived(app), (std::vector<std::uint16_t>{keyA}));
}

TEST_F(CGEventTapTests, ATapThatDoesNotAnswerInTimeIsDisabledAndToldSo) {
    TapLog log("slow");
    // The tap's source is on no run loop yet, so nothing answers.
    const auto tap = makeTap(log, CGEventMaskBit(kCGEventKeyDown), kCGHeadInsertEventTap,
                             kCGEventTapOptionDefault, false);
    desktop->keyDown(keyA);
    clock.advance(sim::Desktop::tapTimeout - 0.01);
    EXPECT_TRUE(CGEventTapIsEnabled(tap));
    EXPECT_TRUE(keysReceived(app).empty());
    clock.advance(0.01);
    EXPECT_FALSE(CGEventTapIsEnabled(tap));
    EXPECT_EQ(keysReceived(app), (std::vector<std::uint16_t>{keyA}));

    CFRunLoopAddSource(CFRunLoopGetMain(),
                       CFMachPortCreateRunLoopSource(kCFAllocatorDefault, tap, 0),
                       kCFRunLoopCommonModes);
    settle();
    EXPECT_EQ(log.types, (std::vector<CGEventType>{kCGEventKeyDown, kCGEventTapDisabledByTimeout}));
    // A disabled tap sees nothing until it is enabled again.
    desktop->keyDown(keyB);
    settle();
    EXPECT_EQ(log.types.size(), 2u);
    CGEventTapEnable(tap, true);
    desktop->keyDown(keyB);
    settle();
    EXPECT_EQ(log.types.back(), kCGEventKeyDown);
}

TEST_F(CGEventTapTests, ATapDisabledByUserInputIsToldSo) {
    TapLog log("tap");
    const auto tap = makeTap(log, CGEventMaskBit(kCGEventKeyDown));
    desktop->disableTapByUserInput(tap->tap());
    settle();
    EXPECT_FALSE(CGEventTapIsEnabled(tap));
    EXPECT_EQ(log.types, (std::vector<CGEventType>{kCGEventTapDisabledByUserInput}));
}

TEST_F(CGEventTapTests, AListenOnlyTapSeesMovesWithoutHoldingThemUp) {
    TapLog log("moves");
    const auto tap = makeTap(log, CGEventMaskBit(kCGEventMouseMoved), kCGHeadInsertEventTap,
                             kCGEventTapOptionListenOnly);
    desktop->movePointer(CGPoint{10, 20});
    desktop->movePointer(CGPoint{30, 40});
    EXPECT_EQ(desktop->pendingInputCount(), 0u);
    settle();
    EXPECT_EQ(log.locations, (std::vector<CGPoint>{{10, 20}, {30, 40}}));
}

TEST_F(CGEventTapTests, AClickSeesItsLocationAndFlagsAndTheButtonIsHeld) {
    TapLog log("clicks");
    const auto tap = makeTap(log, CGEventMaskBit(kCGEventLeftMouseDown));
    const auto window = open(app, CGRect(100, 100, 400, 300));
    const auto other = launch("com.example.other", true);
    desktop->mouseDown(CGPoint{150, 160}, kCGEventFlagMaskAlternate | kCGEventFlagMaskShift);
    EXPECT_EQ(NSEvent::pressedMouseButtons(), 1ul);
    settle();
    EXPECT_EQ(log.locations, (std::vector<CGPoint>{{150, 160}}));
    // The click reached the window under the pointer and brought its application forward.
    EXPECT_EQ(desktop->frontmost(), app);
    EXPECT_EQ(desktop->focusedWindow(app), window);
    (void)other;
    desktop->mouseUp(CGPoint{150, 160});
    EXPECT_EQ(NSEvent::pressedMouseButtons(), 0ul);
}

TEST_F(CGEventTapTests, TapsAreRefusedWhenTheSystemWillNotGiveThem) {
    TapLog log("refused");
    desktop->setRefusesTaps(true);
    EXPECT_EQ(makeTap(log, CGEventMaskBit(kCGEventKeyDown)), nullptr);
    desktop->setRefusesTaps(false);
    desktop->setTrusted(false);
    EXPECT_EQ(makeTap(log, CGEventMaskBit(kCGEventKeyDown)), nullptr);
    EXPECT_NE(makeTap(log, CGEventMaskBit(kCGEventMouseMoved), kCGHeadInsertEventTap,
                      kCGEventTapOptionListenOnly),
              nullptr);
}

TEST_F(CGEventTapTests, AReleasedTapLetsItsWaitingEventGo) {
    TapLog log("gone");
    auto tap = makeTap(log, CGEventMaskBit(kCGEventKeyDown), kCGHeadInsertEventTap,
                       kCGEventTapOptionDefault, false);
    desktop->keyDown(keyA);
    EXPECT_EQ(desktop->tapCount(), 1u);
    tap.reset();
    EXPECT_EQ(desktop->tapCount(), 0u);
    EXPECT_EQ(keysReceived(app), (std::vector<std::uint16_t>{keyA}));
}

TEST_F(CGEventTapTests, PostedKeyboardEventsPassTheTapsOrGoStraightToOneApplication) {
    TapLog log("tap");
    const auto tap = makeTap(log, CGEventMaskBit(kCGEventKeyDown));
    const auto terminal = launch("com.example.terminal");
    desktop->setOpensWindowOnCommandN(terminal, true);
    const auto commandN = CGEventCreateKeyboardEvent(nullptr, 45, true);
    CGEventSetFlags(commandN, kCGEventFlagMaskCommand);
    CGEventPostToPid(terminal, commandN);
    settle();
    EXPECT_TRUE(log.types.empty());
    ASSERT_EQ(desktop->receivedInput(terminal).size(), 1u);
    EXPECT_EQ(desktop->receivedInput(terminal)[0].flags, kCGEventFlagMaskCommand);
    EXPECT_EQ(desktop->receivedInput(terminal)[0].sourcePid, ownPid);
    EXPECT_EQ(desktop->windows().size(), 1u);  // the terminal opened a new window

    CGEventPost(kCGSessionEventTap, CGEventCreateKeyboardEvent(nullptr, keyB, true));
    settle();
    EXPECT_EQ(log.types, (std::vector<CGEventType>{kCGEventKeyDown}));
    EXPECT_EQ(keysReceived(app), (std::vector<std::uint16_t>{keyB}));
}

TEST_F(CGEventTapTests, AnEventWithNoSourceTellsWhereThePointerIs) {
    desktop->movePointer(CGPoint{321, 123});
    EXPECT_EQ(CGEventGetLocation(CGEventCreate(nullptr)), (CGPoint{321, 123}));
}

}  // namespace
}  // namespace kelvo
