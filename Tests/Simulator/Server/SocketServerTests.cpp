#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Base/JSON/JSONDecoder.h"
#include "Base/JSON/JSONWriter.h"
#include "Simulator/Server/LineClient.h"
#include "Simulator/Server/SocketServer.h"
#include "Simulator/Server/UnixSocket.h"
#include "Support/Base/TemporaryFolder.h"
#include "Support/Base/TestFiles.h"

namespace sim {
namespace {

using namespace std::chrono_literals;
constexpr auto generous = 10s;

/// A client written by hand, so that a test can send what no well-behaved client would.
class RawPeer {
  public:
    explicit RawPeer(const std::string& path) : fd_(UnixSocket::connect(path)) {}
    ~RawPeer() { closeNow(); }
    void write(const std::string& bytes) { ASSERT_TRUE(UnixSocket::sendAll(fd_, bytes)); }
    void closeNow() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }
    /// The next line, or none when the peer closed or nothing came within the bound.
    std::optional<std::string> readLine() {
        const auto deadline = std::chrono::steady_clock::now() + generous;
        for (;;) {
            if (auto end = buffer_.find('\n'); end != std::string::npos) {
                std::string line = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                return line;
            }
            if (!fill(deadline)) return std::nullopt;
        }
    }
    /// True when the server closed the connection within the bound.
    bool closedByServer() {
        const auto deadline = std::chrono::steady_clock::now() + generous;
        while (fill(deadline)) {
        }
        return eof_;
    }

  private:
    bool fill(std::chrono::steady_clock::time_point deadline) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{fd_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
        char chunk[4096];
        const ssize_t count = ::recv(fd_, chunk, sizeof(chunk), 0);
        if (count <= 0) {
            eof_ = true;
            return false;
        }
        buffer_.append(chunk, static_cast<std::size_t>(count));
        return true;
    }

    int fd_;
    std::string buffer_;
    bool eof_ = false;
};

/// What the server's handlers saw, in order, waited on with a bound.
struct Record {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> lines;
    int connected = 0;
    std::vector<std::optional<pid_t>> peers;
    int disconnected = 0;

    template <class Predicate>
    bool waitFor(Predicate predicate) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, generous, [&] { return predicate(*this); });
    }
};

class SocketServerTest : public ::testing::Test {
  protected:
    void serve(SocketServer::Limits limits = {}) {
        server_ = std::make_unique<SocketServer>(path(), limits, R"({"error":"line too long"})");
        server_->start({
            .connected =
                [this](SocketServer::ClientID, std::optional<pid_t> peer) {
                    std::lock_guard lock(record_.mutex);
                    ++record_.connected;
                    record_.peers.push_back(peer);
                    record_.changed.notify_all();
                },
            .line =
                [this](SocketServer::ClientID id, std::string line) {
                    {
                        std::lock_guard lock(record_.mutex);
                        record_.lines.push_back(line);
                        record_.changed.notify_all();
                    }
                    respond(id, line);
                },
            .disconnected =
                [this](SocketServer::ClientID) {
                    std::lock_guard lock(record_.mutex);
                    ++record_.disconnected;
                    record_.changed.notify_all();
                },
        });
    }

