#include "KelvoApp/System/AXWindowEvents.h"

#include "Base/Foundation/DispatchQueue.h"
#include "KelvoAX/Bridge/AXWindowBridge.h"

namespace kelvo {

namespace {

AXEventStream::Receiver hopToMain(const std::shared_ptr<AXWindowEvents::Handler>& handle) {
    const std::weak_ptr<AXWindowEvents::Handler> weak = handle;
    return [weak](const WindowEvent& event) {
        DispatchQueue::main().async([weak, event] {
            if (const auto alive = weak.lock(); alive && *alive) (*alive)(event);
        });
    };
}

}  // namespace

AXWindowEvents::AXWindowEvents(Handler handle)
    : handle_(std::make_shared<Handler>(std::move(handle))), stream_(hopToMain(handle_)) {}

void AXWindowEvents::start() {
    stream_.start();
}

void AXWindowEvents::track(WindowID id, const WindowElementRef& element) {
    stream_.track(id, AXWindowBridge::elementIn(element));
}

void AXWindowEvents::stop() {
    stream_.stop();
}

}  // namespace kelvo
