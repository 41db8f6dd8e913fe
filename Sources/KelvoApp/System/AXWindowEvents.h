#pragma once

#include <functional>
#include <memory>

#include "KelvoAX/Events/AXEventStream.h"
#include "KelvoApp/Interfaces/WindowEventSource.h"

namespace kelvo {

/// The Accessibility event stream as the coordinator drives it, handing each event to the
/// handler it is made with. Every event is copied off the
/// stream's thread onto the main queue and handled there; nothing else happens on the stream's
/// thread. Handling that was queued when this source goes away does nothing.
class AXWindowEvents final : public WindowEventSource {
  public:
    using Handler = std::function<void(const WindowEvent&)>;

    /// `handle` runs on the main queue, one event at a time, in the stream's order.
    explicit AXWindowEvents(Handler handle);

    void start() override;
    void track(WindowID id, const WindowElementRef& element) override;
    void stop() override;

  private:
    /// Declared before the stream so that it outlives the stream's thread.
    std::shared_ptr<Handler> handle_;
    AXEventStream stream_;
};

}  // namespace kelvo
