#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "Base/Foundation/Mutex.h"
#include "Simulator/Desktop.h"
#include "Simulator/Server/DesktopMessages.h"
#include "Simulator/Server/DesktopService.h"
#include "Simulator/Server/SocketServer.h"

namespace sim {

/// One desktop served on a socket to several clients at once: each connection is attached to
/// the desktop as one client, its requests are carried out as they arrive and its events are
/// written to it as the desktop produces them. A client that goes, however it goes (closing,
/// crashing, killed), leaves the desktop at once (`DesktopService::leave`).
class DesktopServer {
  public:
    static constexpr std::size_t maximumRequestLength = 1 << 20;
    /// A window's pixels (`drawOwnWindow`) may take a longer line: those requests begin so.
    static constexpr const char* drawingRequestPrefix = DesktopMessages::drawingRequestPrefix;
    static constexpr std::size_t maximumDrawingRequestLength = 48u << 20;
    /// What a client may leave unread before it counts as stuck and is dropped.
    static constexpr std::size_t maximumUnread = 64u << 20;

    /// Listens at `path` (throws SocketError).
    DesktopServer(std::shared_ptr<Desktop> desktop, const std::string& path);
    /// Stops serving; every client leaves the desktop; the socket file is removed.
    ~DesktopServer();
    DesktopServer(const DesktopServer&) = delete;
    DesktopServer& operator=(const DesktopServer&) = delete;

    /// Called on the server's thread after a "shutdown" request was answered.
    void setShutdownHandler(std::function<void()> handler);
    void start();
    const std::string& path() const { return socket_->path(); }

  private:
    /// Where the desktop's event sinks write; outlives the server while a delivery is under
    /// way on another thread.
    struct Outlet {
        Mutex mutex;
        SocketServer* socket GUARDED_BY(mutex) = nullptr;
        void send(SocketServer::ClientID client, const std::string& line);
    };

    void connected(SocketServer::ClientID id, std::optional<Pid> process);
    void received(SocketServer::ClientID id, const std::string& line);
    void disconnected(SocketServer::ClientID id);
    void answer(SocketServer::ClientID id, ServedClient& client, const std::string& line);
    /// A request that waits for a slow application is told so at once and carried out when its
    /// answer is due, while the server serves everyone else.
    void answerLater(SocketServer::ClientID id, DesktopRequest request, double seconds);
    void carryOut(SocketServer::ClientID id, ServedClient& client, const DesktopRequest& request);

    DesktopService service_;
    std::shared_ptr<Outlet> outlet_ = std::make_shared<Outlet>();
    std::unique_ptr<SocketServer> socket_;
    /// The server's thread only, and the destructor once that thread has ended.
    std::map<SocketServer::ClientID, ServedClient> clients_;
};

}  // namespace sim
