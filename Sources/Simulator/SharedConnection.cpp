#include "Simulator/SharedConnection.h"

#include "Base/Foundation/Mutex.h"
#include "Base/Foundation/MutexLock.h"
#include "Base/Foundation/News.h"

#include <array>
#include <atomic>
#include <utility>

namespace sim {

namespace {

constexpr std::size_t topicCount = 7;

struct Router {
    Mutex mutex;
    std::shared_ptr<DesktopConnection> connection GUARDED_BY(mutex) =
        std::make_shared<DisconnectedConnection>();
    std::array<SharedConnection::Handler, topicCount> handlers GUARDED_BY(mutex);
};

Router& router() {
    static Router* shared = new Router();  // lives as long as the process
    return *shared;
}

}  // namespace

std::shared_ptr<DesktopConnection> SharedConnection::current() {
    MutexLock lock(router().mutex);
    return router().connection;
}

void SharedConnection::install(std::shared_ptr<DesktopConnection> connection) {
    if (!connection) connection = std::make_shared<DisconnectedConnection>();
    connection->setEventSink([](const DesktopEvent& event) { route(event); });
    std::shared_ptr<DesktopConnection> previous;
    {
        MutexLock lock(router().mutex);
        previous = std::exchange(router().connection, std::move(connection));
    }
    if (previous) previous->setEventSink({});
}

void SharedConnection::setHandler(Topic topic, Handler handler) {
    MutexLock lock(router().mutex);
    router().handlers[static_cast<std::size_t>(topic)] = std::move(handler);
}

SharedConnection::Topic SharedConnection::topicOf(const DesktopEvent& event) {
    struct Classify {
        Topic operator()(const ObserverNotification&) const { return Topic::observers; }
        Topic operator()(const WorkspaceNotification&) const { return Topic::workspace; }
        Topic operator()(const ScreenParametersChanged&) const { return Topic::screens; }
        Topic operator()(const TapEventDelivery&) const { return Topic::taps; }
        Topic operator()(const TerminateRequested&) const { return Topic::application; }
        Topic operator()(const OwnWindowInput&) const { return Topic::interface; }
        Topic operator()(const StatusItemInput&) const { return Topic::interface; }
        Topic operator()(const CloseButtonPressed&) const { return Topic::interface; }
        Topic operator()(const ZoomButtonPressed&) const { return Topic::interface; }
        Topic operator()(const KeyStatusLost&) const { return Topic::interface; }
        Topic operator()(const MouseButtonsChanged&) const { return Topic::input; }
    };
    return std::visit(Classify{}, event);
}

void SharedConnection::route(const DesktopEvent& event) {
    Handler handler;
    {
        MutexLock lock(router().mutex);
        handler = router().handlers[static_cast<std::size_t>(topicOf(event))];
    }
    if (handler) handler(event);
}

void reportNews(const DesktopEvent& event) {
    if (const auto* notification = std::get_if<ObserverNotification>(&event)) {
        // A move or a resize, the echo of a frame write among them, changes the frame alone.
        if (notification->name == "AXWindowMoved" || notification->name == "AXWindowResized") {
            News::movedAbout(notification->element.raw);
        } else {
            News::arrivedAbout(notification->element.raw);
        }
        return;
    }
    // An application that ends takes its windows along without a word about each, and only
    // its own; the displays changing may move any window. Activations and hiding move none.
    const auto* workspace = std::get_if<WorkspaceNotification>(&event);
    if (workspace && workspace->kind == WorkspaceNotification::Kind::terminated) {
        News::arrivedAboutGroup(static_cast<std::uint64_t>(workspace->pid));
    } else if (std::holds_alternative<ScreenParametersChanged>(event)) {
        News::arrived();
    }
}

std::uint64_t nextProcessUniqueIdentifier() {
    static std::atomic<std::uint64_t> next{1};
    return next.fetch_add(1);
}

}  // namespace sim
