#include <gtest/gtest.h>

#include "Support/Simulator/Manager.h"
#include "Support/Tools/FixtureProcess.h"

namespace sim::testing {
namespace {

using kelvo::FixtureQuirk;
using kelvo::FixtureReply;
using kelvo::FixtureRequest;

class FixtureProcessTest : public ::testing::Test {
  protected:
    DesktopProcess desktop{KELVO_SIM_PROGRAM, {"--display", "1440x900"}};
    FixtureProcess fixture{desktop};
    Manager manager{desktop};

    /// Writes a frame attribute the way a window manager does; the Accessibility error.
    AccessError write(WindowNumber number, const std::string& attribute, AttributeValue value) {
        const auto window = manager.window(number);
        if (!window) return AccessError::invalidElement;
        return manager.connection->setAttribute(window->element, attribute, value, 0.25);
    }
    CGRect frameOf(WindowNumber number) {
        const auto window = manager.window(number);
        return window ? window->frame : CGRect();
    }
};

TEST_F(FixtureProcessTest, TheProtocolAnswersEveryLineButEmptyOnes) {
    const auto ping = fixture.request(FixtureRequest::ping());
    EXPECT_TRUE(ping.ok);
    EXPECT_EQ(ping.pid, fixture.process().pid());
    fixture.process().writeLine("");
    EXPECT_EQ(fixture.request(FixtureRequest::ping()), ping);
    EXPECT_EQ(fixture.send("{\"op\":"),
              FixtureReply::failure("unreadable request: not one JSON object: {\"op\":"));
    EXPECT_EQ(fixture.send("   "),
              FixtureReply::failure("unreadable request: not one JSON object:    "));
    EXPECT_EQ(fixture.send(R"({"op":"open","quirk":"ClampsSize"})"),
              FixtureReply::failure(
                  R"(unreadable request: the field "quirk" holds "ClampsSize", which is no quirk )"
                  R"((the quirks are plain, refusesPosition, clampsSize, nonResizable, )"
                  R"(selfMinimizes, selfHides, fixedAspect, absentFromAXWindows): )"
                  R"({"op":"open","quirk":"ClampsSize"})"));
    EXPECT_EQ(fixture.request(about("PING")),
              FixtureReply::failure("unknown op PING (kelvo-fixture --help lists the operations)"));
    EXPECT_EQ(fixture.request(about("close", 4242)), FixtureReply::failure("no such window 4242"));
    EXPECT_EQ(fixture.request(about("move")), FixtureReply::failure("move needs a window"));
    auto bad = fixture.open(FixtureQuirk::plain, CGRect(0, 0, 0, 100));
    EXPECT_EQ(fixture.request(bad), FixtureReply::failure("width and height must be positive"));
    bad.width = 100;
    bad.after = -1;
    EXPECT_EQ(fixture.request(bad), FixtureReply::failure("after must be >= 0"));
    const auto list = fixture.request(FixtureRequest::list());
    EXPECT_TRUE(list.ok);
    EXPECT_EQ(list.windows, std::vector<kelvo::FixtureWindowReport>{});
    EXPECT_EQ(list.appActive, false);
    EXPECT_EQ(list.appHidden, false);
}

TEST_F(FixtureProcessTest, AHugeLineIsRefusedAndTheNextOneAnswered) {
    EXPECT_EQ(fixture.send(std::string(3 << 20, '{')), FixtureReply::failure("line too long"));
    EXPECT_TRUE(fixture.request(FixtureRequest::ping()).ok);
    // A last request without its line feed is still answered before the input ends.
    fixture.process().write(R"({"op":"ping"})");
    fixture.process().closeInput();
    const auto last = fixture.process().readLine();
    ASSERT_TRUE(last);
    EXPECT_EQ(kelvo::WireLine::decode<FixtureReply>(*last)->pid, fixture.process().pid());
    EXPECT_EQ(fixture.process().waitForExit(), 0);
}

TEST_F(FixtureProcessTest, AWindowNumberIsTheSameEverywhereAndALateWindowIsNamedAtOnce) {
    auto request = fixture.open(FixtureQuirk::plain, CGRect(10, 40, 300, 200));
    request.after = 0.3;
    const auto reply = fixture.request(request);
    ASSERT_TRUE(reply.window);
    const WindowNumber late = *reply.window;
    // The fixture is asked first, then the desktop: while the desktop does not list the window,
    // it was not there for the fixture's list either. Where the 0.3 s have already passed by
    // then (a busy machine), the list may rightly hold it.
    const auto early = fixture.request(FixtureRequest::list());
    EXPECT_TRUE(manager.window(late) || early.windows->empty());
    ASSERT_TRUE(eventually([&] { return manager.window(late).has_value(); }));
    const auto report = fixture.report(late);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->frame, kelvo::WireRect(10, 40, 300, 200));
    EXPECT_EQ(report->title, "plain");
    const auto now = fixture.openWindow(FixtureQuirk::plain, CGRect(0, 30, 100, 100));
    EXPECT_NE(now, late);
    const auto listed = desktop.lines({"windows"});
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_NE(listed[0].find("\"number\":" + std::to_string(now)), std::string::npos);
}

TEST_F(FixtureProcessTest, ThePlainWindowTakesEveryWrite) {
    const auto number = fixture.openWindow(FixtureQuirk::plain, CGRect(100, 100, 800, 600));
    EXPECT_EQ(write(number, "AXPosition", CGPoint{0, 25}), AccessError::success);
    EXPECT_EQ(write(number, "AXSize", CGSize{720, 875}), AccessError::success);
    EXPECT_EQ(frameOf(number), CGRect(0, 25, 720, 875));
    EXPECT_EQ(fixture.report(number)->frame, kelvo::WireRect(0, 25, 720, 875));
}

TEST_F(FixtureProcessTest, RefusesPositionSaysSuccessAndStaysPut) {
    const auto number =
        fixture.openWindow(FixtureQuirk::refusesPosition, CGRect(100, 100, 800, 600));
    EXPECT_EQ(write(number, "AXPosition", CGPoint{0, 25}), AccessError::success);
    EXPECT_EQ(write(number, "AXSize", CGSize{500, 400}), AccessError::success);
    EXPECT_EQ(frameOf(number), CGRect(100, 100, 500, 400));
}

TEST_F(FixtureProcessTest, ClampsSizeKeepsItsMinimum) {
    const auto number = fixture.openWindow(FixtureQuirk::clampsSize, CGRect(100, 100, 200, 100));
    EXPECT_EQ(frameOf(number).size, (CGSize{480, 360}));
    write(number, "AXSize", CGSize{300, 200});
    EXPECT_EQ(frameOf(number).size, (CGSize{480, 360}));
    write(number, "AXSize", CGSize{700, 500});
    EXPECT_EQ(frameOf(number).size, (CGSize{700, 500}));
}

TEST_F(FixtureProcessTest, NonResizableMovesButKeepsItsSize) {
    const auto number = fixture.openWindow(FixtureQuirk::nonResizable, CGRect(100, 100, 800, 600));
    const auto element = manager.window(number)->element;
    const auto settable = manager.connection->isAttributeSettable(element, "AXSize", 0.25);
    EXPECT_EQ(settable.error, AccessError::success);
    EXPECT_FALSE(settable.settable);
    EXPECT_TRUE(manager.connection->isAttributeSettable(element, "AXPosition", 0.25).settable);
    write(number, "AXSize", CGSize{400, 300});
    write(number, "AXPosition", CGPoint{20, 40});
    EXPECT_EQ(frameOf(number), CGRect(20, 40, 800, 600));
}

TEST_F(FixtureProcessTest, SelfMinimizesOnceSomethingElsePlacesIt) {
    const auto number = fixture.openWindow(FixtureQuirk::selfMinimizes, CGRect(100, 100, 800, 600));
    // Its own moves do not count.
    FixtureRequest move = about("move", number);
    move.x = 150;
    EXPECT_TRUE(fixture.request(move).ok);
    EXPECT_FALSE(fixture.report(number)->minimized);
    write(number, "AXPosition", CGPoint{0, 25});
    EXPECT_TRUE(eventually([&] { return fixture.report(number)->minimized; }));
    const auto report = fixture.report(number);
    EXPECT_FALSE(report->visible);
    EXPECT_TRUE(manager.window(number)->minimized);
}

TEST_F(FixtureProcessTest, SelfHidesOnceSomethingElsePlacesIt) {
    const auto number = fixture.openWindow(FixtureQuirk::selfHides, CGRect(100, 100, 800, 600));
    EXPECT_FALSE(*fixture.request(FixtureRequest::list()).appHidden);
    write(number, "AXSize", CGSize{640, 480});
    EXPECT_TRUE(eventually([&] { return *fixture.request(FixtureRequest::list()).appHidden; }));
    EXPECT_FALSE(fixture.report(number)->visible);
    EXPECT_FALSE(fixture.report(number)->minimized);
}

TEST_F(FixtureProcessTest, FixedAspectKeepsItsRatio) {
    const auto number = fixture.openWindow(FixtureQuirk::fixedAspect, CGRect(100, 100, 800, 600));
    write(number, "AXSize", CGSize{400, 400});
    EXPECT_EQ(frameOf(number).size, (CGSize{400, 300}));
}

TEST_F(FixtureProcessTest, AbsentFromAXWindowsIsListedByTheWindowServerOnly) {
    const auto listed = fixture.openWindow(FixtureQuirk::plain, CGRect(0, 30, 300, 300));
    const auto absent =
        fixture.openWindow(FixtureQuirk::absentFromAXWindows, CGRect(100, 100, 800, 600));
    const auto app = manager.connection->applicationElement(fixture.process().pid());
    const auto windows = manager.connection->copyAttribute(app, "AXWindows", 0.25);
    ASSERT_EQ(windows.error, AccessError::success);
    const auto& elements = std::get<std::vector<ElementID>>(windows.value);
    ASSERT_EQ(elements.size(), 1u);
    EXPECT_EQ(manager.connection->windowNumber(elements[0]).number, listed);
    const auto rows = manager.connection->windowList(windowListOnScreenOnly, 0);
    EXPECT_TRUE(std::any_of(rows.begin(), rows.end(),
                            [&](const WindowListRow& row) { return row.number == absent; }));
    EXPECT_EQ(write(absent, "AXPosition", CGPoint{10, 40}), AccessError::success);
    EXPECT_EQ(frameOf(absent).origin, (CGPoint{10, 40}));
}

TEST_F(FixtureProcessTest, TheApplicationMovesMinimizesActivatesHidesAndClosesItsWindows) {
    const auto a = fixture.openWindow(FixtureQuirk::plain, CGRect(0, 30, 300, 300));
    const auto b = fixture.openWindow(FixtureQuirk::plain, CGRect(400, 30, 300, 300));
    FixtureRequest move = about("move", a);
    move.x = 50;
    move.height = 200;
    EXPECT_TRUE(fixture.request(move).ok);
    EXPECT_EQ(frameOf(a), CGRect(50, 30, 300, 200));

    EXPECT_TRUE(fixture.request(about("activate", a)).ok);
    auto list = fixture.request(FixtureRequest::list());
    EXPECT_TRUE(*list.appActive);
    ASSERT_EQ(list.windows->size(), 2u);
    EXPECT_TRUE((*list.windows)[0].key);
    EXPECT_TRUE((*list.windows)[0].main);
    EXPECT_FALSE((*list.windows)[1].key);

    EXPECT_TRUE(fixture.request(about("minimize", b)).ok);
    EXPECT_TRUE(manager.window(b)->minimized);
    EXPECT_TRUE(fixture.request(about("hide")).ok);
    EXPECT_TRUE(*fixture.request(FixtureRequest::list()).appHidden);
    EXPECT_TRUE(fixture.request(about("close", a)).ok);
    EXPECT_FALSE(manager.window(a));
    EXPECT_EQ(fixture.request(about("close", a)),
              FixtureReply::failure("no such window " + std::to_string(a)));
}

TEST_F(FixtureProcessTest, QuitAnswersThenEndsTheApplicationAndItsWindows) {
    fixture.openWindow(FixtureQuirk::plain, CGRect(0, 30, 300, 300));
    EXPECT_EQ(fixture.request(FixtureRequest::quit()), FixtureReply(true, {}, {}, {}, {}, {}, {}));
    EXPECT_EQ(fixture.process().waitForExit(), 0);
    EXPECT_TRUE(eventually([&] { return desktop.lines({"windows"}).empty(); }));

    FixtureProcess second(desktop);
    second.openWindow(FixtureQuirk::plain, CGRect(0, 30, 300, 300));
    second.process().closeInput();
    EXPECT_EQ(second.process().waitForExit(), 0);
    EXPECT_TRUE(eventually([&] { return desktop.lines({"windows"}).empty(); }));
}

TEST_F(FixtureProcessTest, TerminatedFromOutsideTheApplicationQuits) {
    fixture.request(FixtureRequest::ping());
    EXPECT_TRUE(manager.connection->terminateApplication(fixture.process().pid()));
    EXPECT_EQ(fixture.process().waitForExit(), 0);
}

}  // namespace
}  // namespace sim::testing
