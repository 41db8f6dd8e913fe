#pragma once

#include <deque>
#include <memory>

#include "Base/Foundation/CFRunLoop.h"
#include "Base/Foundation/Mutex.h"
#include "Platform/Quartz/CGEvent.h"
#include "Simulator/DesktopEvent.h"

// Event taps. A tap sees the events of its mask before the applications do, in the order the
// taps were made (those inserted at the head first). Its callback runs on the run loop its
// source was added to; an active tap passes the event it returns (changed or not) and swallows
// it by returning null. A tap whose callback does not answer within the system's timeout is
// disabled, and its callback is then told so with `kCGEventTapDisabledByTimeout`.

using CGEventTapPlacement = std::uint32_t;
inline constexpr CGEventTapPlacement kCGHeadInsertEventTap = 0;
inline constexpr CGEventTapPlacement kCGTailAppendEventTap = 1;

using CGEventTapOptions = std::uint32_t;
inline constexpr CGEventTapOptions kCGEventTapOptionDefault = 0;
inline constexpr CGEventTapOptions kCGEventTapOptionListenOnly = 1;

using CGEventTapProxy = void*;
using CGEventTapCallBack = CGEventRef (*)(CGEventTapProxy proxy, CGEventType type, CGEventRef event,
                                          void* userInfo);

/// The tap (the platform hands taps out as ports).
class CFMachPort final : public CFObject, public std::enable_shared_from_this<CFMachPort> {
  public:
    CFMachPort(std::uint64_t tap, CGEventTapCallBack callback, void* userInfo);
    ~CFMachPort() override;
    CFMachPort(const CFMachPort&) = delete;
    CFMachPort& operator=(const CFMachPort&) = delete;

    std::uint64_t tap() const { return tap_; }
    /// The port's one run-loop source, made on first request.
    CFRunLoopSourceRef runLoopSource();
    void invalidate();
    bool isValid() const;
    /// Queues an event from the desktop and signals the source.
    void receive(const sim::TapEventDelivery& delivery);

  private:
    void deliverPending();

    std::uint64_t tap_;
    CGEventTapCallBack callback_;
    void* userInfo_;
    mutable Mutex mutex_;
    CFRunLoopSourceRef source_ GUARDED_BY(mutex_);
    std::deque<sim::TapEventDelivery> pending_ GUARDED_BY(mutex_);
    bool valid_ GUARDED_BY(mutex_) = true;
};
using CFMachPortRef = std::shared_ptr<CFMachPort>;
using CFAllocatorRef = const void*;
inline constexpr CFAllocatorRef kCFAllocatorDefault = nullptr;
using CFIndex = long;

/// A tap, enabled; null when the system refuses one.
CFMachPortRef CGEventTapCreate(CGEventTapLocation tap, CGEventTapPlacement place,
                               CGEventTapOptions options, CGEventMask eventsOfInterest,
                               CGEventTapCallBack callback, void* userInfo);
void CGEventTapEnable(const CFMachPortRef& tap, bool enable);
bool CGEventTapIsEnabled(const CFMachPortRef& tap);
/// The tap's run-loop source; null for a null or invalidated tap.
CFRunLoopSourceRef CFMachPortCreateRunLoopSource(CFAllocatorRef allocator,
                                                 const CFMachPortRef& port, CFIndex order);
void CFMachPortInvalidate(const CFMachPortRef& port);
