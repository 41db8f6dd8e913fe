#include <gtest/gtest.h>

#include <limits>

#include "Base/Foundation/DispatchQueue.h"
#include "Platform/Quartz/CGWindow.h"
#include "Simulator/SharedConnection.h"
#include "Support/Platform/AccessibilityTestSupport.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

class AXUIElementTests : public DesktopFixture {
  protected:
    sim::Pid app = launch("com.example.editor", true);
    sim::WindowNumber number = open(app, CGRect(100, 50, 800, 600));
    AXUIElementRef window = windowElement(app, number);
};

TEST_F(AXUIElementTests, ReadsAWindowsAttributesAndNumber) {
    ASSERT_TRUE(window);
    EXPECT_EQ(frameOf(window), CGRect(100, 50, 800, 600));
    EXPECT_EQ(textOf(window, kAXRoleAttribute), "AXWindow");
    EXPECT_EQ(textOf(window, kAXSubroleAttribute), "AXStandardWindow");
    pid_t pid = 0;
    EXPECT_EQ(AXUIElementGetPid(window, &pid), kAXErrorSuccess);
    EXPECT_EQ(pid, app);
    CGWindowID read = 0;
    EXPECT_EQ(_AXUIElementGetWindow(window, &read), kAXErrorSuccess);
    EXPECT_EQ(read, number);
}

TEST_F(AXUIElementTests, ADestroyedWindowAnswersInvalidElementAndItsElementStillCompares) {
    const AXUIElementRef kept = window;
    desktop->closeWindow(number);

    CFTypeRef value;
    EXPECT_EQ(AXUIElementCopyAttributeValue(kept, kAXRoleAttribute, &value),
              kAXErrorInvalidUIElement);
    CGWindowID read = 0;
    EXPECT_EQ(_AXUIElementGetWindow(kept, &read), kAXErrorInvalidUIElement);
    EXPECT_EQ(writePosition(kept, CGPoint{0, 0}), kAXErrorInvalidUIElement);
    // The handle keeps its identity: the event stream finds its tracked entry by it.
    EXPECT_TRUE(CFEqual(kept, std::make_shared<const AXUIElement>(kept->identifier())));
    pid_t pid = 0;
    EXPECT_EQ(AXUIElementGetPid(kept, &pid), kAXErrorSuccess);
    EXPECT_EQ(pid, app);
}

TEST_F(AXUIElementTests, AReusedNumberIsANewWindowTheOldElementDoesNotReach) {
    desktop->closeWindow(number);
    sim::WindowSpec spec;
    spec.number = number;
    const auto reused = open(app, CGRect(0, 30, 400, 300), spec);
    ASSERT_EQ(reused, number);

    CFTypeRef value;
    EXPECT_EQ(AXUIElementCopyAttributeValue(window, kAXRoleAttribute, &value),
              kAXErrorInvalidUIElement);
    const auto fresh = windowElement(app, number);
    ASSERT_TRUE(fresh);
    EXPECT_FALSE(CFEqual(fresh, window));
    EXPECT_EQ(frameOf(fresh), CGRect(0, 30, 400, 300));
}

TEST_F(AXUIElementTests, NumbersAreNotReusedUnlessAsked) {
    desktop->closeWindow(number);
    const auto next = open(app, CGRect(0, 30, 400, 300));
    EXPECT_GT(next, number);
}

TEST_F(AXUIElementTests, AnUnresponsiveApplicationTimesOutUnderTheShortTimeout) {
    desktop->setResponseDelay(app, std::numeric_limits<double>::infinity());
    const auto element = AXUIElementCreateApplication(app);
    EXPECT_EQ(AXUIElementSetMessagingTimeout(element, 0.25f), kAXErrorSuccess);
    CFTypeRef value;
    const auto start = DispatchTime::now();
    EXPECT_EQ(AXUIElementCopyAttributeValue(element, kAXWindowsAttribute, &value),
              kAXErrorCannotComplete);
    EXPECT_DOUBLE_EQ(secondsBetween(start, DispatchTime::now()), 0.25);
    EXPECT_EQ(writePosition(window, CGPoint{0, 30}), kAXErrorCannotComplete);
    EXPECT_EQ(AXUIElementSetMessagingTimeout(element, -1.0f), kAXErrorIllegalArgument);
}

