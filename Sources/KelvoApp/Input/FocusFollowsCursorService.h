#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "KelvoApp/Input/EventTaps.h"

namespace kelvo {

/// Watches the pointer for focus-follows-pointer: a listen-only mouse-moved tap whose stream
/// of moves becomes at most one resolution per `debounce`, on the main queue.
class FocusFollowsCursorService {
  public:
    FocusFollowsCursorService(EventTaps& taps, double debounce, std::function<void(CGPoint)> onMove,
                              std::function<bool()> isSuppressed,
                              std::function<void()> whileSuppressed);
    ~FocusFollowsCursorService();
    FocusFollowsCursorService(const FocusFollowsCursorService&) = delete;
    FocusFollowsCursorService& operator=(const FocusFollowsCursorService&) = delete;

    std::optional<EventTaps::Tap> tap;
    std::optional<EventTaps::Tap> source;
    CGPoint latestPoint;
    bool resolveScheduled = false;
    double debounce;
    std::function<void(CGPoint)> onMove;
    std::function<bool()> isSuppressed;
    std::function<void()> whileSuppressed;

    /// Throws `HotkeyError` when no tap can be made.
    void start();
    void stop();
    TapEvent handle(std::uint32_t type, const TapEvent& event);

  private:
    void resolve();

    EventTaps& taps_;
    std::shared_ptr<FocusFollowsCursorService*> context_;
};

}  // namespace kelvo
