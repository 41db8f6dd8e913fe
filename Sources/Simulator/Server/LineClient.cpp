#include "Simulator/Server/LineClient.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "Base/Foundation/Mutex.h"
#include "Base/Foundation/MutexLock.h"
#include "Base/JSON/JSONDecoder.h"
#include "Base/JSON/JSONWriter.h"
#include "Simulator/Server/DesktopMessages.h"
#include "Simulator/Server/LineSplitter.h"
#include "Simulator/Server/UnixSocket.h"

namespace sim {

using kelvo::JSONValue;

namespace {

std::string inSeconds(LineClient::Clock::duration span) {
    const double seconds = std::chrono::duration<double>(span).count();
    char text[32];
    std::snprintf(text, sizeof text, "%g", seconds);
    return text;
}

}  // namespace

LineClient::LineClient(const std::string& path, std::optional<Clock::duration> connectionDeadline,
                       std::optional<Clock::duration> quietSpell)
    : descriptor_(UnixSocket::connect(path)),
      connectionDeadline_(connectionDeadline),
      quietSpell_(quietSpell) {
    if (!quietSpell_) return;
    // The reader's wait ends after a spell without a byte; while bytes come it costs nothing.
    const auto micro = std::chrono::duration_cast<std::chrono::microseconds>(*quietSpell_).count();
    timeval spell{};
    spell.tv_sec = static_cast<time_t>(micro / 1'000'000);
    spell.tv_usec = static_cast<suseconds_t>(micro % 1'000'000);
    ::setsockopt(descriptor_, SOL_SOCKET, SO_RCVTIMEO, &spell, sizeof spell);
}

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
    MutexLock lock(mutex_);
    disconnected_ = std::move(handler);
}

std::string LineClient::lostReason() const {
    MutexLock lock(mutex_);
    return lostReason_;
}

void LineClient::lose(const std::string& reason) {
    {
        MutexLock lock(mutex_);
        if (lostReason_.empty()) lostReason_ = reason;
        // Later calls fail at once; the reader ends the rest.
        connected_ = false;
    }
    close();
}

void LineClient::close() {
    {
        MutexLock lock(mutex_);
        if (lostReason_.empty()) lostReason_ = "the connection was closed";
    }
    // Shutting the socket down wakes the reader, which then fails every waiting call.
    ::shutdown(descriptor_, SHUT_RDWR);
    if (!reader_.joinable()) {
        connected_ = false;
        failAll();
    }
}

JSONValue LineClient::call(const std::string& op, JSONValue args,
                           std::optional<Clock::duration> answerWithin) {
    Pending pending;
    std::uint64_t id;
    {
        MutexLock lock(mutex_);
        if (!connected_) throw DesktopGone("the desktop is gone");
        id = nextID_++;
        pending_[id] = &pending;
    }
    JSONValue request = {{"args", std::move(args)}, {"id", id}, {"op", op}};
    const auto sent = Clock::now();
    sendLine(kelvo::JSONWriter::write(request));
    if (!reader_.joinable()) readUntilAnswered(pending, sent, answerWithin);
    MutexLock lock(mutex_);
    const bool answered = awaitReply(pending, sent, answerWithin);
    pending_.erase(id);
    if (!answered) {
        const auto now = Clock::now();
        const bool ownLimit =
            answerWithin && (!connectionDeadline_ || *answerWithin < *connectionDeadline_);
        if (pending.held && answerWithin) {
            throw NoAnswerInTime(op + " was not answered within " + inSeconds(*answerWithin) +
                                 " s");
        }
        if (ownLimit && !silentTooLong(sent, now)) {
            throw NoAnswerInTime(op + " was not answered within " + inSeconds(*answerWithin) +
                                 " s");
        }
        lock.unlock();
        lose("the desktop did not answer within " + inSeconds(*connectionDeadline_) + " s");
        throw DesktopGone("the desktop stopped answering");
    }
    if (pending.result) return std::move(*pending.result);
    if (!connected_ && pending.error.empty()) throw DesktopGone("the desktop is gone");
    throw RemoteError(pending.error);
}

std::optional<LineClient::Clock::time_point> LineClient::giveUpAt(
    const Pending& pending, Clock::time_point sent,
    std::optional<Clock::duration> answerWithin) const {
    std::optional<Clock::duration> limit = connectionDeadline_;
    if (answerWithin && (!limit || *answerWithin < *limit)) limit = answerWithin;
    if (!limit) return std::nullopt;
    if (pending.held && answerWithin && *answerWithin > *limit) return sent + *answerWithin;
    return sent + *limit;
}

void LineClient::readUntilAnswered(const Pending& pending, Clock::time_point sent,
                                   std::optional<Clock::duration> answerWithin) {
    if (!ownReading_) ownReading_ = std::make_unique<LineSplitter>(maximumLineLength);
    char chunk[64 * 1024];
    while (!pending.done && connected_) {
        if (const auto end = giveUpAt(pending, sent, answerWithin)) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(*end - Clock::now());
            if (left.count() <= 0) return;
            pollfd readable{descriptor_, POLLIN, 0};
            if (::poll(&readable, 1, static_cast<int>(left.count())) == 0) continue;
        }
        const ssize_t count = ::recv(descriptor_, chunk, sizeof(chunk), 0);
        if (count < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
        if (count <= 0) break;
        ownReading_->append(std::string_view(chunk, static_cast<std::size_t>(count)));
        while (auto line = ownReading_->next())
            receive(*line);
        if (ownReading_->overflowed()) break;
    }
    if (pending.done) return;
    const auto end = giveUpAt(pending, sent, answerWithin);
    if (!connected_ || !end || Clock::now() < *end) {
        // The connection ended (the desktop closed it, or went) before the answer came.
        {
            MutexLock lock(mutex_);
            if (lostReason_.empty()) lostReason_ = "the desktop closed the connection";
            connected_ = false;
        }
        ::shutdown(descriptor_, SHUT_RDWR);
        failAll();
    }
}

