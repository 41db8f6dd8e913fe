#include "Support/KelvoApp/FakeEventTaps.h"

#include <string>

#include "Base/Foundation/FileSystem.h"

namespace kelvo {

std::optional<EventTaps::Tap> FakeEventTaps::create(std::uint64_t mask, bool listenOnly,
                                                    Callback callback) {
    if (!failures.empty()) {
        const bool fail = failures.front();
        failures.erase(failures.begin());
        if (fail) return std::nullopt;
    }
    const Tap tap = ++created;
    if (recordFD >= 0) writeAll(recordFD, "[taps] create " + std::to_string(mask) + "\n");
    taps[tap] = Entry{mask, listenOnly, std::move(callback), false, false};
    return tap;
}

void FakeEventTaps::enable(Tap tap, bool enabled) {
    if (auto found = taps.find(tap); found != taps.end()) found->second.enabled = enabled;
}

void FakeEventTaps::addSource(Tap tap) {
    if (auto found = taps.find(tap); found != taps.end()) found->second.installed = true;
}

void FakeEventTaps::removeSource(Tap tap) {
    taps.erase(tap);
}

std::optional<TapEvent> FakeEventTaps::deliver(std::uint32_t type, const TapEvent& event) {
    std::optional<TapEvent> current = event;
    for (auto it = taps.rbegin(); it != taps.rend() && current; ++it) {
        Entry& entry = it->second;
        if (!entry.installed || !entry.enabled || !(entry.mask & maskOf(type))) continue;
        const auto answered = entry.callback(type, *current);
        if (!entry.listenOnly) current = answered;
    }
    return current;
}

std::optional<TapEvent> FakeEventTaps::disable(Tap tap, std::uint32_t why) {
    auto found = taps.find(tap);
    if (found == taps.end()) return std::nullopt;
    found->second.enabled = false;
    return found->second.callback(why, TapEvent{});
}

std::size_t FakeEventTaps::installedCount() const {
    std::size_t count = 0;
    for (const auto& [tap, entry] : taps)
        count += entry.installed ? 1 : 0;
    return count;
}

std::optional<EventTaps::Tap> FakeEventTaps::tapFor(std::uint32_t type) const {
    for (const auto& [tap, entry] : taps) {
        if (entry.installed && (entry.mask & maskOf(type))) return tap;
    }
    return std::nullopt;
}

}  // namespace kelvo
