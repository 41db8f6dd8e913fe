#pragma once

#include <functional>
#include <memory>

#include "Simulator/DesktopConnection.h"

namespace sim {

/// The connection every stand-in of the process talks through, and the router that hands its
/// events to the stand-in that asked for them. Like the process clock, it is installed once
/// (by the program at start, by a test fixture per test); until then every call fails.
class SharedConnection {
  public:
    /// The stand-ins that take events, one receiver each.
    enum class Topic { observers, workspace, screens, taps, application, interface, input };
    using Handler = std::function<void(const DesktopEvent&)>;

    /// The connection in force (a disconnected one when none is installed).
    static std::shared_ptr<DesktopConnection> current();
    /// Makes `connection` the one in force and points its event sink at the router; null
    /// puts the disconnected one back.
    static void install(std::shared_ptr<DesktopConnection> connection);
    /// The stand-in's receiver of one topic's events; replaces an earlier one.
    static void setHandler(Topic topic, Handler handler);
    /// Hands an event to its topic's receiver; events nobody receives are dropped.
    static void route(const DesktopEvent& event);

    static Topic topicOf(const DesktopEvent& event);
};

/// Tells the process's news (`News`) what the event says: an observer's notification is news
/// about its element, an application's end or a change of the displays news about everything.
/// A connection calls it as the event comes in, before handing on any reply behind it.
void reportNews(const DesktopEvent& event);

/// Identifiers that stay unique across every desktop of the process, so that a registration
/// left over from one desktop can never be mistaken for another's.
std::uint64_t nextProcessUniqueIdentifier();

}  // namespace sim