    /// Echoes plain lines; answers JSON requests the way the desktop's server does.
    void respond(SocketServer::ClientID id, const std::string& line) {
        if (line == "flood") {
            for (int i = 0; i < 20000; ++i)
                server_->send(id, std::string(100, 'x'));
            return;
        }
        if (line.empty() || line[0] != '{') {
            server_->send(id, "echo " + line);
            return;
        }
        auto request = kelvo::JSONNode::parse(line);
        if (request.value("op", std::string()) == "nap") {
            // As a desktop busy elsewhere for a while: it reads nothing meanwhile.
            std::this_thread::sleep_for(
                std::chrono::milliseconds(request["args"]["ms"].get<int>()));
        }
        if (!request.contains("id")) return;
        kelvo::JSONValue reply = {{"id", request["id"]}};
        const std::string op = request["op"].get<std::string>();
        if (op == "fail") {
            reply["error"] = "it failed";
        } else if (op == "notify") {
            server_->send(id, kelvo::JSONWriter::write(
                                  {{"body", {{"n", 1}}}, {"event", "something happened"}}));
            reply["result"] = kelvo::JSONValue::object();
        } else if (op == "bye") {
            server_->close(id);
            return;
        } else if (op == "ignore" || (op == "ping" && mute_)) {
            return;
        } else if (op == "hold" || op == "holdForEver") {
            // As the desktop holds a call on a slow application: said at once, answered later.
            server_->send(id, kelvo::JSONWriter::write({{"id", request["id"]}, {"waiting", true}}));
            if (op == "holdForEver") return;
            const auto after = std::chrono::milliseconds(request["args"]["ms"].get<int>());
            reply["result"] = {{"op", op}};
            server_->schedule(std::chrono::steady_clock::now() + after, [this, id, reply] {
                server_->send(id, kelvo::JSONWriter::write(reply));
            });
            return;
        } else {
            reply["result"] = {{"op", op}, {"args", request["args"]}};
        }
        server_->send(id, kelvo::JSONWriter::write(reply));
    }

    std::string path() const { return (folder_ / "desktop.sock").string(); }

    /// How many of the lines are `op`'s requests.
    static std::size_t requestsOf(const std::vector<std::string>& lines, const std::string& op) {
        return static_cast<std::size_t>(std::count_if(
            lines.begin(), lines.end(),
            [&](const auto& l) { return l.find("\"op\":\"" + op + "\"") != std::string::npos; }));
    }
    std::size_t linesOf(const std::string& op) {
        std::lock_guard lock(record_.mutex);
        return requestsOf(record_.lines, op);
    }

    kelvo::testing::TemporaryFolder folder_;
    Record record_;
    /// Whether the server leaves the question whether it is there unanswered.
    std::atomic<bool> mute_{false};
    std::unique_ptr<SocketServer> server_;
};

TEST_F(SocketServerTest, LinesComeInOrderAndRepliesGoBack) {
    serve();
    RawPeer peer(path());
    peer.write("one\ntw");
    peer.write("o\r\nthree\n");
    EXPECT_EQ(peer.readLine(), "echo one");
    EXPECT_EQ(peer.readLine(), "echo two");
    EXPECT_EQ(peer.readLine(), "echo three");
}

TEST_F(SocketServerTest, EachClientComesWithThePidOfItsProcess) {
    serve();
    RawPeer peer(path());
    peer.write("hello\n");
    EXPECT_EQ(peer.readLine(), "echo hello");
    std::lock_guard lock(record_.mutex);
    EXPECT_EQ(record_.peers, std::vector<std::optional<pid_t>>{::getpid()});
}

TEST_F(SocketServerTest, AClientLeavingMidLineIsForgottenWithoutItsHalfLine) {
    serve();
    {
        RawPeer peer(path());
        peer.write("whole\n{\"op\":\"pi");
        EXPECT_EQ(peer.readLine(), "echo whole");
    }
    ASSERT_TRUE(record_.waitFor([](Record& r) { return r.disconnected == 1; }));
    std::lock_guard lock(record_.mutex);
    EXPECT_EQ(record_.lines, std::vector<std::string>{"whole"});
}

TEST_F(SocketServerTest, AnOverlongLineIsAnsweredAndTheClientDropped) {
    serve({.maximumLineLength = 64,
           .maximumOutbox = 1 << 20,
           .longLinePrefix = "big:",
           .maximumLongLineLength = 256});
    RawPeer peer(path());
    // Lines that begin with the long prefix may pass the ordinary bound, up to their own.
    const std::string big = "big:" + std::string(200, 'x');
    peer.write(big + "\n");
    EXPECT_EQ(peer.readLine(), "echo " + big);
    peer.write(std::string(1000, 'a'));
    EXPECT_EQ(peer.readLine(), R"({"error":"line too long"})");
    EXPECT_TRUE(peer.closedByServer());
    EXPECT_TRUE(record_.waitFor([](Record& r) { return r.disconnected == 1; }));
    // The server goes on serving others.
    RawPeer other(path());
    other.write("still here\n");
    EXPECT_EQ(other.readLine(), "echo still here");
}

