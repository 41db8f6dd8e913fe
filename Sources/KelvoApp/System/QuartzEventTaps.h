#pragma once

#include <map>
#include <memory>

#include "Base/Foundation/CFRunLoop.h"
#include "KelvoApp/Input/EventTaps.h"
#include "Platform/Quartz/CGEventTap.h"

namespace kelvo {

/// Event taps of the window server: session-level taps at the head of the list, their sources
/// on the main run loop in the common modes.
class QuartzEventTaps : public EventTaps {
  public:
    QuartzEventTaps() = default;
    ~QuartzEventTaps() override;
    QuartzEventTaps(const QuartzEventTaps&) = delete;
    QuartzEventTaps& operator=(const QuartzEventTaps&) = delete;

    std::optional<Tap> create(std::uint64_t mask, bool listenOnly, Callback callback) override;
    void enable(Tap tap, bool enabled) override;
    void addSource(Tap tap) override;
    void removeSource(Tap tap) override;

  private:
    struct Made {
        CFMachPortRef port;
        CFRunLoopSourceRef source;
        /// Held by address as the callback's context.
        std::unique_ptr<Callback> callback;
    };
    static CGEventRef handle(CGEventTapProxy proxy, CGEventType type, CGEventRef event,
                             void* context);

    std::map<Tap, Made> taps_;
    Tap next_ = 1;
};

}  // namespace kelvo
