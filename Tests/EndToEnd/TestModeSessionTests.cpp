#include "KelvoCore/Wire/WireLine.h"
#include "Support/EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

// The test-mode session as a harness meets it: one reply line per request line, in order, from
// a fully started system.
class TestModeSessionTest : public EndToEndTest {};

TEST_F(TestModeSessionTest, PingAnswersWithTheProcessIdentifierOnceStarted) {
    const auto first = open(notes, CGRect(100, 100, 600, 400));
    const auto second = open(browser, CGRect(400, 300, 600, 400));
    auto& k = startKelvo();
    // The launch adoption is part of start-up, so the first reply finds both windows managed.
    const auto managed = records({first, second});
    ASSERT_EQ(managed.size(), 2u);
    EXPECT_EQ(managed[0].desktop, 1);
    EXPECT_EQ(managed[1].desktop, 1);
    const std::string expected = R"({"ok":true,"pid":)" + std::to_string(k.pid()) + "}";
    EXPECT_EQ(k.exchange(R"({"op":"ping"})"), expected);
    EXPECT_EQ(k.exchange(R"({"op":"ping"})"), expected);
}

TEST_F(TestModeSessionTest, StateWithoutWindowsReportsTheDesktopAndNoPid) {
    auto& k = startKelvo();
    const auto line = k.exchange(R"({"op":"state"})");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->find("\"pid\""), std::string::npos) << *line;
    const auto reply = WireLine::decode<KelvoTestReply>(*line);
    ASSERT_TRUE(reply);
    EXPECT_TRUE(reply->ok);
    EXPECT_EQ(reply->activeDesktop, 1);
    ASSERT_TRUE(reply->windows);
    EXPECT_TRUE(reply->windows->empty());
    EXPECT_FALSE(reply->focused);
    EXPECT_EQ(reply->description,
              "desktops: (none)\nactive=1 parked=[] parkRefused=[] parkMinimized=[] floating=[] "
              "inDock=[] zoomed=nil showingDesktop=[] unmanageable=[] expected=[] focus=nil "
              "switchParked=[]");
}

TEST_F(TestModeSessionTest, FailuresCarryTheirTextsAndTheSessionGoesOn) {
    auto& k = startKelvo();
    EXPECT_EQ(k.exchange(R"({"op":"Ping"})"), R"({"error":"unknown op Ping","ok":false})");
    EXPECT_EQ(k.exchange("   "), R"({"error":"unreadable request:    ","ok":false})");
    EXPECT_EQ(
        k.exchange(R"({"ids":[4294967296],"op":"state"})"),
        R"({"error":"unreadable request: {\"ids\":[4294967296],\"op\":\"state\"}","ok":false})");
    EXPECT_EQ(k.exchange(R"({"op":"command"})"), R"({"error":"no such command: nil","ok":false})");
    EXPECT_EQ(k.exchange(R"({"command":{"name":"focus"},"op":"command"})"),
              R"({"error":"no such command: focus","ok":false})");
    EXPECT_EQ(
        k.exchange(R"({"command":{"direction":"sideways","name":"moveWindow"},"op":"command"})"),
        R"({"error":"no such command: moveWindow","ok":false})");
    // An empty line gets no reply: the next reply belongs to the ping after it.
    ASSERT_TRUE(k.process().write("\n"));
    EXPECT_EQ(k.exchange("{\"op\":\"ping\"}\r"),
              R"({"ok":true,"pid":)" + std::to_string(k.pid()) + "}");
}

TEST_F(TestModeSessionTest, CommandsAreDispatchedAndTheStateFollows) {
    auto& k = startKelvo();
    EXPECT_EQ(k.exchange(R"({"command":{"desktop":2,"name":"switchTo"},"op":"command"})"),
              R"({"ok":true})");
    EXPECT_TRUE(eventuallyState({}, [](const auto& r) { return r.activeDesktop == 2; }));
    EXPECT_TRUE(k.waitForLog("cmd switchTo(2)  focused=nil"));
}

