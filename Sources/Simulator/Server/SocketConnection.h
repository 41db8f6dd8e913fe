#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <unordered_map>

#include "Base/Foundation/ConditionVariable.h"
#include "Base/Foundation/Mutex.h"
#include "Simulator/ApplicationList.h"
#include "Simulator/Server/DesktopClient.h"
#include "Simulator/Server/SocketForwarder.h"

namespace sim {

/// A connection to a desktop served by another process (`kelvo-sim serve`), over its socket.
/// Each call is one request and waits for its reply; events arrive on the connection's reader
/// thread and go to the sink, in order, from a delivery thread of their own: a sink may then
/// call the desktop back (a workspace notification asking about its application) while the
/// reader goes on reading that call's reply. Once the desktop is gone every call fails the way
/// `DisconnectedConnection`'s do.
///
/// What the platform answers within the process is answered here too: the running
/// applications come from a list kept current by the workspace news (`ApplicationList`), the
/// displays from the last answer until the desktop says they changed, the pressed mouse
/// buttons from the last answer or the desktop's word of a press or release since, and an
/// element's window number, which cannot change while the element exists, from its first
/// answer.
class SocketConnection final : public SocketForwarder {
  public:
    /// Connects to the server at `path` (throws SocketError when nothing serves there). With a
    /// deadline, a desktop that leaves a request unanswered that long counts as gone; with a
    /// quiet spell, one that says nothing that long is asked whether it is there
    /// (`LineClient`).
    explicit SocketConnection(const std::string& path,
                              std::optional<LineClient::Clock::duration> deadline = std::nullopt,
                              std::optional<LineClient::Clock::duration> quietSpell = std::nullopt);
    ~SocketConnection() override;

    bool isConnected() const { return lines_->isConnected(); }
    /// Why the desktop went away, for a person; empty while it is there.
    std::string lostReason() const { return lines_->lostReason(); }
    /// Called on the reader thread when the desktop goes away.
    void setDisconnectHandler(std::function<void()> handler);
    /// Every operation of the desktop on this connection, the application's and the command
    /// line's too, each throwing when the desktop refuses or is gone.
    DesktopClient& client() { return client_; }
    /// The line client underneath, for requests written by hand.
    LineClient& lines() { return *lines_; }

    void setEventSink(EventSink sink) override;
    Pid registerClient(const ApplicationSpec& self) override;
    Pid clientPid() const override { return pid_.load(); }

    std::vector<ApplicationInfo> runningApplications() override;
    std::vector<DisplayInfo> displays() override;
    /// An application the list never saw is asked about.
    std::optional<ApplicationInfo> application(Pid pid) override;
    std::uint32_t pressedMouseButtons() override;
    WindowNumberReply windowNumber(ElementID element) override;
    /// This process's own change is news to its list.
    void setActivationPolicy(Pid pid, ActivationPolicy policy) override;

  private:
    /// The sink and the events waiting for it, shared with the reader thread, which only
    /// queues them; the delivery thread hands them over one at a time.
    struct SinkSlot {
        Mutex mutex;
        ConditionVariable queued;
        std::deque<DesktopEvent> events GUARDED_BY(mutex);
        bool stopping GUARDED_BY(mutex) = false;
        EventSink sink GUARDED_BY(mutex);
    };
    void deliverEvents();

    /// The displays as last asked, until the reader thread hears that they changed (each
    /// change counted, so that an answer on its way across a change is not kept).
    struct KnownDisplays {
        Mutex mutex;
        std::optional<std::vector<DisplayInfo>> displays GUARDED_BY(mutex);
        std::uint64_t changes GUARDED_BY(mutex) = 0;
    };

    std::shared_ptr<SinkSlot> slot_ = std::make_shared<SinkSlot>();
    /// Shared with the reader thread, which notes the news in it.
    std::shared_ptr<ApplicationList> applications_ = std::make_shared<ApplicationList>(
        [this] { return SocketForwarder::runningApplications(); });
    std::shared_ptr<KnownDisplays> displays_ = std::make_shared<KnownDisplays>();
    /// The buttons as last asked or told; told ones replace an answer on its way.
    struct KnownButtons {
        Mutex mutex;
        std::optional<std::uint32_t> buttons GUARDED_BY(mutex);
        std::uint64_t changes GUARDED_BY(mutex) = 0;
    };
    std::shared_ptr<KnownButtons> buttons_ = std::make_shared<KnownButtons>();
    /// The window numbers told so far, by element; forgotten all at once past `limit`, so
    /// that the elements of long-gone windows do not pile up.
    struct KnownWindowNumbers {
        static constexpr std::size_t limit = 4096;
        Mutex mutex;
        std::unordered_map<std::uint64_t, WindowNumber> numbers GUARDED_BY(mutex);
    };
    KnownWindowNumbers windowNumbers_;
    DesktopClient client_{*lines_};
    std::thread delivery_;
    std::atomic<Pid> pid_{0};
};

}  // namespace sim
