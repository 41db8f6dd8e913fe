#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>

#include <poll.h>
#include <unistd.h>

#include "KelvoApp/Input/HotkeyService.h"
#include "KelvoApp/TestMode/TestMode.h"
#include "KelvoCore/Wire/WireLine.h"
#include "Support/KelvoApp/CoordinatorFixture.h"

namespace kelvo {
namespace {

using ::testing::ElementsAre;

TEST(TestModeSwitchTest, TheLocationsFollowTheFolder) {
    EXPECT_EQ(TestMode::directoryFrom(std::nullopt), std::nullopt);
    EXPECT_EQ(TestMode::directoryFrom(std::string("/tmp/kelvo-test")),
              std::filesystem::path("/tmp/kelvo-test"));
    EXPECT_EQ(TestMode::directoryFrom(std::string("")), std::filesystem::current_path());
    EXPECT_EQ(TestMode::directoryFrom(std::string("rel/dir")),
              std::filesystem::current_path() / "rel/dir");
    const std::filesystem::path folder("/tmp/kelvo-test");
    EXPECT_EQ(TestMode::configURL(folder), folder / "config.json");
    EXPECT_EQ(TestMode::logURL(folder), folder / "kelvo.log");
    EXPECT_EQ(TestMode::configURL(std::nullopt), Config::defaultURL());
    EXPECT_EQ(TestMode::logURL(std::nullopt), LogFile::standardURL());
}

TEST(TestModeSwitchTest, NoOtherInstanceMeansNoRefusal) {
    RunningApplication self;
    self.pid = 10;
    self.executableURL = "/bin/KelvoApp";
    RunningApplication other;
    other.pid = 11;
    other.bundleID = "com.example.app";
    other.executableURL = "/bin/KelvoApp";
    EXPECT_EQ(TestMode::refusal({self, other}, 10), std::nullopt);
    RunningApplication noExecutable;
    noExecutable.pid = 12;
    EXPECT_EQ(TestMode::refusal({noExecutable}, 10), std::nullopt);
    RunningApplication byBundle;
    byBundle.pid = 13;
    byBundle.bundleID = TestMode::bundleIdentifier;
    EXPECT_EQ(TestMode::refusal({byBundle}, 10),
              "kelvo: test mode refused — another Kelvo is running: ? (pid 13)\n");
}

TEST(TestModeSwitchTest, OnlyAnInstanceStartedEarlierRefusesThisOne) {
    const auto instance = [](int pid) {
        RunningApplication app;
        app.pid = pid;
        app.bundleID = TestMode::bundleIdentifier;
        app.executableURL = "/bin/KelvoApp";
        return app;
    };
    // The list is in launch order: the younger of two runs refuses, the older does not.
    EXPECT_EQ(TestMode::refusal({instance(20), instance(10)}, 10),
              "kelvo: test mode refused — another Kelvo is running: /bin/KelvoApp (pid 20)\n");
    EXPECT_EQ(TestMode::refusal({instance(10), instance(20)}, 10), std::nullopt);
    // Not listed itself: every other instance counts.
    EXPECT_EQ(TestMode::refusal({instance(20), instance(30)}, 10),
              "kelvo: test mode refused — another Kelvo is running: /bin/KelvoApp (pid 20), "
              "/bin/KelvoApp (pid 30)\n");
}

class TestModeSessionTest : public CoordinatorFixture {
  protected:
    void SetUp() override {
        window(1, CGRect(0, 25, 800, 600));
        ASSERT_TRUE(start());
        settle();
    }
    /// The reply to one line, handled on the main thread as the reader would.
    std::optional<std::string> ask(const std::string& line) {
        const auto reply = TestMode::answer(line, [&](const KelvoTestRequest& request) {
            return TestMode::handle(
                request, coordinator->commands.hotkeys(), coordinator->storeWiring.store(),
                [&] { return coordinator->focus.focused(); }, platform.pid,
                [&] { ++terminations; });
        });
        if (!reply) return std::nullopt;
        return WireLine::encode(*reply);
    }
    int terminations = 0;
};

TEST_F(TestModeSessionTest, PingAnswersThePid) {
    EXPECT_EQ(ask(R"({"op":"ping"})"), R"({"ok":true,"pid":4242})");
    EXPECT_EQ(ask(R"({"op":"ping"})"), R"({"ok":true,"pid":4242})");
}

TEST_F(TestModeSessionTest, TheThreeFailureTexts) {
    EXPECT_EQ(ask("   "), R"({"error":"unreadable request:    ","ok":false})");
    EXPECT_EQ(ask(R"({"op":"Ping"})"), R"({"error":"unknown op Ping","ok":false})");
    EXPECT_EQ(ask(R"({"op":"command"})"), R"({"error":"no such command: nil","ok":false})");
    EXPECT_EQ(ask(R"({"op":"command","command":{"name":"focus"}})"),
              R"({"error":"no such command: focus","ok":false})");
    EXPECT_EQ(ask(""), std::nullopt);
}

TEST_F(TestModeSessionTest, ACommandGoesThroughTheDispatcher) {
    EXPECT_EQ(ask(R"({"op":"command","command":{"name":"switchTo","desktop":2}})"),
              R"({"ok":true})");
    EXPECT_EQ(coordinator->storeWiring.store().activeDesktop(), 2);
    // Carried out while the hot keys are suspended, too.
    coordinator->commands.setRecordingShortcut(true);
    EXPECT_EQ(ask(R"({"op":"command","command":{"name":"switchTo","desktop":1}})"),
              R"({"ok":true})");
    EXPECT_EQ(coordinator->storeWiring.store().activeDesktop(), 1);
}

TEST_F(TestModeSessionTest, ADesktopBeyondTheCountIsRefusedWithTheRangeAndNothingMoves) {
    coordinator->configuration.store().update([](Config& c) { c.desktopCount = 4; });
    settle();
    WorkspaceStore& store = coordinator->storeWiring.store();
    const auto command = [](const char* name, const std::string& desktop) {
        return std::string(R"({"op":"command","command":{"name":")") + name + R"(","desktop":)" +
               desktop + "}}";
    };
    for (const char* name : {"switchTo", "throwTo"}) {
        for (const std::string desktop : {"0", "5", "-1", "4294967297"}) {
            EXPECT_EQ(ask(command(name, desktop)), "{\"error\":\"no such desktop: " + desktop +
                                                       " (the desktops are 1 to 4)\",\"ok\":false}")
                << name << " " << desktop;
        }
    }
    settle();
    EXPECT_EQ(store.activeDesktop(), 1);
    EXPECT_EQ(store.desktop(WindowID(1)), 1);
    EXPECT_EQ(ask(command("throwTo", "4")), R"({"ok":true})");
    EXPECT_EQ(store.desktop(WindowID(1)), 4);
    EXPECT_EQ(ask(command("switchTo", "4")), R"({"ok":true})");
    EXPECT_EQ(store.activeDesktop(), 4);
}

TEST_F(TestModeSessionTest, StateReportsTheAskedWindowsInOrder) {
    const auto reply = ask(R"({"op":"state"})");
    ASSERT_TRUE(reply);
    const auto decoded = WireLine::decode<KelvoTestReply>(*reply);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->activeDesktop, 1);
    EXPECT_EQ(decoded->windows, std::vector<KelvoTestWindowRecord>{});
    EXPECT_FALSE(decoded->pid.has_value());
    EXPECT_EQ(decoded->description, coordinator->storeWiring.store().stateDescription());

    const auto withIDs = WireLine::decode<KelvoTestReply>(*ask(R"({"op":"state","ids":[9,1,1]})"));
    ASSERT_TRUE(withIDs && withIDs->windows);
    ASSERT_EQ(withIDs->windows->size(), 3u);
    EXPECT_EQ((*withIDs->windows)[0],
              (KelvoTestWindowRecord{9, std::nullopt, false, std::nullopt}));
    EXPECT_EQ((*withIDs->windows)[1], (*withIDs->windows)[2]);
    EXPECT_EQ((*withIDs->windows)[1].desktop, 1);
    EXPECT_TRUE((*withIDs->windows)[1].frame.has_value());
}

TEST_F(TestModeSessionTest, QuitIsQueuedAfterItsReply) {
    EXPECT_EQ(ask(R"({"op":"quit"})"), R"({"ok":true})");
    EXPECT_EQ(terminations, 0);
    clock.runUntilIdle();
    EXPECT_EQ(terminations, 1);
}

/// The reader on its own thread, over a pipe, answering through the main queue.
class TestModeReaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(::pipe(input_), 0);
        ASSERT_EQ(::pipe(output_), 0);
    }
    void TearDown() override {
        for (int fd : {input_[0], input_[1], output_[0], output_[1]}) {
            if (fd >= 0) ::close(fd);
        }
    }
    void write(const std::string& text) {
        ASSERT_EQ(::write(input_[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    void closeInput() {
        ::close(input_[1]);
        input_[1] = -1;
    }
    std::string readReply() {
        std::string line;
        char c = 0;
        while (::read(output_[0], &c, 1) == 1 && c != '\n')
            line.push_back(c);
        return line;
    }
    /// Runs the main queue until the reader has written its next reply. The reader hands one
    /// request at a time to the main queue and may hand the next one while the previous runs,
    /// so replies are awaited, not counted against rounds of the queue.
    std::string nextReply() {
        for (int round = 0; round < 1000; ++round) {
            pollfd readable{output_[0], POLLIN, 0};
            if (::poll(&readable, 1, 0) == 1) return readReply();
            if (clock.waitForPending(1, 0.01)) clock.runUntilIdle();
        }
        return "";
    }
    ManualClock clock;
    int input_[2] = {-1, -1};
    int output_[2] = {-1, -1};
};

TEST_F(TestModeReaderTest, RepliesComeInOrderAndTheEndOfInputTerminates) {
    FakeEventTaps taps;
    Config config = Config::defaults();
    auto bridge = std::make_shared<FakeWindowBridge>();
    WorkspaceStore store(config, bridge, CGRect(0, 25, 1000, 800));
    HotkeyService hotkeys(taps, Keymap(config), [](const Command&) {});
    int terminations = 0;
    auto reader = TestMode::start(
        std::filesystem::path("/tmp"), hotkeys, store, [] { return std::optional<WindowID>(); }, 77,
        [&] { ++terminations; }, input_[0], output_[1]);
    ASSERT_TRUE(reader);
    write("\n{\"op\":\"ping\"}\r\n{\"op\":\"nope\"}\n{\"op\":\"ping\"}");
    EXPECT_EQ(nextReply(), R"({"ok":true,"pid":77})");
    EXPECT_EQ(nextReply(), R"({"error":"unknown op nope","ok":false})");
    // The last line has no line feed: the end of input completes it.
    closeInput();
    EXPECT_EQ(nextReply(), R"({"ok":true,"pid":77})");
    ASSERT_TRUE(reader->waitUntilFinished(10));
    clock.runUntilIdle();
    EXPECT_EQ(terminations, 1);
}

TEST_F(TestModeReaderTest, TheQuitReplyIsWrittenBeforeTerminationBegins) {
    FakeEventTaps taps;
    Config config = Config::defaults();
    auto bridge = std::make_shared<FakeWindowBridge>();
    WorkspaceStore store(config, bridge, CGRect(0, 25, 1000, 800));
    HotkeyService hotkeys(taps, Keymap(config), [](const Command&) {});
    std::atomic<int> terminations = 0;
    std::atomic<bool> replyWasOut = false;
    auto reader = TestMode::start(
        std::filesystem::path("/tmp"), hotkeys, store, [] { return std::optional<WindowID>(); }, 77,
        [&] {
            pollfd readable{output_[0], POLLIN, 0};
            replyWasOut = ::poll(&readable, 1, 0) == 1;
            ++terminations;
        },
        input_[0], output_[1]);
    ASSERT_TRUE(reader);
    write("{\"op\":\"quit\"}\n");
    for (int round = 0; round < 1000 && terminations == 0; ++round) {
        if (clock.waitForPending(1, 0.01)) clock.runUntilIdle();
    }
    EXPECT_EQ(terminations, 1);
    EXPECT_TRUE(replyWasOut);
    EXPECT_EQ(readReply(), R"({"ok":true})");
    closeInput();
    ASSERT_TRUE(reader->waitUntilFinished(10));
    clock.runUntilIdle();
}

TEST_F(TestModeReaderTest, OutsideTestModeNothingStarts) {
    FakeEventTaps taps;
    Config config = Config::defaults();
    auto bridge = std::make_shared<FakeWindowBridge>();
    WorkspaceStore store(config, bridge, CGRect(0, 25, 1000, 800));
    HotkeyService hotkeys(taps, Keymap(config), [](const Command&) {});
    EXPECT_FALSE(
        TestMode::start(std::nullopt, hotkeys, store, nullptr, 1, nullptr, input_[0], output_[1]));
}

}  // namespace
}  // namespace kelvo
