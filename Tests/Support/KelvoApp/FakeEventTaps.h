#pragma once

#include <map>
#include <vector>

#include "KelvoApp/Input/EventTaps.h"

namespace kelvo {

/// Event taps by hand: a test delivers an event and sees whether the taps passed it.
class FakeEventTaps : public EventTaps {
  public:
    struct Entry {
        std::uint64_t mask = 0;
        bool listenOnly = false;
        Callback callback;
        bool enabled = false;
        bool installed = false;
    };

    /// Creations still to fail, in order: true fails the next one.
    std::vector<bool> failures;
    std::map<Tap, Entry> taps;
    int created = 0;
    /// When set, each tap made is written there as "[taps] create" and its mask.
    int recordFD = -1;

    std::optional<Tap> create(std::uint64_t mask, bool listenOnly, Callback callback) override;
    void enable(Tap tap, bool enabled) override;
    void addSource(Tap tap) override;
    void removeSource(Tap tap) override;

    /// Through every installed tap that wants the type, newest first as head insertion puts
    /// them; none when one swallowed it.
    std::optional<TapEvent> deliver(std::uint32_t type, const TapEvent& event);
    /// The system disables a tap; its next callback is told so.
    std::optional<TapEvent> disable(Tap tap, std::uint32_t why = tapDisabledByTimeout);
    std::size_t installedCount() const;
    /// The installed tap for the event type, if any.
    std::optional<Tap> tapFor(std::uint32_t type) const;
};

}  // namespace kelvo
