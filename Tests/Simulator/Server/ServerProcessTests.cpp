#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <mutex>
#include <set>

#include "Base/JSON/JSONWriter.h"
#include "KelvoCore/Keys/KeyCode.h"
#include "Platform/Quartz/CGEvent.h"
#include "Simulator/Server/UnixSocket.h"
#include "Support/Simulator/Manager.h"
#include "Support/Tools/FixtureProcess.h"

namespace sim::testing {
namespace {

using kelvo::FixtureQuirk;
using kelvo::JSONNode;
using kelvo::JSONValue;

class ServerProcessTest : public ::testing::Test {
  protected:
    DesktopProcess desktop{KELVO_SIM_PROGRAM, {"--display", "1440x900"}};

    std::vector<JSONValue> jsonLines(std::vector<std::string> verb) {
        std::vector<JSONValue> values;
        for (const auto& line : desktop.lines(std::move(verb)))
            values.push_back(JSONNode::parse(line));
        return values;
    }
    std::vector<InputEvent> receivedInput(Manager& manager, Pid pid) {
        return JSONNode(manager.connection->lines().call("receivedInput", {{"pid", pid}}))
            .decode<std::vector<InputEvent>>("events");
    }
    static bool gotKeyDown(const std::vector<InputEvent>& events, std::uint16_t code) {
        return std::any_of(events.begin(), events.end(), [&](const InputEvent& e) {
            return e.type == inputKeyDown && e.keyCode == code;
        });
    }
};

TEST_F(ServerProcessTest, WindowsAreListedFrontToBackWithTheirFields) {
    FixtureProcess fixture(desktop);
    const Pid pid = *fixture.request(kelvo::FixtureRequest::ping()).pid;
    EXPECT_EQ(pid, fixture.process().pid());
    const auto back = fixture.openWindow(FixtureQuirk::plain, CGRect(10, 40, 300, 200));
    const auto front = fixture.openWindow(FixtureQuirk::plain, CGRect(50, 80, 640, 480));
    const auto lines = desktop.lines({"windows"});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], R"({"bundleID":"com.kelvo.fixture","frame":{"height":480,"width":640,)"
                        R"("x":50,"y":80},"layer":0,"minimized":false,"number":)" +
                            std::to_string(front) + R"(,"onScreen":true,"pid":)" +
                            std::to_string(pid) + R"(,"title":"plain"})");
    EXPECT_EQ(JSONNode::parse(lines[1])["number"], back);
}

TEST_F(ServerProcessTest, DisplaysAndApplicationsAreListed) {
    DesktopProcess two(KELVO_SIM_PROGRAM, {"--display", "1440x900", "--display", "1920x1080"});
    const auto displays = two.lines({"displays"});
    ASSERT_EQ(displays.size(), 2u);
    EXPECT_EQ(displays[0], R"({"frame":{"height":900,"width":1440,"x":0,"y":0},"id":1,)"
                           R"("visibleFrame":{"height":875,"width":1440,"x":0,"y":25}})");
    EXPECT_EQ(JSONNode::parse(displays[1])["frame"],
              (JSONValue{{"height", 1080}, {"width", 1920}, {"x", 1440}, {"y", 0}}));

    FixtureProcess fixture(two, {"--bundle-id", "com.example.notes", "--name", "Notes"});
    fixture.request(kelvo::FixtureRequest::ping());
    const auto apps = two.lines({"apps"});
    ASSERT_EQ(apps.size(), 1u);
    const auto app = JSONNode::parse(apps[0]);
    EXPECT_EQ(app["bundleID"], "com.example.notes");
    EXPECT_EQ(app["name"], "Notes");
    EXPECT_EQ(app["pid"], fixture.process().pid());
    EXPECT_EQ(app["executablePath"], std::filesystem::canonical(KELVO_FIXTURE_PROGRAM).string());
}

