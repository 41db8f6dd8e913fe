#include <signal.h>

#include <filesystem>

#include "KelvoCore/Keys/Command.h"
#include "Support/EndToEnd/EndToEndTest.h"
#include "Support/KelvoAX/LogMessages.h"

namespace kelvo::testing {
namespace {

// SIGTERM and SIGINT that arrive while Kelvo starts are neither fatal nor lost: they wait
// until start-up has its windows in a known state, then every window is put back and the
// process ends with status 0.
class StartupSignalTest : public EndToEndTest {
  protected:
    /// A session that left desktop 2 showing, so that the next start-up parks desktop 1.
    std::vector<std::uint32_t> sessionOnDesktopTwo() {
        const std::vector<std::uint32_t> all = {open(notes, CGRect(100, 100, 700, 500)),
                                                open(notes, CGRect(200, 150, 600, 400)),
                                                open(browser, CGRect(400, 200, 800, 600))};
        auto& k = startKelvo();
        EXPECT_TRUE(settled(all));
        EXPECT_TRUE(k.command(Command::throwTo(2)).ok);
        EXPECT_TRUE(k.command(Command::switchTo(2)).ok);
        EXPECT_TRUE(eventuallyState(all, [](const KelvoTestReply& r) {
            return r.activeDesktop == 2 && r.description->find("parked=[]") == std::string::npos;
        }));
        EXPECT_TRUE(settled(all));
        EXPECT_EQ(k.quit(), 0);
        EXPECT_TRUE(everyWindowOnADisplay());
        return all;
    }

    /// Starts Kelvo on the saved session, sends `signal` once the new run has logged a line
    /// holding `moment`, and checks how the run ended.
    void signalDuringStartUp(int signal, const std::string& moment) {
        const std::size_t from = kelvo::testing::logMessages(kelvoFolder() / "kelvo.log").size();
        KelvoProcess::Options options;
        options.desktop = desktop().environment();
        options.testFolder = kelvoFolder();
        auto k = launchKelvo(options);
        ASSERT_TRUE(k->waitForLog(moment, from)) << moment;
        k->process().signal(signal);
        EXPECT_EQ(k->process().waitForExit(), 0) << "signal " << signal << " at " << moment;
        EXPECT_TRUE(k->waitForLine(
            "signal " + std::to_string(signal) + " - every parked window put back", from))
            << "signal " << signal << " at " << moment;
        EXPECT_TRUE(everyWindowOnADisplay()) << "signal " << signal << " at " << moment;
    }
};

TEST_F(StartupSignalTest, ASignalDuringStartUpPutsEveryWindowBackAndEndsWithStatusZero) {
    sessionOnDesktopTwo();
    for (int signal : {SIGTERM, SIGINT}) {
        // As soon as the run writes its log, and once it has adopted the windows and shown
        // desktop 2 again, with desktop 1's windows parked.
        signalDuringStartUp(signal, "");
        signalDuringStartUp(signal, "existing window(s) at launch");
    }
}

}  // namespace
}  // namespace kelvo::testing
