#include "KelvoApp/Input/HotkeyService.h"

#include "Base/Foundation/DispatchQueue.h"
#include "KelvoCore/Keys/KeyCode.h"
#include "KelvoCore/Keys/MouseChord.h"

namespace kelvo {

HotkeyService::HotkeyService(EventTaps& taps, Keymap keymap,
                             std::function<void(const Command&)> onCommand)
    : keymap(std::move(keymap)),
      onCommand(std::move(onCommand)),
      taps_(taps),
      context_(std::make_shared<HotkeyService*>(this)) {}

HotkeyService::~HotkeyService() {
    teardown();
    stopClickBinding();
}

EventTaps::Tap HotkeyService::makeTap() {
    return makeTap(EventTaps::maskOf(EventTaps::keyDown));
}

EventTaps::Tap HotkeyService::makeTap(std::uint64_t mask) {
    std::weak_ptr<HotkeyService*> context = context_;
    const auto made = taps_.create(mask, false, [context](std::uint32_t type, const TapEvent& e) {
        const auto service = context.lock();
        if (!service) return std::optional<TapEvent>(e);
        return (*service)->handle(type, e);
    });
    if (!made) throw HotkeyError();
    return *made;
}

void HotkeyService::install(EventTaps::Tap newTap, EventTaps::Tap newSource) {
    tap = newTap;
    source = newSource;
    taps_.addSource(newSource);
    taps_.enable(newTap, true);
}

void HotkeyService::teardown() {
    if (tap) taps_.enable(*tap, false);
    if (source) taps_.removeSource(*source);
    tap.reset();
    source.reset();
}

void HotkeyService::startClickBinding() {
    if (mouseTap) return;
    const EventTaps::Tap made = makeTap(EventTaps::maskOf(EventTaps::leftMouseDown));
    mouseTap = made;
    mouseSource = made;
    taps_.addSource(made);
    taps_.enable(made, true);
}

void HotkeyService::stopClickBinding() {
    if (mouseTap) taps_.enable(*mouseTap, false);
    if (mouseSource) taps_.removeSource(*mouseSource);
    mouseTap.reset();
    mouseSource.reset();
}

std::optional<TapEvent> HotkeyService::handle(std::uint32_t type, const TapEvent& event) {
    if (type == EventTaps::tapDisabledByTimeout || type == EventTaps::tapDisabledByUserInput) {
        if (tap) taps_.enable(*tap, true);
        if (mouseTap) taps_.enable(*mouseTap, true);
        return event;
    }
    if (suspended) return event;
    if (type == EventTaps::keyDown) {
        const Chord chord{.keyCode = static_cast<std::uint16_t>(event.keyCode),
                          .option = (event.flags & alternateFlag) != 0,
                          .control = (event.flags & controlFlag) != 0,
                          .command = (event.flags & commandFlag) != 0,
                          .shift = (event.flags & shiftFlag) != 0};
        if (const auto command = keymap.command(chord)) {
            onMain([command = *command](HotkeyService& service) {
                if (service.onCommand) service.onCommand(command);
            });
            return std::nullopt;
        }
        if (!putsAwayOnEscape(chord)) return event;
        onMain([](HotkeyService& service) {
            if (service.onEscape) service.onEscape();
        });
        return std::nullopt;
    }
    if (type == EventTaps::leftMouseDown) return handleClick(event);
    return event;
}

void HotkeyService::onMain(std::function<void(HotkeyService&)> work) {
    std::weak_ptr<HotkeyService*> context = context_;
    DispatchQueue::main().async([context, work = std::move(work)] {
        if (const auto service = context.lock()) work(**service);
    });
}

bool HotkeyService::putsAwayOnEscape(const Chord& chord) const {
    const bool plain = !chord.option && !chord.control && !chord.command && !chord.shift;
    return chord.keyCode == KeyCode::escape && plain && escapePutsAway && escapePutsAway();
}

std::optional<TapEvent> HotkeyService::handleClick(const TapEvent& event) {
    if (!onModifierClick) return event;
    const bool matches = MouseChord::toggleFloat().matches(
        (event.flags & alternateFlag) != 0, (event.flags & shiftFlag) != 0,
        (event.flags & controlFlag) != 0, (event.flags & commandFlag) != 0);
    if (!matches) return event;
    return onModifierClick(event.location) ? std::nullopt : std::optional<TapEvent>(event);
}

}  // namespace kelvo
