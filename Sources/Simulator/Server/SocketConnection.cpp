#include "Simulator/Server/SocketConnection.h"

#include "Base/Foundation/MutexLock.h"
#include "Simulator/Server/DesktopMessages.h"
#include "Simulator/SharedConnection.h"

namespace sim {

using kelvo::JSONValue;

SocketConnection::SocketConnection(const std::string& path,
                                   std::optional<LineClient::Clock::duration> deadline,
                                   std::optional<LineClient::Clock::duration> quietSpell)
    : SocketForwarder(path, deadline, quietSpell) {
    lines_->start([slot = slot_, applications = applications_, displays = displays_,
                   buttons = buttons_](const std::string& name, const JSONValue& body) {
        auto event = DesktopMessages::decodeEvent(name, body);
        if (!event) return;
        if (const auto* held = std::get_if<MouseButtonsChanged>(&*event)) {
            MutexLock lock(buttons->mutex);
            buttons->buttons = held->buttons;
            ++buttons->changes;
            return;
        }
        if (std::holds_alternative<WorkspaceNotification>(*event)) applications->noteNews();
        if (std::holds_alternative<ScreenParametersChanged>(*event)) {
            MutexLock lock(displays->mutex);
            displays->displays.reset();
            ++displays->changes;
        }
        reportNews(*event);
        {
            MutexLock lock(slot->mutex);
            slot->events.push_back(std::move(*event));
        }
        slot->queued.notifyOne();
    });
    delivery_ = std::thread([this] { deliverEvents(); });
}

SocketConnection::~SocketConnection() {
    // A sink still running may wait on a reply, which the reader reads: the delivery ends
    // before the connection closes (the forwarder closes it).
    {
        MutexLock lock(slot_->mutex);
        slot_->stopping = true;
    }
    slot_->queued.notifyOne();
    delivery_.join();
}

void SocketConnection::deliverEvents() {
    MutexLock lock(slot_->mutex);
    for (;;) {
        slot_->queued.wait(slot_->mutex, [&]() REQUIRES(slot_->mutex) {
            return slot_->stopping || !slot_->events.empty();
        });
        if (slot_->stopping) return;
        const DesktopEvent event = std::move(slot_->events.front());
        slot_->events.pop_front();
        const EventSink sink = slot_->sink;
        lock.unlock();
        if (sink) sink(event);
        lock.lock();
    }
}

void SocketConnection::setDisconnectHandler(std::function<void()> handler) {
    lines_->setDisconnectHandler(std::move(handler));
}

void SocketConnection::setEventSink(EventSink sink) {
    MutexLock lock(slot_->mutex);
    slot_->sink = std::move(sink);
}

std::vector<ApplicationInfo> SocketConnection::runningApplications() {
    return applications_->running();
}

std::vector<DisplayInfo> SocketConnection::displays() {
    if (!isConnected()) return SocketForwarder::displays();
    std::uint64_t changes;
    {
        MutexLock lock(displays_->mutex);
        if (displays_->displays) return *displays_->displays;
        changes = displays_->changes;
    }
    // Asked without the lock: the reader thread, which brings the answer, takes it.
    std::vector<DisplayInfo> asked = SocketForwarder::displays();
    MutexLock lock(displays_->mutex);
    if (displays_->changes == changes) displays_->displays = asked;
    return asked;
}

std::uint32_t SocketConnection::pressedMouseButtons() {
    if (!isConnected()) return SocketForwarder::pressedMouseButtons();
    std::uint64_t changes;
    {
        MutexLock lock(buttons_->mutex);
        if (buttons_->buttons) return *buttons_->buttons;
        changes = buttons_->changes;
    }
    const std::uint32_t asked = SocketForwarder::pressedMouseButtons();
    MutexLock lock(buttons_->mutex);
    if (buttons_->changes == changes) buttons_->buttons = asked;
    return buttons_->changes == changes ? asked : *buttons_->buttons;
}

WindowNumberReply SocketConnection::windowNumber(ElementID element) {
    {
        MutexLock lock(windowNumbers_.mutex);
        const auto found = windowNumbers_.numbers.find(element.raw);
        if (found != windowNumbers_.numbers.end()) return {AccessError::success, found->second};
    }
    const WindowNumberReply asked = SocketForwarder::windowNumber(element);
    if (asked.error != AccessError::success) return asked;
    MutexLock lock(windowNumbers_.mutex);
    if (windowNumbers_.numbers.size() >= KnownWindowNumbers::limit) windowNumbers_.numbers.clear();
    windowNumbers_.numbers[element.raw] = asked.number;
    return asked;
}

std::optional<ApplicationInfo> SocketConnection::application(Pid pid) {
    if (auto known = applications_->application(pid)) return known;
    return SocketForwarder::application(pid);
}

void SocketConnection::setActivationPolicy(Pid pid, ActivationPolicy policy) {
    SocketForwarder::setActivationPolicy(pid, policy);
    applications_->noteNews();
}

Pid SocketConnection::registerClient(const ApplicationSpec& self) {
    pid_ = SocketForwarder::registerClient(self);
    return pid_;
}

}  // namespace sim