TEST_F(SocketServerTest, AClientThatStopsReadingIsDroppedAndOthersAreServed) {
    serve({.maximumLineLength = 1024,
           .maximumOutbox = 64 * 1024,
           .longLinePrefix = {},
           .maximumLongLineLength = 0});
    RawPeer stuck(path());
    stuck.write("flood\n");
    ASSERT_TRUE(record_.waitFor([](Record& r) { return r.disconnected == 1; }));
    RawPeer other(path());
    other.write("hello\n");
    EXPECT_EQ(other.readLine(), "echo hello");
}

TEST_F(SocketServerTest, TheSocketFileGoesWithTheServer) {
    serve();
    EXPECT_TRUE(std::filesystem::exists(path()));
    server_.reset();
    EXPECT_FALSE(std::filesystem::exists(path()));
}

TEST_F(SocketServerTest, ALiveServerKeepsItsPathAndAStaleFileIsReplaced) {
    serve();
    EXPECT_THROW(SocketServer(path(), {}, "{}"), SocketError);
    // A socket file whose server is gone (a crash leaves one behind).
    const std::string stale = (folder_ / "stale.sock").string();
    ::close(UnixSocket::listen(stale));
    ASSERT_TRUE(std::filesystem::exists(stale));
    SocketServer replacement(stale, {}, "{}");
    replacement.start({});
    RawPeer peer(stale);
}

TEST_F(SocketServerTest, TheSocketIsItsOwnersAloneWhateverTheUmask) {
    const mode_t previous = ::umask(0);
    const int first = UnixSocket::listen(path());
    EXPECT_THROW(UnixSocket::listen(path()), SocketError) << "a live socket keeps its path";
    ::umask(previous);
    struct stat status {};
    ASSERT_EQ(::stat(path().c_str(), &status), 0);
    EXPECT_TRUE(S_ISSOCK(status.st_mode));
    EXPECT_EQ(status.st_mode & 07777, 0600u);
    RawPeer peer(path());
    EXPECT_EQ(kelvo::testing::entriesIn(folder_.path()), 1u) << "no private folder is left";
    ::close(first);
}

TEST_F(SocketServerTest, AMissingServerIsReportedToTheClient) {
    EXPECT_THROW(LineClient((folder_ / "nobody.sock").string()), SocketError);
    EXPECT_THROW(LineClient(std::string(200, 'p')), SocketError);
}

