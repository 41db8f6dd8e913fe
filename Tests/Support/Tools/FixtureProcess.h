#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KelvoCore/Wire/FixtureReply.h"
#include "KelvoCore/Wire/FixtureRequest.h"
#include "KelvoCore/Wire/WireLine.h"
#include "Simulator/DesktopValues.h"
#include "Support/Base/ChildProcess.h"
#include "Support/Simulator/DesktopProcess.h"

namespace sim::testing {

using kelvo::testing::ChildProcess;
using kelvo::testing::DesktopProcess;

/// A fixture application as a process, spoken to over its standard input and output. The suite
/// that uses it names the program: KELVO_FIXTURE_PROGRAM is the path of kelvo-fixture.
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

/// A fixture request with only an `op` and, when given, a window.
inline kelvo::FixtureRequest about(const std::string& op,
                                   std::optional<WindowNumber> window = std::nullopt) {
    kelvo::FixtureRequest request;
    request.op = op;
    request.window = window;
    return request;
}

}  // namespace sim::testing
