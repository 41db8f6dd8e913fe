#include "Simulator/Server/SocketServer.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "Base/Foundation/MutexLock.h"
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
        MutexLock lock(mutex_);
        stopRequested_ = true;
    }
    wake();
    if (thread_.joinable()) thread_.join();
}

void SocketServer::send(ClientID client, std::string line) {
    {
        MutexLock lock(mutex_);
        outgoing_.push_back({client, std::move(line), false});
    }
    wake();
}

void SocketServer::close(ClientID client) {
    {
        MutexLock lock(mutex_);
        outgoing_.push_back({client, {}, true});
    }
    wake();
}

void SocketServer::schedule(Clock::time_point when, std::function<void()> work) {
    {
        MutexLock lock(mutex_);
        scheduled_.emplace(when, std::move(work));
    }
    wake();
}

int SocketServer::pollTimeout() const {
    MutexLock lock(mutex_);
    if (scheduled_.empty()) return -1;
    const auto left = scheduled_.begin()->first - Clock::now();
    if (left <= Clock::duration::zero()) return 0;
    // Rounded up, so that the work is due when the poll returns.
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

void SocketServer::runDueWork() {
    for (;;) {
        std::function<void()> work;
        {
            MutexLock lock(mutex_);
            if (scheduled_.empty() || scheduled_.begin()->first > Clock::now()) return;
            work = std::move(scheduled_.begin()->second);
            scheduled_.erase(scheduled_.begin());
        }
        work();
    }
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
            MutexLock lock(mutex_);
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
            const bool reads =
                !client.closing && client.inbox.empty() && client.ending == Ending::none;
            short events = reads ? POLLIN : 0;
            if (client.channel->hasOutput()) events |= POLLOUT;
            fds.push_back({client.channel->descriptor(), events, 0});
            ids.push_back(id);
        }
        // Lines still waiting for their turn: look around without waiting, then serve them.
        const int timeout = hasWaitingLines() ? 0 : pollTimeout();
        if (::poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR) return;
        if (fds[0].revents & POLLIN) {
            std::uint64_t count;
            [[maybe_unused]] auto read = ::read(wakeFD_, &count, sizeof(count));
        }
        if (fds[1].revents & POLLIN) acceptClients();
        for (std::size_t i = 0; i < ids.size(); ++i) {
            if (fds[i + 2].revents != 0 && clients_.count(ids[i]))
                serve(ids[i], fds[i + 2].revents);
        }
        handleTurn();
        runDueWork();
    }
}

bool SocketServer::hasWaitingLines() const {
    for (const auto& [id, client] : clients_) {
        if (!client.inbox.empty() || client.ending != Ending::none) return true;
    }
    return false;
}

void SocketServer::handleTurn() {
    std::vector<ClientID> waiting;
    for (const auto& [id, client] : clients_) {
        if (!client.inbox.empty() || client.ending != Ending::none) waiting.push_back(id);
    }
    for (ClientID id : waiting) {
        handleLines(id);
        const auto found = clients_.find(id);
        if (found != clients_.end() && found->second.inbox.empty()) finishEnding(id);
    }
}

void SocketServer::handleLines(ClientID id) {
    for (std::size_t handled = 0; handled < limits_.linesPerTurn; ++handled) {
        const auto found = clients_.find(id);
        if (found == clients_.end() || found->second.inbox.empty()) return;
        std::string line = std::move(found->second.inbox.front());
        found->second.inbox.pop_front();
        if (!found->second.closing && handlers_.line) handlers_.line(id, std::move(line));
    }
}

void SocketServer::finishEnding(ClientID id) {
    auto& client = clients_.at(id);
    switch (client.ending) {
        case Ending::none:
            return;
        case Ending::overlong:
            client.channel->queue(overlongReply_);
            client.channel->flush();
            drop(id, true);
            return;
        case Ending::closed:
            drop(id, true);
            return;
    }
}

void SocketServer::takeOutgoing() {
    std::vector<Outgoing> batch;
    {
        MutexLock lock(mutex_);
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
        Client client;
        client.channel = std::make_unique<LineChannel>(
            fd,
            LineSplitter::Bound{limits_.maximumLineLength, limits_.longLinePrefix,
                                limits_.maximumLongLineLength},
            limits_.maximumOutbox);
        clients_.emplace(id, std::move(client));
        if (handlers_.connected) handlers_.connected(id, UnixSocket::peerPid(fd));
    }
}

void SocketServer::serve(ClientID id, short events) {
    auto& client = clients_.at(id);
    LineChannel& channel = *client.channel;
    const bool reads = client.inbox.empty() && client.ending == Ending::none;
    if (reads && (events & (POLLIN | POLLHUP | POLLERR))) {
        std::vector<std::string> lines;
        const auto status = channel.receive(lines);
        if (!client.closing) {
            for (auto& line : lines)
                client.inbox.push_back(std::move(line));
        }
        if (status == LineChannel::Status::overlong) client.ending = Ending::overlong;
        if (status == LineChannel::Status::closed) client.ending = Ending::closed;
    }
    // A peer gone for good is left to its ending, once its lines have been handled.
    if (client.ending == Ending::none &&
        (!channel.flush() || (client.closing && !channel.hasOutput()))) {
        drop(id, true);
    }
}

void SocketServer::drop(ClientID id, bool tell) {
    clients_.erase(id);
    if (tell && handlers_.disconnected) handlers_.disconnected(id);
}

}  // namespace sim
