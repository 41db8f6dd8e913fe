#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "Base/JSON/JSONDecoder.h"
#include "Simulator/Server/DesktopMessages.h"
#include "Simulator/Server/SocketConnection.h"
#include "Support/Base/ChildProcess.h"
#include "Support/Simulator/DesktopProcess.h"

namespace sim::testing {

using kelvo::testing::DesktopProcess;
using kelvo::testing::eventually;

/// This test process as a client of the desktop, the way a window manager reaches it.
class Manager {
  public:
    explicit Manager(const DesktopProcess& desktop)
        : connection(std::make_shared<SocketConnection>(desktop.socketPath())) {
        connection->setEventSink([this](const DesktopEvent& event) {
            // Runs on the connection's delivery thread: an answer is posted, never waited for.
            if (const auto* delivery = std::get_if<TapEventDelivery>(&event);
                delivery && delivery->delivery != 0 && tapPolicy) {
                if (auto answer = tapPolicy(*delivery)) connection->answerTapEvent(*answer);
            }
            std::lock_guard lock(mutex);
            events.push_back(event);
        });
        ApplicationSpec self;
        self.bundleID = "com.example.manager";
        self.name = "Manager";
        self.activationPolicy = ActivationPolicy::accessory;
        pid = connection->registerClient(self);
    }

    std::vector<DesktopEvent> takeEvents() {
        std::lock_guard lock(mutex);
        return std::exchange(events, {});
    }
    template <class Predicate>
    std::optional<DesktopEvent> waitForEvent(Predicate predicate) {
        std::optional<DesktopEvent> found;
        eventually([&] {
            std::lock_guard lock(mutex);
            for (auto it = events.begin(); it != events.end(); ++it) {
                if (predicate(*it)) {
                    found = *it;
                    events.erase(it);
                    return true;
                }
            }
            return false;
        });
        return found;
    }
    std::optional<WindowInfo> window(WindowNumber number) {
        const auto windows = kelvo::JSONNode(connection->lines().call("windows"))
                                 .decode<std::vector<WindowInfo>>("windows");
        for (const auto& window : windows)
            if (window.number == number) return window;
        return std::nullopt;
    }

    /// How the manager's taps answer; none leaves the event unanswered. Set before a tap is
    /// made.
    std::function<std::optional<TapAnswer>(const TapEventDelivery&)> tapPolicy;
    std::mutex mutex;
    std::vector<DesktopEvent> events;
    Pid pid = 0;
    /// Last, so that it goes first: its reader thread stops before the events it records go.
    std::shared_ptr<SocketConnection> connection;
};

}  // namespace sim::testing
