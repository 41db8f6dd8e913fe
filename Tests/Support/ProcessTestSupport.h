#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "Base/JSON/JSONDecoder.h"
#include "KelvoCore/Wire/FixtureReply.h"
#include "KelvoCore/Wire/FixtureRequest.h"
#include "KelvoCore/Wire/WireLine.h"
#include "Simulator/Server/DesktopMessages.h"
#include "Simulator/Server/SocketConnection.h"
#include "Support/ChildProcess.h"
#include "Support/DesktopProcess.h"

namespace sim::testing {

using kelvo::testing::ChildProcess;
using kelvo::testing::DesktopProcess;
using kelvo::testing::eventually;

/// A fixture application as a process, spoken to over its standard input and output.
class FixtureProcess {
  public:
    FixtureProcess(const DesktopProcess& desktop, std::vector<std::string> arguments = {}) {
        arguments.insert(arguments.begin(), KELVO_FIXTURE_PROGRAM);
        process_ = std::make_unique<ChildProcess>(arguments, desktop.environment());
    }

    ChildProcess& process() { return *process_; }

    /// The reply to one request (a failure reply when none came).
    kelvo::FixtureReply request(const kelvo::FixtureRequest& request) {
        return send(*kelvo::WireLine::encode(request));
    }
    kelvo::FixtureReply send(const std::string& line) {
        process_->writeLine(line);
        const auto reply = process_->readLine();
        if (!reply) return kelvo::FixtureReply::failure("no reply");
        auto decoded = kelvo::WireLine::decode<kelvo::FixtureReply>(*reply);
        return decoded ? *decoded : kelvo::FixtureReply::failure("unreadable reply: " + *reply);
    }
    kelvo::FixtureRequest open(kelvo::FixtureQuirk quirk, CGRect frame) {
        kelvo::FixtureRequest r;
        r.op = "open";
        r.quirk = quirk;
        r.title = kelvo::rawValue(quirk);
        r.x = frame.origin.x;
        r.y = frame.origin.y;
        r.width = frame.size.width;
        r.height = frame.size.height;
        return r;
    }
    /// Opens a window and gives its number (0 when the fixture refused).
    WindowNumber openWindow(kelvo::FixtureQuirk quirk, CGRect frame) {
        return request(open(quirk, frame)).window.value_or(0);
    }
    std::optional<kelvo::FixtureWindowReport> report(WindowNumber number) {
        const auto reply = request(kelvo::FixtureRequest::list());
        for (const auto& window : reply.windows.value_or(std::vector<kelvo::FixtureWindowReport>{}))
            if (window.number == number) return window;
        return std::nullopt;
    }

  private:
    std::unique_ptr<ChildProcess> process_;
};

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