TEST_F(AXUIElementTests, ASlowApplicationAnswersWithinALongerTimeout) {
    desktop->setResponseDelay(app, 1.0);
    // The caller waits for the answer: the time passes, and nothing else runs meanwhile.
    bool ranMeanwhile = false;
    DispatchQueue::main().asyncAfter(DispatchTime::now() + 0.5, [&] { ranMeanwhile = true; });
    auto start = DispatchTime::now();
    EXPECT_TRUE(windowsOf(AXUIElementCreateApplication(app)));  // the platform's default
    EXPECT_DOUBLE_EQ(secondsBetween(start, DispatchTime::now()), 1.0);
    EXPECT_FALSE(ranMeanwhile);
    settle();
    EXPECT_TRUE(ranMeanwhile);
    const auto hurried = AXUIElementCreateApplication(app);
    AXUIElementSetMessagingTimeout(hurried, 0.25f);
    start = DispatchTime::now();
    EXPECT_FALSE(windowsOf(hurried));
    EXPECT_DOUBLE_EQ(secondsBetween(start, DispatchTime::now()), 0.25);
    const auto calls = desktop->accessCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_FLOAT_EQ(calls.back().timeout, 0.25);
}

TEST_F(AXUIElementTests, SeveralAttributesReadInOneMessageEachAsAlone) {
    desktop->clearAccessCalls();
    CFArrayRef values;
    ASSERT_EQ(AXUIElementCopyMultipleAttributeValues(
                  window, {kAXPositionAttribute, kAXSizeAttribute, "AXNothing", kAXRoleAttribute},
                  0, &values),
              kAXErrorSuccess);
    ASSERT_EQ(CFArrayGetCount(values), 4);
    CGPoint origin;
    ASSERT_TRUE(AXValueGetValue(CFCast<AXValue>(CFArrayGetValueAtIndex(values, 0)),
                                kAXValueCGPointType, &origin));
    EXPECT_EQ(origin, (CGPoint{100, 50}));
    CGSize size;
    ASSERT_TRUE(AXValueGetValue(CFCast<AXValue>(CFArrayGetValueAtIndex(values, 1)),
                                kAXValueCGSizeType, &size));
    EXPECT_EQ(size, (CGSize{800, 600}));
    AXError error = kAXErrorSuccess;
    ASSERT_TRUE(AXValueGetValue(CFCast<AXValue>(CFArrayGetValueAtIndex(values, 2)),
                                kAXValueAXErrorType, &error));
    EXPECT_EQ(error, kAXErrorAttributeUnsupported);
    EXPECT_EQ(CFCast<CFString>(CFArrayGetValueAtIndex(values, 3))->value(), "AXWindow");
    const auto calls = desktop->accessCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, sim::AccessCall::Kind::copyAttributes);
    EXPECT_EQ(calls[0].name, "AXPosition AXSize AXNothing AXRole");

    // Stopping at the first error gives it for the whole call.
    EXPECT_EQ(
        AXUIElementCopyMultipleAttributeValues(window, {kAXRoleAttribute, "AXNothing"},
                                               kAXCopyMultipleAttributeOptionStopOnError, &values),
        kAXErrorAttributeUnsupported);
    // An application that does not answer, or a window gone, answers none of them.
    desktop->setResponseDelay(app, 1.0);
    AXUIElementSetMessagingTimeout(window, 0.25f);
    EXPECT_EQ(AXUIElementCopyMultipleAttributeValues(window, {kAXRoleAttribute}, 0, &values),
              kAXErrorCannotComplete);
    desktop->setResponseDelay(app, 0);
    desktop->closeWindow(number);
    EXPECT_EQ(AXUIElementCopyMultipleAttributeValues(window, {kAXRoleAttribute}, 0, &values),
              kAXErrorInvalidUIElement);
}

