#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "KelvoCore/Wire/FixtureReply.h"
#include "KelvoCore/Wire/FixtureRequest.h"
#include "KelvoCore/Wire/KelvoTestReply.h"
#include "KelvoCore/Wire/KelvoTestRequest.h"
#include "KelvoCore/Wire/WireLine.h"

namespace kelvo {
namespace {

TEST(WireLine, RequestsComeOutAsTheProtocolShowsThem) {
    EXPECT_EQ(WireLine::encode(KelvoTestRequest::ping()), R"({"op":"ping"})");
    EXPECT_EQ(WireLine::encode(KelvoTestRequest::quit()), R"({"op":"quit"})");
    EXPECT_EQ(WireLine::encode(KelvoTestRequest::commandRequest(Command::switchTo(2))),
              R"({"command":{"desktop":2,"name":"switchTo"},"op":"command"})");
    EXPECT_EQ(WireLine::encode(KelvoTestRequest::state({WindowID(812), WindowID(813)})),
              R"({"ids":[812,813],"op":"state"})");
    EXPECT_EQ(WireLine::encode(KelvoTestRequest::state({WindowID(5), WindowID(5)})),
              R"({"ids":[5,5],"op":"state"})");
    EXPECT_EQ(WireLine::encode(KelvoTestRequest::state({})), R"({"ids":[],"op":"state"})");
    EXPECT_EQ(WireLine::encode(KelvoTestRequest::commandRequest(Command::focus(Direction::up))),
              R"({"command":{"direction":"up","name":"focus"},"op":"command"})");
}

TEST(WireLine, RepliesComeOutWithSortedKeysAndIntegralNumbers) {
    EXPECT_EQ(WireLine::encode(KelvoTestReply::failure("unknown op")),
              R"({"error":"unknown op","ok":false})");
    const KelvoTestWindowRecord record(812, 1, false, WireRect(0, 0, 960, 1080));
    EXPECT_EQ(
        WireLine::encode(record),
        R"({"desktop":1,"floating":false,"frame":{"height":1080,"width":960,"x":0,"y":0},"id":812})");
    EXPECT_EQ(WireLine::encode(KelvoTestWindowRecord(9, std::nullopt, true, std::nullopt)),
              R"({"floating":true,"id":9})");
    const KelvoTestReply state(true, std::nullopt, 4242, 3, 812, std::vector{record},
                               "desktop 3 a/b");
    EXPECT_EQ(
        WireLine::encode(state),
        R"({"activeDesktop":3,"description":"desktop 3 a\/b","focused":812,"ok":true,"pid":4242,"windows":[{"desktop":1,"floating":false,"frame":{"height":1080,"width":960,"x":0,"y":0},"id":812}]})");
    EXPECT_EQ(WireLine::decode<KelvoTestReply>(*WireLine::encode(state)), state);
    EXPECT_EQ(WireLine::encode(KelvoTestReply(true, {}, 17, {}, {}, {}, {})),
              R"({"ok":true,"pid":17})");
}

TEST(WireLine, NonFiniteNumbersEncodeToNothing) {
    const double nan = std::nan("");
    EXPECT_FALSE(WireLine::encode(WireRect(nan, 0, 1, 1)));
    EXPECT_FALSE(WireLine::encode(KelvoTestWindowRecord(
        1, 1, false, WireRect(0, std::numeric_limits<double>::infinity(), 1, 1))));
    EXPECT_FALSE(WireLine::encode(FixtureRequest("open", {}, {}, -INFINITY, {}, {}, {}, {}, {})));
}

TEST(WireLine, DecodingRequests) {
    auto empty = WireLine::decode<KelvoTestRequest>(R"({"op":"state","ids":[]})");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->ids, std::vector<std::uint32_t>{});
    EXPECT_FALSE(WireLine::decode<KelvoTestRequest>(R"({"op":"state"})")->ids);
    EXPECT_FALSE(WireLine::decode<KelvoTestRequest>(R"({"op":"state","ids":null})")->ids);
    EXPECT_EQ(WireLine::decode<KelvoTestRequest>(R"({"op":"state","ids":[4294967295]})")->ids,
              std::vector<std::uint32_t>{4294967295u});
    for (const char* bad :
         {R"({"op":"state","ids":[-1]})", R"({"op":"state","ids":[4294967296]})",
          R"({"op":"state","ids":[1.5]})", R"({"op":"state","ids":[null]})",
          R"({"op":"state","ids":{}})", R"({"ids":[]})", R"({"op":5})", R"({"op":null})",
          R"({"op":"command","command":{"desktop":1}})",
          R"({"op":"command","command":{"name":"switchTo","desktop":"1"}})", R"(["op","ping"])",
          R"("ping")", "", " ", "{\"op\":\"ping\"} x", "{\"op\":\"ping\"}\n{\"op\":\"ping\"}"}) {
        EXPECT_FALSE(WireLine::decode<KelvoTestRequest>(bad)) << bad;
    }
    auto extra = WireLine::decode<KelvoTestRequest>(R"(  {"op":"ping","extra":[1,{"x":2}]} )");
    ASSERT_TRUE(extra);
    EXPECT_EQ(*extra, KelvoTestRequest::ping());
    EXPECT_EQ(WireLine::encode(*extra), R"({"op":"ping"})");
}

TEST(WireLine, SlashesAreEscapedAndReadBack) {
    const auto reply = KelvoTestReply::failure("/Applications/Kelvo.app");
    const auto line = WireLine::encode(reply);
    EXPECT_EQ(line, R"({"error":"\/Applications\/Kelvo.app","ok":false})");
    EXPECT_EQ(WireLine::decode<KelvoTestReply>(*line), reply);
    EXPECT_EQ(WireLine::decode<KelvoTestReply>(R"({"ok":false,"error":"a/b"})")->error, "a/b");
}

TEST(WireLine, OneValueIsOneLine) {
    const auto line = WireLine::encode(KelvoTestReply::failure("two\nlines\r\u2028"));
    ASSERT_TRUE(line);
    EXPECT_EQ(line->find('\n'), std::string::npos);
    EXPECT_EQ(line->find('\r'), std::string::npos);
}

TEST(WireRect, StandardisesRectangles) {
    EXPECT_EQ(WireRect(CGRect(10, 10, -4, 5)), WireRect(6, 10, 4, 5));
    EXPECT_EQ(WireRect(1, 2, 3, 4).rect(), CGRect(1, 2, 3, 4));
    EXPECT_EQ(WireLine::decode<WireRect>(R"({"x":1,"y":2.5,"width":3,"height":4})"),
              WireRect(1, 2.5, 3, 4));
    EXPECT_FALSE(WireLine::decode<WireRect>(R"({"x":1,"y":2,"width":3})"));
    EXPECT_FALSE(WireLine::decode<WireRect>(R"({"x":1,"y":2,"width":3,"height":true})"));
}

struct CommandLine {
    const char* line;
    std::optional<Command> command;
};

TEST(WireCommand, ReadingNamesAndPayloads) {
    const CommandLine cases[] = {
        {R"({"name":"switchTo"})", std::nullopt},
        {R"({"name":"switchTo","desktop":0})", Command::switchTo(0)},
        {R"({"name":"throwTo","desktop":-3})", Command::throwTo(-3)},
        {R"({"name":"switchTo","desktop":42})", Command::switchTo(42)},
        {R"({"name":"throwTo","direction":"left"})", std::nullopt},
        {R"({"name":"focus","direction":"Up"})", std::nullopt},
        {R"({"name":"focus","direction":"up"})", Command::focus(Direction::up)},
        {R"({"name":"moveWindow","direction":"down","desktop":1})",
         Command::moveWindow(Direction::down)},
        {R"({"name":"resize"})", std::nullopt},
        {R"({"name":"resize","direction":"sideways"})", std::nullopt},
        {R"({"name":"rotate","desktop":3,"direction":"left"})", Command::rotate()},
        {R"({"name":"Rotate"})", std::nullopt},
        {R"({"name":"rotate "})", std::nullopt},
        {R"({"name":""})", std::nullopt},
        {R"({"name":"closeWindow"})", Command::closeWindow()},
    };
    for (const auto& c : cases) {
        auto wire = WireLine::decode<WireCommand>(c.line);
        ASSERT_TRUE(wire) << c.line;
        EXPECT_EQ(wire->command(), c.command) << c.line;
    }
    // Beyond the range of a desktop number the command still reads, and stays out of range.
    auto huge =
        WireLine::decode<WireCommand>(R"({"name":"switchTo","desktop":9223372036854775807})");
    ASSERT_TRUE(huge);
    EXPECT_GT(*huge->command()->desktop(), 9);
    EXPECT_FALSE(WireLine::decode<WireCommand>(R"({"name":"switchTo","desktop":1.5})"));
}

TEST(WireCommand, EveryCommandSurvivesTheWire) {
    std::vector<Command> all = {Command::switchTo(1), Command::switchTo(9), Command::throwTo(0),
                                Command::throwTo(-7)};
    for (Direction d : direction::allCases) {
        all.push_back(Command::focus(d));
        all.push_back(Command::moveWindow(d));
        all.push_back(Command::resize(d));
    }
    for (Command::Kind kind : Command::allKinds) {
        if (auto plain = Command::plain(kind)) all.push_back(*plain);
    }
    EXPECT_EQ(all.size(), 4u + 12u + 12u);
    for (const Command& c : all) {
        EXPECT_EQ(WireCommand(c).command(), c) << c.description();
        auto line = WireLine::encode(WireCommand(c));
        ASSERT_TRUE(line);
        EXPECT_EQ(WireLine::decode<WireCommand>(*line)->command(), c) << *line;
    }
    EXPECT_EQ(WireLine::encode(WireCommand(Command::rotate())), R"({"name":"rotate"})");
    EXPECT_EQ(WireLine::encode(WireCommand(Command::resize(Direction::left))),
              R"({"direction":"left","name":"resize"})");
}

TEST(FixtureWire, QuirksAndStatics) {
    EXPECT_EQ(fixture_quirk::allCases.size(), 8u);
    for (FixtureQuirk q : fixture_quirk::allCases) {
        EXPECT_EQ(fixtureQuirkFromRawValue(rawValue(q)), q);
    }
    EXPECT_EQ(rawValue(FixtureQuirk::absentFromAXWindows), "absentFromAXWindows");
    EXPECT_FALSE(fixtureQuirkFromRawValue("ClampsSize"));
    EXPECT_EQ(WireLine::encode(FixtureRequest::list()), R"({"op":"list"})");
    EXPECT_EQ(WireLine::encode(FixtureRequest::ping()), R"({"op":"ping"})");
    EXPECT_EQ(WireLine::encode(FixtureRequest::quit()), R"({"op":"quit"})");
    EXPECT_EQ(WireLine::encode(FixtureReply::failure("no such window")),
              R"({"error":"no such window","ok":false})");
}

TEST(FixtureWire, RequestsAndReports) {
    const FixtureRequest open("open", FixtureQuirk::clampsSize, "Doc/1", 0.25, 10, 20, 800, 600, 7);
    EXPECT_EQ(
        WireLine::encode(open),
        R"({"after":0.25,"height":600,"op":"open","quirk":"clampsSize","title":"Doc\/1","width":800,"window":7,"x":10,"y":20})");
    EXPECT_EQ(WireLine::decode<FixtureRequest>(*WireLine::encode(open)), open);
    EXPECT_TRUE(WireLine::decode<FixtureRequest>(R"({"op":"open","quirk":"clampsSize"})"));
    EXPECT_FALSE(WireLine::decode<FixtureRequest>(R"({"op":"open","quirk":"clampssize"})"));
    EXPECT_FALSE(WireLine::decode<FixtureRequest>(R"({"op":"open","quirk":3})"));
    EXPECT_FALSE(WireLine::decode<FixtureRequest>(R"({"op":"open","window":-1})"));
    EXPECT_TRUE(WireLine::decode<FixtureRequest>(R"({"op":"open","quirk":null})"));

    const FixtureWindowReport report(31, "Plain", FixtureQuirk::plain, WireRect(0, 25, 640, 480),
                                     true, false, true, true);
    const FixtureReply reply(true, {}, 999, 31, std::vector{report}, true, false);
    EXPECT_EQ(
        WireLine::encode(reply),
        R"({"appActive":true,"appHidden":false,"ok":true,"pid":999,"window":31,"windows":[{"frame":{"height":480,"width":640,"x":0,"y":25},"key":true,"main":true,"minimized":false,"number":31,"quirk":"plain","title":"Plain","visible":true}]})");
    EXPECT_EQ(WireLine::decode<FixtureReply>(*WireLine::encode(reply)), reply);
    EXPECT_FALSE(WireLine::decode<FixtureWindowReport>(
        R"({"frame":{"height":480,"width":640,"x":0,"y":25},"key":true,"minimized":false,"number":31,"quirk":"plain","title":"Plain","visible":true})"));
    EXPECT_FALSE(WireLine::decode<FixtureReply>(R"({"ok":true,"pid":2147483648})"));
}

}  // namespace
}  // namespace kelvo
