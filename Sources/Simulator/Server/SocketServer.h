#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "Base/Foundation/Mutex.h"
#include "Simulator/Server/LineChannel.h"

namespace sim {

/// The transport of the desktop's server: a listening socket in the file system and its
/// clients, served by one thread that only moves lines. It polls every descriptor and never
/// waits on any one client: a client that stops reading has its lines queued up to a bound and
/// is then dropped; one that sends a line longer than the bound is told so and dropped.
/// Clients take turns: each turn hands at most a few lines of each client to the handler, in
/// the order of the clients, so a burst of one client delays the others by a few lines only.
class SocketServer {
  public:
    using ClientID = std::uint64_t;
    using Clock = std::chrono::steady_clock;

    struct Limits {
        std::size_t maximumLineLength = 1 << 20;
        std::size_t maximumOutbox = 64 << 20;
        /// Lines that begin so may be up to `maximumLongLineLength`.
        std::string longLinePrefix;
        std::size_t maximumLongLineLength = 0;
        /// Lines of one client handled in one turn.
        std::size_t linesPerTurn = 4;
    };

    /// Called on the server's thread, in the order things happened for each client.
    struct Handlers {
        /// With the pid of the process that connected, when the kernel tells it.
        std::function<void(ClientID, std::optional<pid_t> peer)> connected;
        std::function<void(ClientID, std::string)> line;
        /// After the client's last line; the client's descriptor is already closed.
        std::function<void(ClientID)> disconnected;
    };

    /// Listens at `path` (throws SocketError). `overlongReply` is the line a client gets
    /// before it is dropped for an overlong line.
    SocketServer(std::string path, Limits limits, std::string overlongReply);
    /// Stops the thread, closes every client and removes the socket file.
    ~SocketServer();
    SocketServer(const SocketServer&) = delete;
    SocketServer& operator=(const SocketServer&) = delete;

    const std::string& path() const { return path_; }

    void start(Handlers handlers);
    /// Ends the thread; clients are closed without their handlers being called.
    void stop();

    /// From any thread: queues a line for a client; nothing happens when it is gone.
    void send(ClientID client, std::string line);
    /// From any thread: closes a client once what was queued for it has been written.
    void close(ClientID client);
    /// From any thread: runs `work` on the server's thread once `when` has come, between two
    /// turns, in the order of the times (and, for equal times, as scheduled). Work still waiting
    /// when the server stops is dropped.
    void schedule(Clock::time_point when, std::function<void()> work);

  private:
    /// How a client's connection ends once its received lines have been handled.
    enum class Ending { none, closed, overlong };
    struct Client {
        std::unique_ptr<LineChannel> channel;
        bool closing = false;
        /// Lines received and not yet handled; nothing more is read while there are any.
        std::deque<std::string> inbox;
        Ending ending = Ending::none;
    };
    struct Outgoing {
        ClientID client;
        std::string line;
        bool closeAfter;
    };

    void run();
    void takeOutgoing();
    void acceptClients();
    void serve(ClientID id, short events);
    /// One turn: a few lines of each client that has some waiting.
    void handleTurn();
    void handleLines(ClientID id);
    bool hasWaitingLines() const;
    /// How long the poll may wait, in milliseconds: until the next scheduled work, or for ever.
    int pollTimeout() const;
    void runDueWork();
    /// Ends a client whose connection ended once its lines are all handled.
    void finishEnding(ClientID id);
    void drop(ClientID id, bool tell);
    void wake();
    void removeSocketFile();

    std::string path_;
    Limits limits_;
    std::string overlongReply_;
    int listener_ = -1;
    int wakeFD_ = -1;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    Handlers handlers_;
    std::thread thread_;

    std::map<ClientID, Client> clients_;  // the server's thread only
    ClientID nextID_ = 1;

    mutable Mutex mutex_;
    std::vector<Outgoing> outgoing_ GUARDED_BY(mutex_);
    std::multimap<Clock::time_point, std::function<void()>> scheduled_ GUARDED_BY(mutex_);
    bool stopRequested_ GUARDED_BY(mutex_) = false;
};

}  // namespace sim
