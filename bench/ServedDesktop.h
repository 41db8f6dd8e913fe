#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Base/Foundation/CGGeometry.h"
#include "Simulator/Desktop.h"
#include "Simulator/Server/DesktopClient.h"
#include "Simulator/Server/DesktopServer.h"
#include "Simulator/Server/LineClient.h"
#include "Support/Base/TemporaryFolder.h"

namespace kelvo::bench {

/// A desktop served in this process on a socket of its own, with this process registered on it
/// over that socket as the system registers itself: every picture of this process's windows
/// crosses the socket and is read and checked by the server, as the real program's are. Beside
/// it a person's client, which presses keys and clicks the way `kelvo-sim key`, `type` and
/// `click` do. This process's main loop runs only inside `runUntil` and `runFor`.
class ServedDesktop {
  public:
    using Clock = std::chrono::steady_clock;
    /// What the desktop holds of this process's windows: their element records, which arrive
    /// with the pictures in one message.
    using Holds = std::function<bool(const std::vector<sim::ElementRecord>&)>;

    /// How often the desktop is looked at while a step runs; the resolution of the figures.
    static constexpr std::chrono::microseconds lookGap{50};
    /// How long a step may take before it counts as lost.
    static constexpr std::chrono::seconds bound{20};

    explicit ServedDesktop(const CGRect& display = CGRect(0, 0, 1920, 1080));
    ~ServedDesktop();
    ServedDesktop(const ServedDesktop&) = delete;
    ServedDesktop& operator=(const ServedDesktop&) = delete;

    /// Runs this process's main loop while `act` runs on another thread and the desktop is
    /// watched from there, until what the desktop holds of this process meets `holds`; the time
    /// from just before `act` to the moment it was seen to hold, or none when it never did
    /// within the bound.
    std::optional<Clock::duration> runUntil(const std::function<void(sim::DesktopClient&)>& act,
                                            const Holds& holds);
    /// Types the last character of `query` as `kelvo-sim type` does, and runs until a text field
    /// of this process shows all of `query` at the desktop; the time it took, or none.
    std::optional<Clock::duration> typeLastOf(const std::string& query);
    /// Runs this process's main loop for `span`, so that the last step's leftovers are done.
    void runFor(Clock::duration span);

    /// The elements of this process's windows the desktop holds now.
    std::vector<sim::ElementRecord> elements() const { return desktop->elements(pid); }
    /// The frame on screen of the element with that identifier, once the desktop holds it.
    std::optional<CGRect> frameOf(const std::string& identifier) const;

    testing::TemporaryFolder folder;
    std::shared_ptr<sim::Desktop> desktop = std::make_shared<sim::Desktop>();
    std::unique_ptr<sim::DesktopServer> server;
    /// This process on the desktop.
    sim::Pid pid = 0;

  private:
    std::unique_ptr<sim::LineClient> personLines_;
    std::unique_ptr<sim::DesktopClient> person_;
};

/// Whether an element of that identifier is among the records.
bool holdsIdentifier(const std::vector<sim::ElementRecord>& records, const std::string& identifier);
/// The value of the first text field among the records; none when none has one.
std::optional<std::string> textFieldValue(const std::vector<sim::ElementRecord>& records);

}  // namespace kelvo::bench
