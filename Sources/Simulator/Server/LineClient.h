#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>

#include "Base/Foundation/ConditionVariable.h"
#include "Base/Foundation/Mutex.h"
#include "Base/JSON/JSONValue.h"

namespace sim {

class LineSplitter;

/// The desktop answered a request with an error.
class RemoteError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// The desktop is gone (the server ended or closed this client, or stopped answering) before
/// it answered.
class DesktopGone : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// A request with a time limit of its own (an Accessibility call's messaging timeout) went
/// unanswered within it; the connection stays.
class NoAnswerInTime : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// A client of the desktop's server: requests from any thread, each waiting for its own reply
/// (matched by id, so several threads can wait at once), and events pushed by the server,
/// handed to one handler on the client's reader thread in the order they came.
///
/// With a connection deadline, no request waits for ever: one that is not answered within the
/// deadline ends the connection (the desktop stopped answering), and so does a desktop that has
/// said nothing for that long while requests with shorter limits of their own went unanswered.
///
/// A client that is never started has no reader thread: each call reads its own reply on the
/// calling thread, and what the desktop says before it (events) goes unheard. A command line
/// that asks once and ends is spared a thread and the wake-ups between two threads that every
/// reply would cost; such a client is used from one thread only.
///
/// With a quiet spell, a client that asks nothing learns of it too: once the desktop has said
/// nothing for a spell the reader asks whether it is there (`DesktopMessages::probe`), and a
/// desktop that then says nothing for `unansweredSpells` spells more ends the connection. A
/// question that cannot go out when its spell ends (a line is being written) is asked at the
/// next, within the same bound. A desktop that talks, or answers, is never asked: the reader only
/// counts its own waits.
class LineClient {
  public:
    using Clock = std::chrono::steady_clock;
    using EventHandler =
        std::function<void(const std::string& event, const kelvo::JSONValue& body)>;

    /// Replies can be long (a whole window list); the bound only stops a runaway peer.
    static constexpr std::size_t maximumLineLength = 256u << 20;
    /// Spells of silence after the question before the desktop counts as gone.
    static constexpr int unansweredSpells = 2;

    /// Connects (throws SocketError). Without a deadline a request waits as long as the
    /// connection lasts; without a quiet spell a silent desktop is never asked.
    explicit LineClient(const std::string& path,
                        std::optional<Clock::duration> connectionDeadline = std::nullopt,
                        std::optional<Clock::duration> quietSpell = std::nullopt);
    /// Closes the connection and waits for the reader thread.
    ~LineClient();
    LineClient(const LineClient&) = delete;
    LineClient& operator=(const LineClient&) = delete;

    /// Starts reading; events go to `handler` (which may be empty).
    void start(EventHandler handler);
    /// Sends a request and waits for its reply. Throws RemoteError with the server's text, or
    /// DesktopGone. With `answerWithin` (shorter than the connection deadline) the call throws
    /// NoAnswerInTime once that has passed without a reply. A longer limit is kept only when
    /// the desktop says it holds the request for an application that answers late; else the
    /// connection deadline ends the wait and the connection.
    kelvo::JSONValue call(const std::string& op, kelvo::JSONValue args = kelvo::JSONValue::object(),
                          std::optional<Clock::duration> answerWithin = std::nullopt);
    /// Sends a request that wants no reply.
    void post(const std::string& op, kelvo::JSONValue args = kelvo::JSONValue::object());
    /// Closes the connection: waiting calls fail with DesktopGone, the reader ends.
    void close();
    bool isConnected() const { return connected_.load(); }
    /// Why the connection ended, for a person: empty while it lasts.
    std::string lostReason() const;
    /// Called once on the reader thread when the connection ends, whoever ended it. May be set
    /// while the reader runs. Calls waiting at that moment fail only after it has returned.
    void setDisconnectHandler(std::function<void()> handler);

  private:
    struct Pending {
        bool done = false;
        /// The desktop holds the request for an application that answers late: it is alive,
        /// and the call may wait its own limit even past the connection deadline.
        bool held = false;
        std::optional<kelvo::JSONValue> result;
        std::string error;
    };

    void readLoop();
    /// Without a reader: reads on this thread until the call is answered, the connection ends
    /// or the call's limit (as `awaitReply` reckons it) has passed.
    void readUntilAnswered(const Pending& pending, Clock::time_point sent,
                           std::optional<Clock::duration> answerWithin);
    /// When a call sent at `sent` stops waiting, as `awaitReply` reckons it; none: never.
    std::optional<Clock::time_point> giveUpAt(const Pending& pending, Clock::time_point sent,
                                              std::optional<Clock::duration> answerWithin) const;
    /// The lines read so far by the calls of a client without a reader.
    std::unique_ptr<LineSplitter> ownReading_;
    /// The reader has waited a quiet spell for the desktop: the first asks it whether it is
    /// there, the last of `unansweredSpells` more ends the connection. `asked` says whether the
    /// question went out since the desktop last said something; until it has, each spell asks.
    void heardNothing(int spells, bool& asked);
    /// Sends the question, unless a line is being written now or the socket takes nothing more
    /// (then the desktop is not reading, and its silence tells as much); true when it went out.
    bool askWhetherThere();
    void receive(const std::string& line);
    void sendLine(std::string line);
    void failAll();
    /// Waits for the reply until the call's own limit or the connection deadline, whichever
    /// comes first, or, for a call the desktop holds, until its own limit; the lock is held.
    /// False when neither the reply nor the end of the connection came in time.
    bool awaitReply(const Pending& pending, Clock::time_point sent,
                    std::optional<Clock::duration> answerWithin) REQUIRES(mutex_);
    /// After a call went unanswered: true when the desktop has been silent past the deadline.
    bool silentTooLong(Clock::time_point sent, Clock::time_point now) REQUIRES(mutex_);
    /// Ends the connection for `reason`, unless it has already ended for another.
    void lose(const std::string& reason);

    int descriptor_;
    std::optional<Clock::duration> connectionDeadline_;
    std::optional<Clock::duration> quietSpell_;
    std::atomic<bool> connected_{true};
    std::thread reader_;
    EventHandler events_;
    std::function<void()> disconnected_ GUARDED_BY(mutex_);

    Mutex writeMutex_;
    mutable Mutex mutex_;
    ConditionVariable replied_;
    std::uint64_t nextID_ GUARDED_BY(mutex_) = 1;
    std::map<std::uint64_t, Pending*> pending_ GUARDED_BY(mutex_);
    std::string lostReason_ GUARDED_BY(mutex_);
    /// When the oldest request still without an answer since the desktop last said anything
    /// was sent; none once it speaks again.
    std::optional<Clock::time_point> silentSince_ GUARDED_BY(mutex_);
};

}  // namespace sim
