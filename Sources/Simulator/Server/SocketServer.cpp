#include "Simulator/Server/SocketServer.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "Simulator/Server/UnixSocket.h"

namespace sim {

SocketServer::SocketServer(std::string path, Limits limits, std::string overlongReply)
    : path_(std::move(path)), limits_(limits), overlongReply_(std::move(overlongReply)) {
    listener_ = UnixSocket::listen(path_);
    struct stat info {};
    if (::stat(path_.c_str(), &info) == 0) {
        device_ = info.st_dev;
        inode_ = info.st_ino;
    }
    wakeFD_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFD_ < 0) {
        ::close(listener_);
        removeSocketFile();
        throw SocketError("cannot make the server's wake-up descriptor");
    }
}

SocketServer::~SocketServer() {
    stop();
    clients_.clear();
    ::close(listener_);
    ::close(wakeFD_);
    removeSocketFile();
}

void SocketServer::removeSocketFile() {
    // Only our own socket: another server may have taken the path since.
    struct stat info {};
    if (::stat(path_.c_str(), &info) == 0 && info.st_dev == device_ && info.st_ino == inode_) {
        ::unlink(path_.c_str());
    }
}

void SocketServer::start(Handlers handlers) {
    handlers_ = std::move(handlers);
    thread_ = std::thread([this] { run(); });
}

void SocketServer::stop() {
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    wake();
    if (thread_.joinable()) thread_.join();
}

void SocketServer::send(ClientID client, std::string line) {
    {
        std::lock_guard lock(mutex_);
        outgoing_.push_back({client, std::move(line), false});
    }
    wake();
}

void SocketServer::close(ClientID client) {
    {
        std::lock_guard lock(mutex_);
        outgoing_.push_back({client, {}, true});
    }
    wake();
}

void SocketServer::wake() {
    const std::uint64_t one = 1;
    [[maybe_unused]] auto written = ::write(wakeFD_, &one, sizeof(one));
}

void SocketServer::run() {
    std::vector<pollfd> fds;
    std::vector<ClientID> ids;
    for (;;) {
        bool stopping;
        {
            std::lock_guard lock(mutex_);
            stopping = stopRequested_;
        }
        // What was queued before the stop (the reply to "shutdown" among it) is written as far
        // as the clients take it without waiting.
        takeOutgoing();
        if (stopping) return;
        fds.clear();
        ids.clear();
        fds.push_back({wakeFD_, POLLIN, 0});
        fds.push_back({listener_, POLLIN, 0});
        for (auto& [id, client] : clients_) {
            short events = client.closing ? 0 : POLLIN;
            if (client.channel->hasOutput()) events |= POLLOUT;
            fds.push_back({client.channel->descriptor(), events, 0});
            ids.push_back(id);
        }
        if (::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR) return;
        if (fds[0].revents & POLLIN) {
            std::uint64_t count;
            [[maybe_unused]] auto read = ::read(wakeFD_, &count, sizeof(count));
        }
        if (fds[1].revents & POLLIN) acceptClients();
        for (std::size_t i = 0; i < ids.size(); ++i) {
            if (fds[i + 2].revents != 0) serve(ids[i], fds[i + 2].revents);
        }
    }
}

void SocketServer::takeOutgoing() {
    std::vector<Outgoing> batch;
    {
        std::lock_guard lock(mutex_);
        batch.swap(outgoing_);
    }
    std::vector<ClientID> overflowing;
    for (auto& item : batch) {
        auto found = clients_.find(item.client);
        if (found == clients_.end()) continue;
        if (item.closeAfter) {
            found->second.closing = true;
        } else if (!found->second.channel->queue(item.line)) {
            overflowing.push_back(item.client);
        }
    }
    for (ClientID id : overflowing) {
        if (clients_.count(id)) drop(id, true);
    }
    // A closing client whose outbox has drained goes now; the rest try to write.
    std::vector<ClientID> done;
    for (auto& [id, client] : clients_) {
        if (!client.channel->flush() || (client.closing && !client.channel->hasOutput())) {
            done.push_back(id);
        }
    }
    for (ClientID id : done)
        drop(id, true);
}

void SocketServer::acceptClients() {
    for (;;) {
        const int fd = UnixSocket::accept(listener_);
        if (fd < 0) return;
        const ClientID id = nextID_++;
        clients_.emplace(
            id, Client{std::make_unique<LineChannel>(
                           fd,
                           LineSplitter::Bound{limits_.maximumLineLength, limits_.longLinePrefix,
                                               limits_.maximumLongLineLength},
                           limits_.maximumOutbox),
                       false});
        if (handlers_.connected) handlers_.connected(id, UnixSocket::peerPid(fd));
    }
}

void SocketServer::serve(ClientID id, short events) {
    auto& client = clients_.at(id);
    LineChannel& channel = *client.channel;
    auto status = LineChannel::Status::open;
    if (events & (POLLIN | POLLHUP | POLLERR)) {
        std::vector<std::string> lines;
        status = channel.receive(lines);
        if (!client.closing && handlers_.line) {
            for (auto& line : lines)
                handlers_.line(id, std::move(line));
        }
    }
    if (status == LineChannel::Status::overlong) {
        channel.queue(overlongReply_);
        channel.flush();
        drop(id, true);
        return;
    }
    if (status == LineChannel::Status::closed || !channel.flush() ||
        (client.closing && !channel.hasOutput())) {
        drop(id, true);
    }
}

void SocketServer::drop(ClientID id, bool tell) {
    clients_.erase(id);
    if (tell && handlers_.disconnected) handlers_.disconnected(id);
}

}  // namespace sim