TEST_F(ServerProcessTest, AKeyChordReachesATapInAnotherProcessWhichSwallowsOrPassesIt) {
    FixtureProcess fixture(desktop);
    const Pid front = fixture.process().pid();
    fixture.request({"activate", {}, {}, {}, {}, {}, {}, {}, {}});
    Manager manager(desktop);
    manager.tapPolicy = [](const TapEventDelivery& d) {
        // The manager keeps alt+1 for itself and lets everything else through.
        if (d.event.keyCode == kelvo::KeyCode::one) return TapAnswer{d.delivery, std::nullopt};
        return TapAnswer{d.delivery, d.event};
    };
    TapSpec spec;
    spec.eventsOfInterest = CGEventMaskBit(kCGEventKeyDown);
    ASSERT_NE(manager.connection->createTap(spec), 0u);

    EXPECT_EQ(desktop.run({"key", "alt+1"}).status, 0);
    EXPECT_EQ(desktop.run({"key", "alt+2"}).status, 0);
    ASSERT_TRUE(eventually([&] { return gotKeyDown(receivedInput(manager, front), 19); }));
    const auto events = receivedInput(manager, front);
    EXPECT_FALSE(gotKeyDown(events, 18));
    const auto seen = manager.takeEvents();
    std::vector<std::uint16_t> tapped;
    for (const auto& event : seen) {
        if (const auto* d = std::get_if<TapEventDelivery>(&event)) {
            tapped.push_back(d->event.keyCode);
            EXPECT_EQ(d->event.flags, kCGEventFlagMaskAlternate);
        }
    }
    EXPECT_EQ(tapped, (std::vector<std::uint16_t>{18, 19}));
}

TEST_F(ServerProcessTest, ATapThatIsSlowToAnswerIsDisabledWhileTheServerGoesOnServing) {
    FixtureProcess fixture(desktop);
    const Pid front = fixture.process().pid();
    fixture.request({"activate", {}, {}, {}, {}, {}, {}, {}, {}});
    Manager manager(desktop);
    TapSpec spec;
    spec.eventsOfInterest = CGEventMaskBit(kCGEventKeyDown);
    const TapID tap = manager.connection->createTap(spec);
    EXPECT_EQ(desktop.run({"key", "alt+1"}).status, 0);
    // The key waits for the manager, and the desktop answers everyone else meanwhile.
    EXPECT_EQ(desktop.run({"windows"}).status, 0);
    EXPECT_EQ(fixture.request(kelvo::FixtureRequest::list()).ok, true);
    const auto disabled = manager.waitForEvent([](const DesktopEvent& event) {
        const auto* d = std::get_if<TapEventDelivery>(&event);
        return d && d->event.type == inputTapDisabledByTimeout;
    });
    ASSERT_TRUE(disabled);
    EXPECT_EQ(std::get<TapEventDelivery>(*disabled).tap, tap);
    EXPECT_FALSE(manager.connection->isTapEnabled(tap));
    EXPECT_TRUE(eventually([&] { return gotKeyDown(receivedInput(manager, front), 18); }));
}

TEST_F(ServerProcessTest, AKilledClientsApplicationAndWindowsAreGone) {
    Manager manager(desktop);
    auto fixture = std::make_unique<FixtureProcess>(desktop);
    const Pid pid = fixture->process().pid();
    fixture->openWindow(FixtureQuirk::plain, CGRect(0, 30, 400, 300));
    fixture->openWindow(FixtureQuirk::clampsSize, CGRect(50, 60, 500, 400));
    ASSERT_EQ(desktop.lines({"windows"}).size(), 2u);
    fixture->process().signal(SIGKILL);
    EXPECT_EQ(fixture->process().waitForExit(), 128 + SIGKILL);
    EXPECT_TRUE(eventually([&] { return desktop.lines({"windows"}).empty(); }));
    const auto terminated = manager.waitForEvent([&](const DesktopEvent& event) {
        const auto* n = std::get_if<WorkspaceNotification>(&event);
        return n && n->kind == WorkspaceNotification::Kind::terminated && n->pid == pid;
    });
    EXPECT_TRUE(terminated);
    const auto app = manager.connection->application(pid);
    EXPECT_TRUE(!app || app->terminated);
}