TEST_F(SocketServerTest, ClientCallsMatchTheirRepliesAndEventsArriveInOrder) {
    serve();
    LineClient client(path());
    std::mutex mutex;
    std::vector<std::string> events;
    client.start([&](const std::string& event, const kelvo::JSONValue& body) {
        std::lock_guard lock(mutex);
        events.push_back(event + " " + kelvo::JSONWriter::write(body));
    });
    auto result = client.call("windows", {{"all", true}});
    EXPECT_EQ(kelvo::JSONWriter::write(result), R"({"args":{"all":true},"op":"windows"})");
    EXPECT_THROW(client.call("fail"), RemoteError);
    client.call("notify");
    {
        std::lock_guard lock(mutex);
        EXPECT_EQ(events, std::vector<std::string>{R"(something happened {"n":1})"});
    }
    // Several threads waiting at once each get their own reply.
    std::vector<std::thread> threads;
    std::atomic<int> matched{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i) {
                auto reply = client.call("op" + std::to_string(t), {{"i", i}});
                if (reply["op"] == "op" + std::to_string(t) && reply["args"]["i"] == i) ++matched;
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(matched.load(), 200);
}

TEST_F(SocketServerTest, ACallFailsWhenTheServerGoes) {
    serve();
    LineClient client(path());
    bool told = false;
    client.setDisconnectHandler([&] { told = true; });
    client.start({});
    EXPECT_THROW(client.call("bye"), DesktopGone);
    EXPECT_FALSE(client.isConnected());
    EXPECT_THROW(client.call("anything"), DesktopGone);
    EXPECT_TRUE(told);
}

// The command line's client: no reader thread, each call reading its own reply; what the
// desktop says unasked before a reply is passed over, and the end of the connection and the
// limits fail a call as they do with a reader.
TEST_F(SocketServerTest, AClientNeverStartedReadsEachReplyOnTheCallingThread) {
    serve();
    const auto threads = [] { return kelvo::testing::entriesIn("/proc/self/task"); };
    const auto before = threads();
    LineClient client(path());
    EXPECT_EQ(kelvo::JSONWriter::write(client.call("windows", {{"all", true}})),
              R"({"args":{"all":true},"op":"windows"})");
    EXPECT_THROW(client.call("fail"), RemoteError);
    client.call("notify");
    EXPECT_EQ(client.call("quick")["op"], "quick");
    EXPECT_EQ(threads(), before);
    EXPECT_THROW(client.call("bye"), DesktopGone);
    EXPECT_FALSE(client.isConnected());
    EXPECT_THROW(client.call("quick"), DesktopGone);

    LineClient limited(path(), std::chrono::milliseconds(300));
    EXPECT_THROW(limited.call("ignore", kelvo::JSONValue::object(), std::chrono::milliseconds(50)),
                 NoAnswerInTime);
    EXPECT_TRUE(limited.isConnected());
    const auto sent = std::chrono::steady_clock::now();
    EXPECT_THROW(limited.call("ignore"), DesktopGone);
    EXPECT_GE(std::chrono::steady_clock::now() - sent, std::chrono::milliseconds(300));
    EXPECT_EQ(limited.lostReason(), "the desktop did not answer within 0.3 s");
}

TEST_F(SocketServerTest, ABurstOfOneClientDelaysAnotherByAFewLinesOnly) {
    // The first line of the burst holds the server until the other client's line is on its
    // way, so the burst and that line wait together.
    struct Turns {
        std::mutex mutex;
        std::condition_variable changed;
        bool burstStarted = false;
        bool otherSent = false;
        std::vector<std::string> order;
    };
    const auto turns = std::make_shared<Turns>();
    server_ = std::make_unique<SocketServer>(path(), SocketServer::Limits{}, "{}");
    SocketServer::Handlers handlers;
    handlers.line = [turns](SocketServer::ClientID, std::string line) {
        std::unique_lock lock(turns->mutex);
        if (line == "burst 0") {
            turns->burstStarted = true;
            turns->changed.notify_all();
            turns->changed.wait_for(lock, generous, [&] { return turns->otherSent; });
        }
        turns->order.push_back(line);
        turns->changed.notify_all();
    };
    server_->start(std::move(handlers));
    RawPeer burst(path());
    RawPeer other(path());
    std::string lines;
    for (int i = 0; i < 4000; ++i)
        lines += "burst " + std::to_string(i) + "\n";
    burst.write(lines);
    std::unique_lock lock(turns->mutex);
    ASSERT_TRUE(turns->changed.wait_for(lock, generous, [&] { return turns->burstStarted; }));
    other.write("other\n");
    turns->otherSent = true;
    turns->changed.notify_all();
    const auto heard = [&] {
        return std::find(turns->order.begin(), turns->order.end(), "other") != turns->order.end();
    };
    ASSERT_TRUE(turns->changed.wait_for(lock, generous, heard));
    const auto position =
        std::find(turns->order.begin(), turns->order.end(), "other") - turns->order.begin();
    // A few turns of the burst at most, never the whole of it.
    EXPECT_LE(position, 16);
}

TEST_F(SocketServerTest, ADesktopThatDoesNotAnswerWithinTheDeadlineIsLost) {
    serve();
    LineClient client(path(), std::chrono::milliseconds(200));
    // The reader tells of the end once it has seen it, after the call has failed.
    std::promise<void> told;
    client.setDisconnectHandler([&] { told.set_value(); });
    client.start({});
    EXPECT_EQ(client.call("quick")["op"], "quick");
    const auto sent = std::chrono::steady_clock::now();
    EXPECT_THROW(client.call("ignore"), DesktopGone);
    EXPECT_GE(std::chrono::steady_clock::now() - sent, std::chrono::milliseconds(200));
    EXPECT_FALSE(client.isConnected());
    EXPECT_EQ(client.lostReason(), "the desktop did not answer within 0.2 s");
    EXPECT_TRUE(record_.waitFor([](Record& r) { return r.disconnected == 1; }));
    EXPECT_EQ(told.get_future().wait_for(generous), std::future_status::ready);
    EXPECT_THROW(client.call("quick"), DesktopGone);
}

TEST_F(SocketServerTest, ACallWithItsOwnLimitFailsAloneUntilTheDesktopHasBeenSilentTooLong) {
    serve();
    LineClient client(path(), std::chrono::milliseconds(300));
    client.start({});
    // Unanswered within its own limit: the call fails, the connection stays.
    EXPECT_THROW(client.call("ignore", kelvo::JSONValue::object(), std::chrono::milliseconds(50)),
                 NoAnswerInTime);
    EXPECT_TRUE(client.isConnected());
    // Anything heard from the desktop shows it alive.
    EXPECT_EQ(client.call("quick")["op"], "quick");
    for (int i = 0; i < 4; ++i) {
        EXPECT_THROW(
            client.call("ignore", kelvo::JSONValue::object(), std::chrono::milliseconds(50)),
            NoAnswerInTime);
    }
    EXPECT_TRUE(client.isConnected());
    // Silent since the first of those calls, past the deadline now.
    bool lost = false;
    for (int i = 0; i < 10 && !lost; ++i) {
        try {
            client.call("ignore", kelvo::JSONValue::object(), std::chrono::milliseconds(50));
        } catch (const NoAnswerInTime&) {
        } catch (const DesktopGone&) {
            lost = true;
        }
    }
    EXPECT_TRUE(lost);
    EXPECT_EQ(client.lostReason(), "the desktop did not answer within 0.3 s");
}

TEST_F(SocketServerTest, ScheduledWorkRunsInTimeOrder) {
    serve();
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<int> ran;
    const auto now = std::chrono::steady_clock::now();
    for (int n : {3, 1, 2}) {
        server_->schedule(now + std::chrono::milliseconds(300 * n), [&, n] {
            std::lock_guard lock(mutex);
            ran.push_back(n);
            changed.notify_all();
        });
    }
    LineClient client(path(), generous);
    client.start({});
    EXPECT_EQ(client.call("quick")["op"], "quick");
    std::unique_lock lock(mutex);
    EXPECT_TRUE(changed.wait_for(lock, generous, [&] { return ran.size() == 3; }));
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
}

TEST_F(SocketServerTest, AHeldCallWaitsItsOwnLimitPastTheDeadlineAndOthersAreAnswered) {
    serve();
    LineClient client(path(), 200ms);
    client.start({});
    // Held past the connection deadline and answered within the call's own limit.
    auto held = std::async(std::launch::async, [&] {
        return client.call("hold", {{"ms", 500}}, std::chrono::milliseconds(2000));
    });
    EXPECT_EQ(client.call("quick")["op"], "quick");
    EXPECT_EQ(held.get()["op"], "hold");
    EXPECT_TRUE(client.isConnected());
    // Never answered: the call fails at its own limit and the connection stays.
    const auto sent = std::chrono::steady_clock::now();
    EXPECT_THROW(client.call("holdForEver", kelvo::JSONValue::object(), 600ms), NoAnswerInTime);
    EXPECT_GE(std::chrono::steady_clock::now() - sent, 600ms);
    EXPECT_TRUE(client.isConnected());
    EXPECT_EQ(client.call("quick")["op"], "quick");
}

TEST_F(SocketServerTest, AnUnheldCallWithALongerLimitEndsAtTheDeadline) {
    serve();
    LineClient client(path(), 200ms);
    client.start({});
    EXPECT_THROW(client.call("ignore", kelvo::JSONValue::object(), 2s), DesktopGone);
    EXPECT_FALSE(client.isConnected());
}

TEST_F(SocketServerTest, AQuietDesktopIsAskedAfterEachSpellAndItsAnswerKeepsTheConnection) {
    serve();
    LineClient client(path(), 200ms, 100ms);
    client.start({});
    EXPECT_TRUE(record_.waitFor([](Record& r) { return requestsOf(r.lines, "ping") >= 3; }));
    EXPECT_TRUE(client.isConnected());
    EXPECT_EQ(client.call("quick")["op"], "quick");
}

TEST_F(SocketServerTest, AQuietDesktopThatDoesNotAnswerIsLostTwoSpellsAfterTheQuestion) {
    serve();
    mute_ = true;
    std::promise<void> told;
    LineClient client(path(), 10s, 100ms);
    client.setDisconnectHandler([&] { told.set_value(); });
    const auto started = std::chrono::steady_clock::now();
    client.start({});
    ASSERT_EQ(told.get_future().wait_for(generous), std::future_status::ready);
    EXPECT_GE(std::chrono::steady_clock::now() - started, 300ms) << "a spell, then two more";
    EXPECT_FALSE(client.isConnected());
    EXPECT_EQ(client.lostReason(), "the desktop did not answer within 0.2 s");
    EXPECT_EQ(linesOf("ping"), 1u);
    EXPECT_THROW(client.call("quick"), DesktopGone);
}

TEST_F(SocketServerTest, ACallHeldForALateApplicationIsNoSilenceOfTheDesktop) {
    serve();
    LineClient client(path(), 200ms, 100ms);
    client.start({});
    // Held four times as long as a silent desktop may take; the desktop answers the question
    // meanwhile.
    EXPECT_THROW(client.call("holdForEver", kelvo::JSONValue::object(), 1200ms), NoAnswerInTime);
    EXPECT_TRUE(client.isConnected());
    EXPECT_GE(linesOf("ping"), 2u);
    EXPECT_EQ(client.call("quick")["op"], "quick");
}

TEST_F(SocketServerTest, AQuestionThatCouldNotGoOutIsAskedAtTheNextSpell) {
    serve();
    LineClient client(path(), 10s, 1s);
    client.start({});
    // The desktop reads nothing for a spell and a half while a long line waits to be written:
    // when the first spell ends the question cannot go out. It can at the second, once the
    // desktop has had half a spell to read the line, which a busy machine may need.
    client.post("nap", {{"ms", 1500}});
    client.post("long", {{"text", std::string(900'000, 'x')}});
    EXPECT_TRUE(record_.waitFor([](Record& r) { return requestsOf(r.lines, "ping") >= 1; }));
    EXPECT_TRUE(client.isConnected()) << client.lostReason();
    EXPECT_EQ(client.call("quick")["op"], "quick");
}

TEST_F(SocketServerTest, TheReasonALostDesktopGivesIsItsOwn) {
    serve();
    LineClient client(path(), std::chrono::seconds(10));
    client.start({});
    EXPECT_EQ(client.lostReason(), "");
    server_.reset();
    EXPECT_THROW(client.call("anything"), DesktopGone);
    EXPECT_EQ(client.lostReason(), "the desktop closed the connection");
}

}  // namespace
}  // namespace sim