TEST_F(AXUIElementTests, AnUnsettablePositionReadsButIsNotSettableNorWritten) {
    desktop->setSettable(number, false, true);
    bool settable = true;
    EXPECT_EQ(AXUIElementIsAttributeSettable(window, kAXPositionAttribute, &settable),
              kAXErrorSuccess);
    EXPECT_FALSE(settable);
    EXPECT_EQ(AXUIElementIsAttributeSettable(window, kAXSizeAttribute, &settable), kAXErrorSuccess);
    EXPECT_TRUE(settable);
    EXPECT_EQ(frameOf(window), CGRect(100, 50, 800, 600));
    EXPECT_NE(writePosition(window, CGPoint{0, 30}), kAXErrorSuccess);
    EXPECT_EQ(desktop->window(number)->frame, CGRect(100, 50, 800, 600));
}

TEST_F(AXUIElementTests, AWindowWithoutSubroleHasNoValue) {
    sim::WindowSpec spec;
    spec.subrole = "";
    const auto plain = windowElement(app, open(app, CGRect(0, 30, 300, 200), spec));
    CFTypeRef value;
    EXPECT_EQ(AXUIElementCopyAttributeValue(plain, kAXSubroleAttribute, &value), kAXErrorNoValue);
}

TEST_F(AXUIElementTests, TwoElementsForOneWindowReachItButAreNotEqual) {
    const auto second = std::make_shared<const AXUIElement>(desktop->replaceElement(number));
    EXPECT_FALSE(CFEqual(window, second));
    CGWindowID first = 0;
    CGWindowID other = 0;
    EXPECT_EQ(_AXUIElementGetWindow(window, &first), kAXErrorSuccess);
    EXPECT_EQ(_AXUIElementGetWindow(second, &other), kAXErrorSuccess);
    EXPECT_EQ(first, other);
    // The application now lists the new one.
    const auto listed = windowElement(app, number);
    EXPECT_TRUE(CFEqual(listed, second));
    EXPECT_EQ(writePosition(window, CGPoint{10, 40}), kAXErrorSuccess);
    EXPECT_EQ(frameOf(second)->origin, (CGPoint{10, 40}));
}

TEST_F(AXUIElementTests, AWindowLeftOutOfAXWindowsIsStillInTheWindowList) {
    desktop->setListedInAXWindows(number, false);
    EXPECT_EQ(windowElement(app, number), nullptr);
    const auto rows = desktop->windowList(sim::windowListOnScreenOnly, 0);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].number, number);
    // The element already held still reaches it.
    EXPECT_EQ(frameOf(window), CGRect(100, 50, 800, 600));
}

TEST_F(AXUIElementTests, AWindowCanHideItsNumberOrItsFrame) {
    desktop->setReadability(number, false);
    CGWindowID read = 0;
    EXPECT_EQ(_AXUIElementGetWindow(window, &read), kAXErrorFailure);
    EXPECT_EQ(windowElement(app, number), nullptr);
    desktop->setReadability(number, true, {kAXPositionAttribute});
    EXPECT_EQ(frameOf(window), std::nullopt);
    EXPECT_EQ(textOf(window, kAXRoleAttribute), "AXWindow");
}

TEST_F(AXUIElementTests, WithoutTrustEveryCallIsRefused) {
    desktop->setTrusted(false);
    EXPECT_FALSE(AXIsProcessTrusted());
    CFTypeRef value;
    EXPECT_EQ(AXUIElementCopyAttributeValue(window, kAXRoleAttribute, &value), kAXErrorAPIDisabled);
}

TEST_F(AXUIElementTests, ThePromptIsShownOnlyWhenAskedFor) {
    desktop->setTrusted(false);
    desktop->setGrantsTrustOnPrompt(true);
    EXPECT_FALSE(AXIsProcessTrustedWithOptions(nullptr));
    EXPECT_EQ(desktop->trustPromptCount(), 0);
    const auto options = CFDictionaryCreate({{kAXTrustedCheckOptionPrompt, kCFBooleanTrue}});
    EXPECT_FALSE(AXIsProcessTrustedWithOptions(options));
    EXPECT_EQ(desktop->trustPromptCount(), 1);
    EXPECT_TRUE(AXIsProcessTrusted());
}

