#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoCore/Wire/FixtureQuirk.h"
#include "KelvoCore/Wire/KelvoTestWindowRecord.h"
#include "Support/Base/TemporaryFolder.h"
#include "Support/EndToEnd/KelvoProcess.h"
#include "Support/KelvoCore/WindowIDs.h"
#include "Support/Simulator/DesktopProcess.h"
#include "Support/Tools/FixtureProcess.h"

namespace kelvo::testing {

using sim::testing::about;

/// One window as `kelvo-sim windows` lists it.
struct DesktopWindow {
    std::uint32_t number = 0;
    int pid = 0;
    std::optional<std::string> bundleID;
    std::string title;
    CGRect frame;
    bool minimized = false;
    bool onScreen = true;
    int layer = 0;
};

/// One display as `kelvo-sim displays` lists it, in the top-left coordinates of window frames.
struct DesktopDisplay {
    std::uint32_t id = 0;
    CGRect frame;
    CGRect visibleFrame;
};

/// The folder that stands for a simulated machine's root (`kelvo-sim serve --root`): a base
/// class listed before `EndToEndTest`, so that it is made before the desktop that serves it.
struct MachineRoot {
    TemporaryFolder root;
};

/// The three kinds of process of an end-to-end test: a desktop (`kelvo-sim serve`, one
/// 1920×1080 display unless a test asks for others), fixture applications opened on demand by
/// bundle identifier, and Kelvo in test mode. Every process is ended by its pid when the test
/// ends; every wait polls with a generous bound.
class EndToEndTest : public ::testing::Test {
  protected:
    static constexpr const char* notes = "com.example.notes";
    static constexpr const char* browser = "com.example.browser";
    static constexpr const char* terminal = "com.example.terminal";
    /// Frames compare equal within this many points.
    static constexpr double tolerance = 1.0;
    static constexpr std::size_t lastLogLines = 15;

    explicit EndToEndTest(std::vector<std::string> serveArguments = {});
    /// After a failure, the end of Kelvo's log, to tell what it was doing.
    void TearDown() override;

    DesktopProcess& desktop() { return *desktop_; }
    /// Ends Kelvo, the fixture applications and the desktop, then starts a new desktop with
    /// these arguments (the defaults when empty): the machine restarted, a reboot when
    /// `--boot-time` differs. Kelvo's folder (configuration, session, log) stays.
    void restartDesktop(std::vector<std::string> serveArguments = {});

    /// The fixture application with this bundle identifier, started on first use.
    sim::testing::FixtureProcess& app(const std::string& bundleID);
    /// Opens a window of the application and waits until the desktop lists it; its number.
    std::uint32_t open(const std::string& bundleID, const CGRect& frame,
                       FixtureQuirk quirk = FixtureQuirk::plain, const std::string& title = "");
    /// Sends one request to an application's fixture (see `about`); the reply must be ok.
    void tell(const std::string& bundleID, FixtureRequest request);
    /// The process identifier of an application's fixture (started on first use).
    int pidOf(const std::string& bundleID) { return app(bundleID).process().pid(); }

    /// Starts Kelvo in test mode beside the desktop and waits for its first "ping" reply.
    KelvoProcess& startKelvo(std::map<std::string, std::string> environment = {});
    /// The same with another copy of the program (one inside an application bundle, say).
    KelvoProcess& startKelvoFrom(const std::filesystem::path& program);
    /// Starts Kelvo without waiting for anything (for the runs that end at start-up).
    std::unique_ptr<KelvoProcess> launchKelvo(const KelvoProcess::Options& options,
                                              const std::filesystem::path& program = {});
    KelvoProcess& kelvo() { return *kelvo_; }
    /// The folder Kelvo keeps its test-mode files in (configuration, session, log).
    std::filesystem::path kelvoFolder() const { return folder_ / "kelvo"; }
    void writeConfig(const std::string& json) const;

    std::vector<DesktopWindow> windows();
    std::optional<DesktopWindow> window(std::uint32_t number);
    /// The windows of one application, front to back.
    std::vector<DesktopWindow> windowsOf(const std::string& bundleID);
    /// The labels of Kelvo's visible interface elements, as `kelvo-sim ui` lists them.
    std::vector<std::string> interfaceLabels();
    /// One of Kelvo's visible interface elements has this label.
    bool interfaceShows(const std::string& label);
    std::vector<DesktopDisplay> displays();
    /// The bundle identifier of the active application, as `kelvo-sim apps` tells it; empty
    /// when none is active.
    std::string frontApplication();
    /// Presses a chord through `kelvo-sim key`; false when the verb failed.
    bool key(const std::string& chord);

    /// Kelvo's records of these windows, from a "state" request.
    std::vector<KelvoTestWindowRecord> records(const std::vector<std::uint32_t>& numbers);
    /// Where Kelvo's layout wants the window; a null rectangle when it has no tile.
    CGRect tile(std::uint32_t number);
    /// Two windows side by side: the one on the left and the one on the right (as given when
    /// Kelvo has no tile for one of them, which fails the test).
    std::pair<std::uint32_t, std::uint32_t> leftAndRight(std::uint32_t a, std::uint32_t b);
    /// Kelvo's state text, from a "state" request.
    std::string description() { return kelvo_->state().description.value_or(""); }
    /// A window's name in Kelvo's log lines: "win#", its number, a blank and its
    /// application's bundle identifier ("?" before Kelvo knows it).
    static std::string named(std::uint32_t number, const std::string& bundleID) {
        return "win#" + std::to_string(number) + " " + bundleID;
    }
    /// The visible frame of the first display: what a desktop's tiles share.
    CGRect screen() { return displays().at(0).visibleFrame; }
    /// Waits until every window Kelvo places on the active desktop stands on the desktop where
    /// its layout wants it, and the frames stop changing. False when that never happens.
    bool settled(const std::vector<std::uint32_t>& numbers);
    /// Waits until the "state" reply satisfies `condition`.
    template <class Condition>
    bool eventuallyState(const std::vector<std::uint32_t>& numbers, Condition condition) {
        bool held = false;
        eventually([&] {
            const auto reply = kelvo_->state(ids(numbers));
            held = reply.ok && condition(reply);
            return held || !kelvo_->responsive();
        });
        return held;
    }
    /// Every window's centre is on a display and none is minimized.
    bool everyWindowOnADisplay();
    /// Kelvo's frames of these windows lie inside the first display's visible frame, overlap
    /// nowhere and cover it whole.
    bool tilesFillTheScreen(const std::vector<std::uint32_t>& numbers);

    static bool near(const CGRect& a, const CGRect& b);

  private:
    KelvoProcess& startKelvoProcess(std::map<std::string, std::string> environment,
                                    const std::filesystem::path& program);
    static std::unique_ptr<DesktopProcess> startDesktop(std::vector<std::string> serveArguments);

    TemporaryFolder folder_;
    std::unique_ptr<DesktopProcess> desktop_;
    std::map<std::string, std::unique_ptr<sim::testing::FixtureProcess>> apps_;
    std::unique_ptr<KelvoProcess> kelvo_;
    /// Each run of Kelvo gets a home folder of its own.
    int launches_ = 0;
};

}  // namespace kelvo::testing
