#pragma once

#include "KelvoCore/Geometry/WindowID.h"
#include "KelvoCore/Store/CoordinatorBridge.h"

namespace kelvo {

/// The Accessibility event stream as the coordinator drives it.
class WindowEventSource {
  public:
    virtual ~WindowEventSource() = default;
    virtual void start() = 0;
    /// Observes a window adopted by another road than its created event.
    virtual void track(WindowID id, const WindowElementRef& element) = 0;
    virtual void stop() = 0;
};

}  // namespace kelvo