bool LineClient::awaitReply(const Pending& pending, Clock::time_point sent,
                            std::optional<Clock::duration> answerWithin) {
    // Without a reader the call has read already; nobody else brings its answer.
    if (!reader_.joinable()) return pending.done;
    std::optional<Clock::duration> limit = connectionDeadline_;
    if (answerWithin && (!limit || *answerWithin < *limit)) limit = answerWithin;
    const auto done = [&] { return pending.done; };
    if (!limit) {
        replied_.wait(mutex_, done);
        return true;
    }
    if (replied_.waitUntil(mutex_, sent + *limit, done)) return true;
    if (!answerWithin || *answerWithin <= *limit || !pending.held) return false;
    return replied_.waitUntil(mutex_, sent + *answerWithin, done);
}

bool LineClient::silentTooLong(Clock::time_point sent, Clock::time_point now) {
    if (!connectionDeadline_) return false;
    if (!silentSince_ || sent < *silentSince_) silentSince_ = sent;
    return now - *silentSince_ >= *connectionDeadline_;
}

void LineClient::post(const std::string& op, JSONValue args) {
    JSONValue request = {{"args", std::move(args)}, {"op", op}};
    sendLine(kelvo::JSONWriter::write(request));
}

void LineClient::sendLine(std::string line) {
    line += '\n';
    MutexLock lock(writeMutex_);
    // A failed write shows up as the end of the connection on the reader's side.
    UnixSocket::sendAll(descriptor_, line);
}

void LineClient::readLoop() {
    LineSplitter splitter(maximumLineLength);
    char chunk[64 * 1024];
    int silentSpells = 0;
    bool asked = false;
    for (;;) {
        const ssize_t count = ::recv(descriptor_, chunk, sizeof(chunk), 0);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && quietSpell_) {
            heardNothing(++silentSpells, asked);
            continue;
        }
        if (count <= 0) break;
        silentSpells = 0;
        asked = false;
        splitter.append(std::string_view(chunk, static_cast<std::size_t>(count)));
        while (auto line = splitter.next())
            receive(*line);
        if (splitter.overflowed()) break;
    }
    ::shutdown(descriptor_, SHUT_RDWR);
    std::function<void()> disconnected;
    {
        MutexLock lock(mutex_);
        if (lostReason_.empty()) lostReason_ = "the desktop closed the connection";
        connected_ = false;
        disconnected = disconnected_;
    }
    if (disconnected) disconnected();
    failAll();
}

void LineClient::heardNothing(int spells, bool& asked) {
    if (spells > unansweredSpells) {
        // The socket is shut down: the next read ends the loop, and the connection, as usual.
        lose("the desktop did not answer within " + inSeconds(*quietSpell_ * unansweredSpells) +
             " s");
        return;
    }
    // A question that met a line being written goes at the next spell: a live desktop that
    // says nothing unasked would otherwise be lost for want of being asked.
    if (!asked) asked = askWhetherThere();
}

bool LineClient::askWhetherThere() {
    if (!writeMutex_.tryLock()) return false;
    MutexLock writing(writeMutex_, std::adopt_lock);
    std::uint64_t id;
    {
        MutexLock lock(mutex_);
        id = nextID_++;
    }
    const std::string line =
        kelvo::JSONWriter::write(JSONValue{{"id", id}, {"op", DesktopMessages::probe}}) + "\n";
    const ssize_t sent = ::send(descriptor_, line.data(), line.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
    // Half a line would spoil the next one: the rest, a few bytes, goes as every line does.
    if (sent > 0 && static_cast<std::size_t>(sent) < line.size()) {
        return UnixSocket::sendAll(descriptor_,
                                   std::string_view(line).substr(static_cast<std::size_t>(sent)));
    }
    return sent > 0;
}

void LineClient::receive(const std::string& line) {
    JSONValue message;
    try {
        message = kelvo::JSONNode::parse(line);
    } catch (const std::exception&) {
        return;
    }
    if (!message.is_object()) return;
    {
        MutexLock lock(mutex_);
        silentSince_.reset();
    }
    if (auto event = message.find("event"); event != message.end() && event->is_string()) {
        if (events_) {
            auto body = message.find("body");
            events_(event->get<std::string>(), body != message.end() ? *body : JSONValue::object());
        }
        return;
    }
    auto id = message.find("id");
    if (id == message.end() || !id->is_number_unsigned()) return;
    MutexLock lock(mutex_);
    auto found = pending_.find(id->get<std::uint64_t>());
    if (found == pending_.end()) return;
    Pending& pending = *found->second;
    if (auto held = message.find("waiting"); held != message.end() && held->is_boolean()) {
        pending.held = held->get<bool>();
        return;
    }
    if (auto result = message.find("result"); result != message.end()) {
        pending.result = *result;
    } else if (auto error = message.find("error"); error != message.end() && error->is_string()) {
        pending.error = error->get<std::string>();
    } else {
        pending.error = "malformed reply";
    }
    pending.done = true;
    replied_.notifyAll();
}

void LineClient::failAll() {
    MutexLock lock(mutex_);
    for (auto& [id, pending] : pending_)
        pending->done = true;
    replied_.notifyAll();
}

}  // namespace sim