TEST_F(ServerProcessTest, TwoServersOnTwoSocketsAreIndependent) {
    DesktopProcess other(KELVO_SIM_PROGRAM, {"--display", "800x600"});
    FixtureProcess fixture(desktop);
    fixture.openWindow(FixtureQuirk::plain, CGRect(0, 30, 400, 300));
    EXPECT_EQ(desktop.lines({"windows"}).size(), 1u);
    EXPECT_TRUE(other.lines({"windows"}).empty());
    EXPECT_EQ(JSONNode::parse(other.lines({"displays"})[0])["frame"]["width"], 800);
    EXPECT_EQ(other.run({"shutdown"}).status, 0);
    EXPECT_EQ(other.server().waitForExit(), 0);
    EXPECT_FALSE(std::filesystem::exists(other.socketPath()));
    EXPECT_EQ(desktop.lines({"windows"}).size(), 1u);
}

TEST_F(ServerProcessTest, SignalsEndTheServerCleanlyAndTakeTheSocketAlong) {
    for (int signal : {SIGTERM, SIGINT}) {
        DesktopProcess served(KELVO_SIM_PROGRAM);
        FixtureProcess fixture(served);
        fixture.request(kelvo::FixtureRequest::ping());
        served.server().signal(signal);
        EXPECT_EQ(served.server().waitForExit(), 0) << signal;
        EXPECT_FALSE(std::filesystem::exists(served.socketPath()));
        // Its clients see the desktop go.
        EXPECT_EQ(fixture.process().waitForExit(), 1);
    }
}