TEST_F(TestModeSessionTest, ADesktopOutsideTheCountIsRefusedNamingTheRangeAndNothingChanges) {
    writeConfig(R"({"desktopCount": 5, "guideSeen": true})");
    const auto w = open(notes, CGRect(100, 100, 600, 400));
    auto& k = startKelvo();
    ASSERT_TRUE(settled({w}));
    const auto command = [&](const std::string& name, int desktop) {
        return k.exchange(R"({"command":{"desktop":)" + std::to_string(desktop) + R"(,"name":")" +
                          name + R"("},"op":"command"})");
    };
    const auto refusal = [](int desktop) -> std::optional<std::string> {
        return "{\"error\":\"no such desktop: " + std::to_string(desktop) +
               " (the desktops are 1 to 5)\",\"ok\":false}";
    };
    for (const char* name : {"throwTo", "switchTo"}) {
        for (int desktop : {0, 6, -1})
            EXPECT_EQ(command(name, desktop), refusal(desktop)) << name << " " << desktop;
    }
    // Nothing was dispatched: the window and the view stay on desktop 1.
    const auto unchanged = k.state(ids({w}));
    EXPECT_EQ(unchanged.activeDesktop, 1);
    ASSERT_TRUE(unchanged.windows && unchanged.windows->size() == 1u);
    EXPECT_EQ(unchanged.windows->front().desktop, 1);
    for (const auto& message : k.logMessages()) {
        for (const char* refused : {"(0)", "(6)", "(-1)"}) {
            EXPECT_FALSE(message.starts_with(std::string("cmd switchTo") + refused)) << message;
            EXPECT_FALSE(message.starts_with(std::string("cmd throwTo") + refused)) << message;
        }
    }

    // The first and the last desktop are carried out.
    EXPECT_EQ(command("throwTo", 5), R"({"ok":true})");
    EXPECT_TRUE(
        eventuallyState({w}, [](const auto& r) { return r.windows->front().desktop == 5; }));
    EXPECT_EQ(command("switchTo", 5), R"({"ok":true})");
    EXPECT_TRUE(eventuallyState({}, [](const auto& r) { return r.activeDesktop == 5; }));
    EXPECT_EQ(command("switchTo", 1), R"({"ok":true})");
    EXPECT_TRUE(eventuallyState({}, [](const auto& r) { return r.activeDesktop == 1; }));
}

TEST_F(TestModeSessionTest, RecordsOfUnmanagedWindowsKeepOrderAndDuplicates) {
    auto& k = startKelvo();
    const auto line = k.exchange(R"({"ids":[77,77],"op":"state"})");
    ASSERT_TRUE(line);
    EXPECT_NE(line->find(R"("windows":[{"floating":false,"id":77},{"floating":false,"id":77}])"),
              std::string::npos)
        << *line;
}

TEST_F(TestModeSessionTest, QuitRepliesThenEndsTheProcessWithStatusZero) {
    auto& k = startKelvo();
    EXPECT_EQ(k.exchange(R"({"op":"quit"})"), R"({"ok":true})");
    EXPECT_EQ(k.process().waitForExit(), 0);
    EXPECT_TRUE(k.waitForLog("quitting - every parked window put back"));
}

TEST_F(TestModeSessionTest, EndOfInputEndsTheProcessWithoutAReply) {
    auto& k = startKelvo();
    k.process().closeInput();
    EXPECT_EQ(k.process().readAll(), "");
    EXPECT_EQ(k.process().waitForExit(), 0);
    EXPECT_TRUE(k.waitForLog("quitting - every parked window put back"));
}

TEST_F(TestModeSessionTest, ALastLineWithoutALineFeedIsStillAnswered) {
    auto& k = startKelvo();
    ASSERT_TRUE(k.process().write(R"({"op":"ping"})"));
    k.process().closeInput();
    EXPECT_EQ(k.process().readAll(), R"({"ok":true,"pid":)" + std::to_string(k.pid()) + "}\n");
    EXPECT_EQ(k.process().waitForExit(), 0);
}

}  // namespace
}  // namespace kelvo::testing
