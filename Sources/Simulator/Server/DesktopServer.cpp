#include "Simulator/Server/DesktopServer.h"

#include "Base/Foundation/MutexLock.h"
#include "Simulator/DesktopOperation.h"
#include "Simulator/Server/DesktopMessages.h"

namespace sim {

using kelvo::JSONValue;

DesktopServer::DesktopServer(std::shared_ptr<Desktop> desktop, const std::string& path)
    : service_(std::move(desktop)),
      socket_(std::make_unique<SocketServer>(
          path,
          SocketServer::Limits{maximumRequestLength, maximumUnread, drawingRequestPrefix,
                               maximumDrawingRequestLength},
          DesktopMessages::failure(std::nullopt, "line too long"))) {
    MutexLock lock(outlet_->mutex);
    outlet_->socket = socket_.get();
}

DesktopServer::~DesktopServer() {
    socket_->stop();
    {
        MutexLock lock(outlet_->mutex);
        outlet_->socket = nullptr;
    }
    for (auto& [id, client] : clients_)
        service_.leave(client);
    clients_.clear();
    socket_.reset();
}

void DesktopServer::setShutdownHandler(std::function<void()> handler) {
    service_.setShutdownHandler(std::move(handler));
}

void DesktopServer::start() {
    socket_->start({
        .connected = [this](SocketServer::ClientID id,
                            std::optional<pid_t> process) { connected(id, process); },
        .line = [this](SocketServer::ClientID id, std::string line) { received(id, line); },
        .disconnected = [this](SocketServer::ClientID id) { disconnected(id); },
    });
}

void DesktopServer::Outlet::send(SocketServer::ClientID client, const std::string& line) {
    MutexLock lock(mutex);
    if (socket) socket->send(client, line);
}

void DesktopServer::connected(SocketServer::ClientID id, std::optional<Pid> process) {
    ServedClient client;
    client.processPid = process;
    client.desktopClient =
        service_.desktop()->attach([outlet = outlet_, id](const DesktopEvent& event) {
            outlet->send(id, DesktopMessages::event(event));
        });
    clients_[id] = std::move(client);
}

void DesktopServer::received(SocketServer::ClientID id, const std::string& line) {
    const auto found = clients_.find(id);
    if (found == clients_.end() || line.empty()) return;
    answer(id, found->second, line);
}

void DesktopServer::answer(SocketServer::ClientID id, ServedClient& client,
                           const std::string& line) {
    DesktopRequest request;
    try {
        request = DesktopMessages::decodeRequest(line);
    } catch (const UnreadableRequest& unreadable) {
        socket_->send(id, DesktopMessages::failure(unreadable.id, unreadable.what()));
        return;
    }
    if (request.op == DesktopMessages::probe) {
        if (request.id) socket_->send(id, DesktopMessages::reply(*request.id, JSONValue::object()));
        return;
    }
    if (line.size() > maximumRequestLength && request.op != operation::drawOwnWindow.name) {
        socket_->send(id, DesktopMessages::failure(request.id, "line too long"));
        return;
    }
    if (const double wait = service_.answerWait(request); wait > 0) {
        answerLater(id, std::move(request), wait);
        return;
    }
    carryOut(id, client, request);
}

void DesktopServer::answerLater(SocketServer::ClientID id, DesktopRequest request, double seconds) {
    if (request.id) socket_->send(id, DesktopMessages::waiting(*request.id));
    const auto due =
        SocketServer::Clock::now() + std::chrono::duration_cast<SocketServer::Clock::duration>(
                                         std::chrono::duration<double>(seconds));
    socket_->schedule(due, [this, id, request = std::move(request)] {
        const auto found = clients_.find(id);
        if (found != clients_.end()) carryOut(id, found->second, request);
    });
}

void DesktopServer::carryOut(SocketServer::ClientID id, ServedClient& client,
                             const DesktopRequest& request) {
    std::string reply;
    try {
        const auto result = service_.handle(client, request);
        if (request.id) reply = DesktopMessages::reply(*request.id, result);
    } catch (const RequestFailure& failure) {
        reply = DesktopMessages::failure(request.id, failure.what());
    } catch (const std::exception& error) {
        // A result that cannot be written (a number that is not finite).
        reply = DesktopMessages::failure(request.id, std::string("cannot answer: ") + error.what());
    }
    if (request.id) socket_->send(id, reply);
    if (request.op == operation::shutdown.name) service_.requestShutdown();
}

void DesktopServer::disconnected(SocketServer::ClientID id) {
    const auto found = clients_.find(id);
    if (found == clients_.end()) return;
    service_.leave(found->second);
    clients_.erase(found);
}

}  // namespace sim
