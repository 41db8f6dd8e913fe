#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>

#include "Base/JSON/JSONDecoder.h"
#include "Simulator/Desktop.h"
#include "Simulator/Server/DesktopMessages.h"

namespace sim {

/// A request that could not be carried out; its text is the reply's `error`.
class RequestFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// One client of the server as the desktop knows it, and the applications it registered (the
/// only ones whose windows it may open, move and close).
struct ServedClient {
    ClientID desktopClient = 0;
    std::set<Pid> pids;
    /// The client's process, as the kernel saw it connect; none when it could not tell.
    std::optional<Pid> processPid;
};

/// Carries out the requests of the desktop's socket (the operations of DesktopOperations.def)
/// on one desktop, for one client at a time. It keeps no state of its own: what a client made
/// is recorded in its `ServedClient`.
class DesktopService {
  public:
    explicit DesktopService(std::shared_ptr<Desktop> desktop);

    const std::shared_ptr<Desktop>& desktop() const { return desktop_; }

    /// Called (on the thread that handles the request) once a "shutdown" has been answered.
    void setShutdownHandler(std::function<void()> handler) { shutdown_ = std::move(handler); }

    /// The request's result. Throws RequestFailure for an unknown op, arguments of the wrong
    /// shape, or an operation on something that is not the client's.
    kelvo::JSONValue handle(ServedClient& client, const DesktopRequest& request);
    /// How long the request waits for the application it asks (an Accessibility call on one
    /// that answers late, up to the call's messaging timeout), after which the server carries
    /// it out and answers; 0 for a request nothing makes wait.
    double answerWait(const DesktopRequest& request) const;
    /// What a "shutdown" reply is followed by.
    void requestShutdown() const;

    /// Everything a client made goes: its taps (an event waiting for one of them moves on at
    /// once), its applications (terminated, their windows closed), its observers.
    /// Leaving twice does nothing more.
    void leave(ServedClient& client);

    /// The requests answered so far for the client that registered `pid` (0 for none).
    std::uint64_t requestsServed(Pid pid) const;

    struct Call {
        DesktopService& service;
        ServedClient& client;
        const kelvo::JSONNode& args;
        const std::shared_ptr<Desktop>& desktop() const { return service.desktop_; }
    };
    /// Decodes a request's arguments, carries the operation out and encodes what it returned.
    using Operation = kelvo::JSONValue (*)(const Call&);

  private:
    static const std::map<std::string, Operation, std::less<>>& operations();

    std::shared_ptr<Desktop> desktop_;
    std::function<void()> shutdown_;
    /// By the first application the client registered; requests come one at a time.
    std::map<Pid, std::uint64_t> requestsServed_;
};

}  // namespace sim
