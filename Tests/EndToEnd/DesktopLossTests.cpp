#include <gmock/gmock.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "KelvoCore/Keys/Command.h"
#include "KelvoCore/Wire/WireLine.h"
#include "Simulator/Server/SocketConnection.h"
#include "Simulator/Server/UnixSocket.h"
#include "Support/EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

using namespace std::chrono_literals;

// The desktop Kelvo manages can go away (killed), never answer (a socket nobody serves) or
// stop answering for a while (stopped): each ends Kelvo with status 4 and one line saying why,
// within the connection deadline (three deadlines while Kelvo has nothing to ask), never a
// process that hangs on.
class DesktopLossTest : public EndToEndTest {
  protected:
    /// Desktop 1's windows parked behind desktop 2, so that a lost desktop would strand them.
    void parkDesktopOne(const std::vector<std::uint32_t>& all) {
        ASSERT_TRUE(settled(all));
        ASSERT_TRUE(kelvo().command(Command::throwTo(2)).ok);
        ASSERT_TRUE(kelvo().command(Command::switchTo(2)).ok);
        ASSERT_TRUE(eventuallyState(all, [](const KelvoTestReply& r) {
            return r.activeDesktop == 2 && r.description->find("parked=[]") == std::string::npos;
        }));
    }
    /// Waits until Kelvo has asked the desktop nothing for `spell`: the count of its requests
    /// stays the same from one look to the next. False when it never fell quiet in the bound.
    bool kelvoFellQuiet(std::chrono::milliseconds spell) {
        sim::SocketConnection watcher(desktop().socketPath());
        const auto served = [&] { return watcher.client().requestsServed(kelvo().pid()); };
        const auto giveUp = std::chrono::steady_clock::now() + 30s;
        auto count = served();
        auto since = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - since < spell) {
            if (std::chrono::steady_clock::now() > giveUp) return false;
            std::this_thread::sleep_for(100ms);
            // The look itself is a request of the watcher's, not Kelvo's.
            if (const auto now = served(); now != count) {
                count = now;
                since = std::chrono::steady_clock::now();
            }
        }
        return true;
    }
};

TEST_F(DesktopLossTest, AKilledDesktopEndsKelvoWithStatusFourAndSaysSo) {
    const std::vector<std::uint32_t> all = {open(notes, CGRect(100, 100, 700, 500)),
                                            open(browser, CGRect(400, 200, 800, 600))};
    auto& k = startKelvo();
    parkDesktopOne(all);
    desktop().server().signal(SIGKILL);
    EXPECT_EQ(k.process().waitForExit(), 4);
    EXPECT_EQ(k.standardError(),
              "kelvo: the desktop went away: the desktop closed the connection\n");
    EXPECT_TRUE(k.waitForLine("the desktop went away: the desktop closed the connection"));
}

TEST_F(DesktopLossTest, AMuteDesktopEndsStartUpWithinTheDeadline) {
    // Something listens where the desktop should be, and never takes a request.
    const std::string mute = (kelvoFolder().parent_path() / "mute.sock").string();
    const int listener = sim::UnixSocket::listen(mute);
    KelvoProcess::Options options;
    options.desktop = {{"KELVO_SIM_SOCKET", mute}};
    options.testFolder = kelvoFolder();
    options.environment = {{"KELVO_SIM_DEADLINE", "0.5"}};
    auto k = launchKelvo(options);
    EXPECT_EQ(k->process().waitForExit(), 4);
    EXPECT_EQ(k->standardError(),
              "kelvo: no desktop to manage: the desktop did not answer within 0.5 s\n");
    ::close(listener);
    ::unlink(mute.c_str());
}

TEST_F(DesktopLossTest, ADesktopThatStopsAnsweringIsLostWithinTheDeadline) {
    const std::vector<std::uint32_t> all = {open(notes, CGRect(100, 100, 700, 500)),
                                            open(browser, CGRect(400, 200, 800, 600))};
    auto& k = startKelvo({{"KELVO_SIM_DEADLINE", "1"}});
    ASSERT_TRUE(settled(all));
    const auto stopped = std::chrono::steady_clock::now();
    desktop().server().signal(SIGSTOP);
    // A switch asks the desktop to move windows; a ping behind it is answered once those
    // calls have failed, or the process has ended for want of a desktop.
    ASSERT_TRUE(k.process().writeLine(
        *WireLine::encode(KelvoTestRequest::commandRequest(Command::switchTo(2)))));
    ASSERT_TRUE(k.process().writeLine(*WireLine::encode(KelvoTestRequest::ping())));
    const auto status = k.process().waitForExit(15s);
    const auto waited = std::chrono::steady_clock::now() - stopped;
    desktop().server().signal(SIGCONT);
    EXPECT_EQ(status, 4);
    EXPECT_LT(waited, 10s);
    // The switch's calls fail a deadline after they were sent; should Kelvo take longer than
    // that to send them on a busy machine, the watch on its silent connection tells first.
    EXPECT_THAT(k.standardError(),
                ::testing::MatchesRegex("kelvo: the desktop went away: the desktop did not "
                                        "answer within [12] s\n"));
}

TEST_F(DesktopLossTest, AStoppedDesktopIsNoticedWhileKelvoHasNothingToAsk) {
    const std::vector<std::uint32_t> all = {open(notes, CGRect(100, 100, 700, 500)),
                                            open(browser, CGRect(400, 200, 800, 600))};
    auto& k = startKelvo({{"KELVO_SIM_DEADLINE", "1"}});
    parkDesktopOne(all);
    ASSERT_TRUE(kelvoFellQuiet(2s));
    const auto stopped = std::chrono::steady_clock::now();
    desktop().server().signal(SIGSTOP);
    const auto status = k.process().waitForExit(30s);
    const auto waited = std::chrono::steady_clock::now() - stopped;
    desktop().server().signal(SIGCONT);
    EXPECT_EQ(status, 4);
    // Asked after a second of silence, and silent for two more.
    EXPECT_LT(waited, 15s);
    EXPECT_EQ(k.standardError(),
              "kelvo: the desktop went away: the desktop did not answer within 2 s\n");
    EXPECT_TRUE(k.waitForLine("the desktop went away: the desktop did not answer within 2 s"));
}

TEST_F(DesktopLossTest, AnApplicationThatNeverAnswersIsNoStoppedDesktop) {
    static constexpr const char* hung = "com.example.hung";
    const auto window = open(hung, CGRect(100, 100, 700, 500));
    auto& k = startKelvo({{"KELVO_SIM_DEADLINE", "1"}});
    ASSERT_TRUE(settled({window}));
    ASSERT_EQ(desktop().run({"hang", std::to_string(pidOf(hung))}).status, 0);
    // Its window is parked: every call on it goes unanswered; then nothing is left to ask.
    ASSERT_TRUE(kelvo().command(Command::switchTo(2)).ok);
    EXPECT_EQ(k.process().waitForExit(6s), std::nullopt) << "twice as long as a stop takes";
    EXPECT_TRUE(kelvo().ping().ok);
    ASSERT_EQ(desktop().run({"unhang", std::to_string(pidOf(hung))}).status, 0);
    EXPECT_EQ(kelvo().quit(), 0);
}

}  // namespace
}  // namespace kelvo::testing
