#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "KelvoCore/Wire/FixtureReply.h"
#include "KelvoCore/Wire/FixtureRequest.h"
#include "Simulator/DesktopEvent.h"
#include "Simulator/Server/SocketConnection.h"

namespace kelvo_fixture {

/// The fixture application: a client of the desktop that opens misbehaving windows on request
/// and reports on them. It runs on the main thread: requests come from `handle`, the desktop's
/// events from `receive`, and what it does later (a window that appears after a while, a quirk
/// reacting to its placement) runs on the main queue.
class FixtureApplication {
  public:
    struct Options {
        std::string bundleID = "com.kelvo.fixture";
        std::string name = "Fixture";
    };

    static constexpr double defaultX = 100, defaultY = 100, defaultWidth = 800, defaultHeight = 600;

    FixtureApplication(std::shared_ptr<sim::SocketConnection> connection, Options options);

    /// One request the application answers, as its help lists it.
    struct Operation {
        std::string_view name;
        /// The fields of the request it reads besides "op"; empty when none.
        std::string_view fields;
        std::string_view what;
        kelvo::FixtureReply (FixtureApplication::*answer)(const kelvo::FixtureRequest&);
    };
    /// Every operation, in the order the help lists them.
    static const std::vector<Operation>& operations();

    /// Registers with the desktop as this process and starts watching its own windows; false
    /// when the desktop is gone.
    bool start();
    kelvo::FixtureReply handle(const kelvo::FixtureRequest& request);

    /// Called when the desktop asks the application to end (a quit from outside).
    void setQuitHandler(std::function<void()> handler) { quit_ = std::move(handler); }

  private:
    struct OwnWindow {
        kelvo::FixtureQuirk quirk = kelvo::FixtureQuirk::plain;
        std::string title;
        bool appeared = false;
        bool placed = false;
        sim::ElementID element;
    };

    kelvo::FixtureReply ping(const kelvo::FixtureRequest& request);
    kelvo::FixtureReply quit(const kelvo::FixtureRequest& request);
    kelvo::FixtureReply open(const kelvo::FixtureRequest& request);
    kelvo::FixtureReply list(const kelvo::FixtureRequest& request);
    kelvo::FixtureReply close(const kelvo::FixtureRequest& request);
    kelvo::FixtureReply move(const kelvo::FixtureRequest& request);
    kelvo::FixtureReply minimize(const kelvo::FixtureRequest& request);
    kelvo::FixtureReply activate(const kelvo::FixtureRequest& request);
    kelvo::FixtureReply hide(const kelvo::FixtureRequest& request);

    /// On the connection's reader thread: tells the application's own moves apart from moves
    /// made from outside, then hands the event to the main queue.
    void deliver(const sim::DesktopEvent& event);
    void receive(const sim::DesktopEvent& event, bool ownDoing);
    void appear(sim::WindowNumber number, const CGRect& frame);
    void placed(sim::ElementID element);
    void react(sim::WindowNumber number);
    /// The request's window when it is one of ours that is open; none otherwise.
    std::optional<sim::WindowNumber> ownWindow(const kelvo::FixtureRequest& request,
                                               std::string* error);
    std::optional<sim::WindowNumber> numberOf(sim::ElementID element);
    /// Every window of the desktop as it is now (throws when the desktop refuses).
    std::vector<sim::WindowInfo> desktopWindows();
    /// Runs an operation of the desktop's socket, during which the window's own moves are not
    /// taken for a placement from outside.
    kelvo::JSONValue callItself(const std::string& op, kelvo::JSONValue args);

    std::shared_ptr<sim::SocketConnection> connection_;
    Options options_;
    sim::Pid pid_ = 0;
    sim::ElementID applicationElement_;
    std::map<sim::WindowNumber, OwnWindow> windows_;
    /// Set while the application moves its own windows; notifications that arrive meanwhile
    /// are its own doing (the desktop sends them before the reply).
    std::atomic<bool> movingItself_{false};
    std::function<void()> quit_;
};

}  // namespace kelvo_fixture
