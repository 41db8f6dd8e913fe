#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>

#include "Base/JSON/JSONValue.h"

namespace sim {

/// The desktop answered a request with an error.
class RemoteError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// The desktop is gone (the server ended or closed this client) before it answered.
class DesktopGone : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// A client of the desktop's server: requests from any thread, each waiting for its own reply
/// (matched by id, so several threads can wait at once), and events pushed by the server,
/// handed to one handler on the client's reader thread in the order they came.
class LineClient {
  public:
    using EventHandler =
        std::function<void(const std::string& event, const kelvo::JSONValue& body)>;

    /// Replies can be long (a whole window list); the bound only stops a runaway peer.
    static constexpr std::size_t maximumLineLength = 256u << 20;

    /// Connects (throws SocketError).
    explicit LineClient(const std::string& path);
    /// Closes the connection and waits for the reader thread.
    ~LineClient();
    LineClient(const LineClient&) = delete;
    LineClient& operator=(const LineClient&) = delete;

    /// Starts reading; events go to `handler` (which may be empty).
    void start(EventHandler handler);
    /// Sends a request and waits for its reply. Throws RemoteError with the server's text, or
    /// DesktopGone.
    kelvo::JSONValue call(const std::string& op,
                          kelvo::JSONValue args = kelvo::JSONValue::object());
    /// Sends a request that wants no reply.
    void post(const std::string& op, kelvo::JSONValue args = kelvo::JSONValue::object());
    /// Closes the connection: waiting calls fail with DesktopGone, the reader ends.
    void close();
    bool isConnected() const { return connected_.load(); }
    /// Called once on the reader thread when the connection ends, whoever ended it. May be set
    /// while the reader runs. Calls waiting at that moment fail only after it has returned.
    void setDisconnectHandler(std::function<void()> handler);

  private:
    struct Pending {
        bool done = false;
        std::optional<kelvo::JSONValue> result;
        std::string error;
    };

    void readLoop();
    void receive(const std::string& line);
    void sendLine(const std::string& line);
    void failAll();

    int descriptor_;
    std::atomic<bool> connected_{true};
    std::thread reader_;
    EventHandler events_;
    std::function<void()> disconnected_;

    std::mutex writeMutex_;
    std::mutex mutex_;
    std::condition_variable replied_;
    std::uint64_t nextID_ = 1;
    std::map<std::uint64_t, Pending*> pending_;
};

}  // namespace sim