TEST_F(AXUIElementTests, ApplicationAttributesFollowTheApplication) {
    const auto element = AXUIElementCreateApplication(app);
    EXPECT_TRUE(CFEqual(element, AXUIElementCreateApplication(app)));
    CFTypeRef value;
    ASSERT_EQ(AXUIElementCopyAttributeValue(element, kAXFrontmostAttribute, &value),
              kAXErrorSuccess);
    EXPECT_TRUE(CFBooleanGetValue(CFCast<CFBoolean>(value)));
    ASSERT_EQ(AXUIElementCopyAttributeValue(element, kAXFocusedWindowAttribute, &value),
              kAXErrorSuccess);
    EXPECT_TRUE(CFEqual(value, window));

    EXPECT_EQ(
        AXUIElementSetAttributeValue(element, kAXEnhancedUserInterfaceAttribute, kCFBooleanTrue),
        kAXErrorSuccess);
    EXPECT_TRUE(desktop->enhancedUserInterface(app));
}

TEST_F(AXUIElementTests, ElementsPidsAndTimeoutsAreKnownWithoutAskingTheDesktop) {
    desktop->clearAccessCalls();
    pid_t pid = 0;
    EXPECT_EQ(AXUIElementGetPid(window, &pid), kAXErrorSuccess);
    EXPECT_EQ(pid, app);
    const auto application = AXUIElementCreateApplication(app);
    EXPECT_EQ(AXUIElementGetPid(application, &pid), kAXErrorSuccess);
    EXPECT_EQ(pid, app);
    const auto system = AXUIElementCreateSystemWide();
    EXPECT_EQ(AXUIElementGetPid(system, &pid), kAXErrorIllegalArgument) << "of no process";
    EXPECT_EQ(AXUIElementSetMessagingTimeout(system, 2), kAXErrorSuccess);
    EXPECT_EQ(AXUIElementSetMessagingTimeout(window, 0.5f), kAXErrorSuccess);
    EXPECT_EQ(window->effectiveTimeout(), 0.5);
    EXPECT_EQ(application->effectiveTimeout(), 2) << "the process-wide timeout";
    EXPECT_TRUE(desktop->accessCalls().empty());
    AXUIElementSetMessagingTimeout(system, 0);
}

TEST_F(AXUIElementTests, FrontmostWriteActivatesAndRaiseComesToTheFront) {
    const auto other = launch("com.example.other", true);
    const auto otherWindow = open(other, CGRect(0, 30, 300, 300));
    EXPECT_EQ(desktop->frontmost(), other);
    EXPECT_EQ(desktop->windows().front().number, otherWindow);

    EXPECT_EQ(AXUIElementPerformAction(window, kAXRaiseAction), kAXErrorSuccess);
    EXPECT_EQ(desktop->windows().front().number, number);
    EXPECT_EQ(AXUIElementSetAttributeValue(AXUIElementCreateApplication(app), kAXFrontmostAttribute,
                                           kCFBooleanTrue),
              kAXErrorSuccess);
    EXPECT_EQ(desktop->frontmost(), app);
    EXPECT_EQ(AXUIElementPerformAction(window, "AXPress"), kAXErrorActionUnsupported);
}

TEST_F(AXUIElementTests, TheCallRecordKeepsTheWriteSequence) {
    desktop->clearAccessCalls();
    writePosition(window, CGPoint{0, 30});
    writeSize(window, CGSize{500, 400});
    writePosition(window, CGPoint{0, 30});
    const auto writes = desktop->writes();
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[0].name, "AXPosition");
    EXPECT_EQ(std::get<CGPoint>(writes[0].value), (CGPoint{0, 30}));
    EXPECT_EQ(writes[1].name, "AXSize");
    EXPECT_EQ(std::get<CGSize>(writes[1].value), (CGSize{500, 400}));
    EXPECT_EQ(writes[2].window, number);
}

TEST(AXUIElementWithoutADesktopTests, EveryCallFails) {
    sim::SharedConnection::install(nullptr);
    EXPECT_FALSE(AXIsProcessTrusted());
    CFTypeRef value;
    EXPECT_EQ(AXUIElementCopyAttributeValue(AXUIElementCreateApplication(42), "AXRole", &value),
              kAXErrorCannotComplete);
    EXPECT_EQ(CFArrayGetCount(CGWindowListCopyWindowInfo(kCGWindowListOptionOnScreenOnly, 0)), 0);
}

}  // namespace
}  // namespace kelvo