TEST_F(ServerProcessTest, BadInputGetsAnErrorOrAClosedConnectionNeverACrash) {
    const int fd = UnixSocket::connect(desktop.socketPath());
    // A server that stopped answering fails the test instead of hanging it.
    const timeval bound{20, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &bound, sizeof(bound));
    auto readLine = [&]() {
        std::string line;
        char c;
        while (::recv(fd, &c, 1, 0) == 1 && c != '\n')
            line += c;
        return line;
    };
    UnixSocket::sendAll(fd, "not json\n");
    EXPECT_EQ(readLine(), R"({"error":"unreadable request: not json"})");
    UnixSocket::sendAll(fd,
                        "{\"id\":1,\"op\":\"nope\"}\n\n{\"id\":2,\"op\":\"key\",\"args\":{}}\n");
    EXPECT_EQ(readLine(), R"({"error":"unknown op nope","id":1})");
    EXPECT_EQ(readLine().rfind(R"({"error":"bad arguments for key: )", 0), 0u);
    UnixSocket::sendAll(fd, "{\"id\":3,\"op\":\"displays\"}\r\n");
    EXPECT_EQ(JSONNode::parse(readLine())["id"], 3);
    UnixSocket::sendAll(fd, std::string(2 << 20, 'x'));
    EXPECT_EQ(readLine(), R"({"error":"line too long"})");
    // Then the server closes: the stream ends, or the connection is reset when part of the line
    // was still unread in the server's buffer as it closed, which depends on how far it had read
    // by then.
    char c;
    const auto end = ::recv(fd, &c, 1, 0);
    const int error = end < 0 ? errno : 0;
    EXPECT_TRUE(end == 0 || error == ECONNRESET) << end << ": " << std::strerror(error);
    ::close(fd);

    const int half = UnixSocket::connect(desktop.socketPath());
    UnixSocket::sendAll(half, R"({"id":1,"op":"registerClient","args":{"na)");
    ::close(half);
    EXPECT_EQ(desktop.run({"displays"}).status, 0);
    EXPECT_TRUE(desktop.server().isRunning());
    EXPECT_TRUE(desktop.lines({"apps"}).empty());
}

TEST_F(ServerProcessTest, AScreenshotIsAPictureOfTheWholeDesktop) {
    FixtureProcess fixture(desktop);
    fixture.openWindow(FixtureQuirk::plain, CGRect(100, 100, 600, 400));
    EXPECT_EQ(desktop.run({"pointer", "300", "200"}).status, 0);
    const auto path = (std::filesystem::path(desktop.socketPath()).parent_path() / "shot.png");
    ASSERT_EQ(desktop.run({"screenshot", path.string()}).status, 0);
    std::ifstream file(path, std::ios::binary);
    std::string header(24, '\0');
    file.read(header.data(), 24);
    EXPECT_EQ(header.substr(0, 8), "\x89PNG\r\n\x1a\n");
    auto bigEndian = [&](std::size_t at) {
        return (std::uint32_t(std::uint8_t(header[at])) << 24) |
               (std::uint32_t(std::uint8_t(header[at + 1])) << 16) |
               (std::uint32_t(std::uint8_t(header[at + 2])) << 8) | std::uint8_t(header[at + 3]);
    };
    EXPECT_EQ(bigEndian(16), 1440u);
    EXPECT_EQ(bigEndian(20), 900u);
    EXPECT_EQ(desktop.run({"screenshot", "/nonexistent-folder/x.png"}).status, 1);
}

TEST_F(ServerProcessTest, PointerClickActivateHideAndTrust) {
    FixtureProcess fixture(desktop);
    fixture.openWindow(FixtureQuirk::plain, CGRect(100, 100, 400, 300));
    Manager manager(desktop);
    EXPECT_EQ(desktop.run({"pointer", "300", "200"}).status, 0);
    EXPECT_EQ(manager.connection->pointerLocation(), (CGPoint{300, 200}));
    EXPECT_FALSE(*fixture.request(kelvo::FixtureRequest::list()).appActive);
    EXPECT_EQ(desktop.run({"click", "150", "150", "--mods", "alt+shift"}).status, 0);
    EXPECT_TRUE(*fixture.request(kelvo::FixtureRequest::list()).appActive);
    EXPECT_EQ(manager.connection->modifierFlags(),
              kCGEventFlagMaskAlternate | kCGEventFlagMaskShift);
    // A drag ends where it was asked to, with the button up.
    EXPECT_EQ(desktop.run({"drag", "150", "150", "250", "180"}).status, 0);
    EXPECT_EQ(manager.connection->pointerLocation(), (CGPoint{250, 180}));
    EXPECT_EQ(manager.connection->pressedMouseButtons(), 0u);
    EXPECT_EQ(desktop.run({"drag", "150", "150"}).status, 2);

    EXPECT_EQ(desktop.run({"activate", std::to_string(manager.pid)}).status, 0);
    EXPECT_FALSE(*fixture.request(kelvo::FixtureRequest::list()).appActive);
    EXPECT_EQ(desktop.run({"activate", std::to_string(fixture.process().pid())}).status, 0);
    EXPECT_TRUE(*fixture.request(kelvo::FixtureRequest::list()).appActive);

    // Hidden and shown from outside, as a person does with the application's menu or the Dock.
    const std::string fixturePid = std::to_string(fixture.process().pid());
    EXPECT_EQ(desktop.run({"hide", fixturePid}).status, 0);
    EXPECT_TRUE(*fixture.request(kelvo::FixtureRequest::list()).appHidden);
    EXPECT_EQ(desktop.run({"unhide", fixturePid}).status, 0);
    EXPECT_FALSE(*fixture.request(kelvo::FixtureRequest::list()).appHidden);

    EXPECT_TRUE(manager.connection->isTrusted());
    EXPECT_EQ(desktop.run({"trust", "no"}).status, 0);
    EXPECT_FALSE(manager.connection->isTrusted());
    EXPECT_EQ(desktop.run({"trust", "yes"}).status, 0);
    EXPECT_TRUE(manager.connection->isTrusted());
}

// What the command line does to the way applications come to the front: one that declines
// stays back whichever way another process asks, until a person brings it; another follows
// the next activation of one on request, as a person clicking it right then.
TEST_F(ServerProcessTest, AnApplicationDeclinesActivationsOrFollowsOneOnRequest) {
    FixtureProcess fixture(desktop);
    fixture.openWindow(FixtureQuirk::plain, CGRect(100, 100, 400, 300));
    const Pid pid = fixture.process().pid();
    const std::string fixturePid = std::to_string(pid);
    Manager manager(desktop);
    const auto active = [&] { return *fixture.request(kelvo::FixtureRequest::list()).appActive; };

    ASSERT_EQ(desktop.run({"decline-activation", fixturePid, "yes"}).status, 0);
    EXPECT_FALSE(manager.connection->activateApplication(pid, false));
    manager.connection->setAttribute(manager.connection->applicationElement(pid), "AXFrontmost",
                                     true, 0.25);
    EXPECT_FALSE(active());
    ASSERT_EQ(desktop.run({"activate", fixturePid}).status, 0);
    EXPECT_TRUE(active()) << "a person brings it forward";
    ASSERT_EQ(desktop.run({"activate", std::to_string(manager.pid)}).status, 0);
    ASSERT_EQ(desktop.run({"decline-activation", fixturePid, "no"}).status, 0);
    EXPECT_TRUE(manager.connection->activateApplication(pid, false));
    EXPECT_TRUE(active());

    ASSERT_EQ(desktop.run({"activate", std::to_string(manager.pid), "--after", fixturePid}).status,
              0);
    manager.connection->activateApplication(pid, false);
    EXPECT_EQ(manager.connection->frontmostApplication(), manager.pid) << "did not follow";
    manager.connection->activateApplication(pid, false);
    EXPECT_EQ(manager.connection->frontmostApplication(), pid) << "followed more than once";

    EXPECT_EQ(desktop.run({"decline-activation", fixturePid}).status, 2);
    EXPECT_EQ(desktop.run({"decline-activation", fixturePid, "maybe"}).status, 2);
    EXPECT_EQ(desktop.run({"activate", fixturePid, "--before", fixturePid}).status, 2);
    EXPECT_EQ(desktop.run({"decline-activation", "99999", "yes"}).status, 1);
    EXPECT_EQ(desktop.run({"activate", fixturePid, "--after", "99999"}).status, 1);
}

TEST_F(ServerProcessTest, TheBootTimeIsTheMachinesUnlessAnotherIsGiven) {
    DesktopProcess rebooted(KELVO_SIM_PROGRAM, {"--boot-time", "1700000000", "--untrusted"});
    Manager later(rebooted);
    EXPECT_EQ(later.connection->bootTime(), 1700000000);
    EXPECT_FALSE(later.connection->isTrusted());

    Manager manager(desktop);
    std::ifstream stat("/proc/stat");
    double machine = 0;
    for (std::string key; stat >> key;) {
        if (key == "btime") {
            stat >> machine;
            break;
        }
    }
    ASSERT_GT(machine, 0);
    EXPECT_NEAR(manager.connection->bootTime(), machine, 2.0);
}

TEST_F(ServerProcessTest, PreferencesWrittenByOneClientAreReadByAnother) {
    Manager writer(desktop);
    Manager reader(desktop);
    const auto dock = "com.apple.dock";
    writer.connection->writePreference(dock, "autohide-time-modifier",
                                       PreferenceData::makeReal(0.5));
    EXPECT_TRUE(writer.connection->synchronizePreferences(dock));
    EXPECT_EQ(reader.connection->copyPreference(dock, "autohide-time-modifier"),
              PreferenceData::makeReal(0.5));
    reader.connection->writePreference(dock, "autohide-time-modifier", std::nullopt);
    EXPECT_EQ(writer.connection->copyPreference(dock, "autohide-time-modifier"), std::nullopt);
}

TEST_F(ServerProcessTest, ASinkThatAsksTheDesktopBackIsAnswered) {
    // A workspace notice asks about its application while the reader must read the reply.
    auto connection = std::make_shared<SocketConnection>(desktop.socketPath());
    std::mutex mutex;
    std::condition_variable answered;
    std::optional<std::string> launchedName;
    connection->setEventSink([&](const DesktopEvent& event) {
        const auto* notice = std::get_if<WorkspaceNotification>(&event);
        if (!notice || notice->kind != WorkspaceNotification::Kind::launched) return;
        const auto app = connection->application(notice->pid);
        std::lock_guard lock(mutex);
        launchedName = app ? app->name : "none";
        answered.notify_all();
    });
    ApplicationSpec self;
    self.name = "Watcher";
    connection->registerClient(self);
    std::unique_lock lock(mutex);
    ASSERT_TRUE(answered.wait_for(lock, std::chrono::seconds(20),
                                  [&] { return launchedName.has_value(); }));
    EXPECT_EQ(*launchedName, "Watcher");
    lock.unlock();
    connection->setEventSink(nullptr);
}

TEST_F(ServerProcessTest, RunningApplicationsAreAskedForOnceAndAgainOnlyAfterWorkspaceNews) {
    auto connection = std::make_shared<SocketConnection>(desktop.socketPath());
    ApplicationSpec self;
    self.bundleID = "com.example.counted";
    const Pid pid = connection->registerClient(self);
    // Each count is a request too, and comes after every news pushed before it.
    const auto served = [&] { return connection->client().requestsServed(pid); };

    std::uint64_t before = served();
    EXPECT_EQ(connection->runningApplications().size(), 1u);
    EXPECT_EQ(connection->runningApplications().size(), 1u);
    EXPECT_EQ(connection->application(pid)->bundleID, "com.example.counted");
    EXPECT_EQ(served() - before, 2u) << "one list, then this count";

    auto other = std::make_shared<SocketConnection>(desktop.socketPath());
    ApplicationSpec second;
    second.bundleID = "com.example.other";
    const Pid otherPid = other->registerClient(second);
    before = served();
    ASSERT_EQ(connection->runningApplications().size(), 2u) << "the launch made the list stale";
    connection->hideApplication(otherPid);
    EXPECT_TRUE(connection->application(otherPid)->hidden)
        << "the hide's news came before its reply";
    EXPECT_EQ(served() - before, 4u) << "list, hide, list, count";

    other.reset();
    ASSERT_TRUE(eventually([&] { return connection->runningApplications().size() == 1; }));
    const auto gone = connection->application(otherPid);
    ASSERT_TRUE(gone.has_value()) << "a departed application is still known";
    EXPECT_TRUE(gone->terminated);
    EXPECT_EQ(gone->bundleID, "com.example.other");
}

TEST_F(ServerProcessTest, TheQuestionWhetherTheDesktopIsThereIsAnsweredAndNotCounted) {
    auto connection = std::make_shared<SocketConnection>(desktop.socketPath());
    const Pid pid = connection->registerClient(ApplicationSpec{});
    const std::uint64_t before = connection->client().requestsServed(pid);
    EXPECT_EQ(connection->lines().call("ping"), JSONValue::object());
    EXPECT_EQ(connection->client().requestsServed(pid) - before, 1u) << "this count alone";
}

TEST_F(ServerProcessTest, TheDisplaysAreAskedForOnceWhileTheyStayTheSame) {
    auto connection = std::make_shared<SocketConnection>(desktop.socketPath());
    const Pid pid = connection->registerClient(ApplicationSpec{});
    const std::uint64_t before = connection->client().requestsServed(pid);
    const auto first = connection->displays();
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(connection->displays().front().frame, first.front().frame);
    EXPECT_EQ(connection->client().requestsServed(pid) - before, 2u) << "one list, then this count";
}

TEST_F(ServerProcessTest, AnAlertOfAClientIsAnsweredWithTheButtonTheCommandLinePresses) {
    Manager manager(desktop);
    const AlertSpec alert{
        "Kelvo needs Accessibility access", "Click Continue → then Done.", {"Continue", "Quit"}};
    ASSERT_EQ(desktop.run({"answer-alerts", "Quit"}).status, 0);
    EXPECT_EQ(manager.connection->runAlert(alert), 1001);
    EXPECT_EQ(manager.connection->runAlert(alert), 1000);
    const auto shown = jsonLines({"alerts"});
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(JSONNode(shown[0]).decode<AlertRecord>(), (AlertRecord{manager.pid, alert, 1001}));
    EXPECT_EQ(shown[1]["answer"], 1000);
}

TEST_F(ServerProcessTest, ASlowOrHungApplicationAnswersLateWhileEveryoneElseIsServed) {
    using Seconds = std::chrono::duration<double>;
    FixtureProcess fixture(desktop);
    fixture.openWindow(FixtureQuirk::plain, CGRect(100, 100, 400, 300));
    const std::string fixturePid = std::to_string(fixture.process().pid());
    Manager manager(desktop);
    const ElementID app = manager.connection->applicationElement(fixture.process().pid());
    const auto read = [&](double timeout) {
        const auto start = std::chrono::steady_clock::now();
        const AccessError error =
            manager.connection->copyAttribute(app, "AXWindows", timeout).error;
        return std::make_pair(error, Seconds(std::chrono::steady_clock::now() - start).count());
    };

    // Late, within the caller's timeout: answered when the answer comes.
    ASSERT_EQ(desktop.run({"slow", fixturePid, "0.5"}).status, 0);
    auto [error, took] = read(3.0);
    EXPECT_EQ(error, AccessError::success);
    EXPECT_GE(took, 0.5);
    // Later than the timeout: the call fails when the timeout runs out.
    std::tie(error, took) = read(0.25);
    EXPECT_EQ(error, AccessError::cannotComplete);
    EXPECT_GE(took, 0.25);

    // Never: the call waits its whole timeout while the desktop serves every other client.
    Manager other(desktop);
    ASSERT_EQ(desktop.run({"hang", fixturePid}).status, 0);
    auto held = std::async(std::launch::async, [&] { return read(4.0); });
    EXPECT_EQ(other.connection->displays().size(), 1u);
    EXPECT_FALSE(other.connection->windowList(0, 0).empty());
    EXPECT_TRUE(fixture.request(kelvo::FixtureRequest::list()).ok);
    EXPECT_EQ(held.wait_for(std::chrono::seconds(0)), std::future_status::timeout);
    std::tie(error, took) = held.get();
    EXPECT_EQ(error, AccessError::cannotComplete);
    EXPECT_GE(took, 4.0);

    ASSERT_EQ(desktop.run({"unhang", fixturePid}).status, 0);
    std::tie(error, took) = read(0.25);
    EXPECT_EQ(error, AccessError::success);

    EXPECT_EQ(desktop.run({"slow", fixturePid, "-1"}).status, 2);
    EXPECT_EQ(desktop.run({"slow", fixturePid}).status, 2);
    EXPECT_EQ(desktop.run({"hang", "99999"}).status, 1);
    EXPECT_EQ(desktop.run({"slow", "99999", "1"}).status, 1);
}

TEST_F(ServerProcessTest, CommandLineMistakesAreToldWithTheirStatus) {
    EXPECT_EQ(desktop.run({}).status, 2);
    EXPECT_EQ(desktop.run({"frobnicate"}).status, 2);
    EXPECT_EQ(desktop.run({"key", "alt+nothing"}).status, 2);
    EXPECT_EQ(desktop.run({"key"}).status, 2);
    EXPECT_EQ(desktop.run({"click", "1"}).status, 2);
    EXPECT_EQ(desktop.run({"click", "1", "x"}).status, 2);
    EXPECT_EQ(desktop.run({"trust", "maybe"}).status, 2);
    EXPECT_EQ(desktop.run({"answer-alerts"}).status, 2);
    EXPECT_EQ(desktop.run({"alerts", "now"}).status, 2);
    EXPECT_EQ(desktop.run({"activate", "99999"}).status, 1);
    EXPECT_EQ(desktop.run({"hide", "99999"}).status, 1);
    EXPECT_EQ(desktop.run({"unhide"}).status, 2);
    EXPECT_EQ(desktop.run({"serve", "--display", "10x10"}).status, 2);
    EXPECT_EQ(desktop.run({"help"}).status, 0);
    // Nothing serves at the path the environment names.
    ChildProcess lost({KELVO_SIM_PROGRAM, "windows"},
                      {{"KELVO_SIM_SOCKET", desktop.socketPath() + ".missing"}});
    EXPECT_EQ(lost.waitForExit(), 1);
    // A second server on a path that is served is refused and leaves the first alone.
    ChildProcess second({KELVO_SIM_PROGRAM, "serve", "--socket", desktop.socketPath()});
    EXPECT_EQ(second.waitForExit(), 1);
    EXPECT_EQ(desktop.run({"windows"}).status, 0);
}

}  // namespace
}  // namespace sim::testing
