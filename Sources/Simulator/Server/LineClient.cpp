#include "Simulator/Server/LineClient.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "Base/JSON/JSONDecoder.h"
#include "Base/JSON/JSONWriter.h"
#include "Simulator/Server/LineSplitter.h"
#include "Simulator/Server/UnixSocket.h"

namespace sim {

using kelvo::JSONValue;

LineClient::LineClient(const std::string& path) : descriptor_(UnixSocket::connect(path)) {}

LineClient::~LineClient() {
    close();
    if (reader_.joinable()) reader_.join();
    ::close(descriptor_);
}

void LineClient::start(EventHandler handler) {
    events_ = std::move(handler);
    reader_ = std::thread([this] { readLoop(); });
}

void LineClient::setDisconnectHandler(std::function<void()> handler) {
    std::lock_guard lock(mutex_);
    disconnected_ = std::move(handler);
}

void LineClient::close() {
    // Shutting the socket down wakes the reader, which then fails every waiting call.
    ::shutdown(descriptor_, SHUT_RDWR);
    if (!reader_.joinable()) {
        connected_ = false;
        failAll();
    }
}

JSONValue LineClient::call(const std::string& op, JSONValue args) {
    Pending pending;
    std::uint64_t id;
    {
        std::lock_guard lock(mutex_);
        if (!connected_) throw DesktopGone("the desktop is gone");
        id = nextID_++;
        pending_[id] = &pending;
    }
    JSONValue request = {{"args", std::move(args)}, {"id", id}, {"op", op}};
    sendLine(kelvo::JSONWriter::write(request));
    std::unique_lock lock(mutex_);
    replied_.wait(lock, [&] { return pending.done; });
    pending_.erase(id);
    if (pending.result) return std::move(*pending.result);
    if (!connected_ && pending.error.empty()) throw DesktopGone("the desktop is gone");
    throw RemoteError(pending.error);
}

void LineClient::post(const std::string& op, JSONValue args) {
    JSONValue request = {{"args", std::move(args)}, {"op", op}};
    sendLine(kelvo::JSONWriter::write(request));
}

void LineClient::sendLine(const std::string& line) {
    std::lock_guard lock(writeMutex_);
    // A failed write shows up as the end of the connection on the reader's side.
    UnixSocket::sendAll(descriptor_, line + "\n");
}

void LineClient::readLoop() {
    LineSplitter splitter(maximumLineLength);
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t count = ::recv(descriptor_, chunk, sizeof(chunk), 0);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) break;
        splitter.append(std::string_view(chunk, static_cast<std::size_t>(count)));
        while (auto line = splitter.next())
            receive(*line);
        if (splitter.overflowed()) break;
    }
    ::shutdown(descriptor_, SHUT_RDWR);
    connected_ = false;
    std::function<void()> disconnected;
    {
        std::lock_guard lock(mutex_);
        disconnected = disconnected_;
    }
    if (disconnected) disconnected();
    failAll();
}

void LineClient::receive(const std::string& line) {
    JSONValue message;
    try {
        message = kelvo::JSONNode::parse(line);
    } catch (const std::exception&) {
        return;
    }
    if (!message.is_object()) return;
    if (auto event = message.find("event"); event != message.end() && event->is_string()) {
        if (events_) {
            auto body = message.find("body");
            events_(event->get<std::string>(), body != message.end() ? *body : JSONValue::object());
        }
        return;
    }
    auto id = message.find("id");
    if (id == message.end() || !id->is_number_unsigned()) return;
    std::lock_guard lock(mutex_);
    auto found = pending_.find(id->get<std::uint64_t>());
    if (found == pending_.end()) return;
    Pending& pending = *found->second;
    if (auto result = message.find("result"); result != message.end()) {
        pending.result = *result;
    } else if (auto error = message.find("error"); error != message.end() && error->is_string()) {
        pending.error = error->get<std::string>();
    } else {
        pending.error = "malformed reply";
    }
    pending.done = true;
    replied_.notify_all();
}

void LineClient::failAll() {
    std::lock_guard lock(mutex_);
    for (auto& [id, pending] : pending_)
        pending->done = true;
    replied_.notify_all();
}

}  // namespace sim
