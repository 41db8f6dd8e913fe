#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <utility>

#include "KelvoApp/Input/EventTaps.h"
#include "KelvoCore/Bindings/Keymap.h"

namespace kelvo {

/// The one failure of every event-tap creation.
class HotkeyError : public std::runtime_error {
  public:
    enum class Kind { tapCreationFailed };
    explicit HotkeyError(Kind kind = Kind::tapCreationFailed)
        : std::runtime_error("tapCreationFailed"), kind_(kind) {}
    Kind kind() const { return kind_; }
    bool operator==(const HotkeyError& other) const { return kind_ == other.kind_; }

  private:
    Kind kind_;
};

/// The global keyboard shortcuts and the modifier-click: a key-down tap that swallows the
/// keys of the key map and hands their commands to the main queue, and a left-mouse-down tap
/// for the click that floats or tiles the window under the pointer. The same tap lets Escape
/// put away what shows without taking the keyboard (the cheat sheet), which no key window
/// could hear: only while there is something to put away, so Escape reaches the application
/// in front at any other time.
class HotkeyService {
  public:
    static constexpr std::uint64_t alternateFlag = 0x80000;
    static constexpr std::uint64_t controlFlag = 0x40000;
    static constexpr std::uint64_t commandFlag = 0x100000;
    static constexpr std::uint64_t shiftFlag = 0x20000;

    HotkeyService(EventTaps& taps, Keymap keymap, std::function<void(const Command&)> onCommand);
    ~HotkeyService();
    HotkeyService(const HotkeyService&) = delete;
    HotkeyService& operator=(const HotkeyService&) = delete;

    Keymap keymap;
    std::function<void(const Command&)> onCommand;
    std::optional<EventTaps::Tap> tap;
    std::optional<EventTaps::Tap> source;
    bool suspended = false;
    std::optional<EventTaps::Tap> mouseTap;
    std::optional<EventTaps::Tap> mouseSource;
    std::function<bool(CGPoint)> onModifierClick;
    /// Whether an Escape pressed without ⌘ ⌥ ⌃ ⇧ has something to put away now; asked inside
    /// the tap, so it answers from what it knows without asking the desktop. When it does, the
    /// key goes no further and `onEscape` runs on the main queue. With a modifier held Escape
    /// is another chord (⌥⌘Escape, for one, belongs to the system) and always passes.
    std::function<bool()> escapePutsAway;
    std::function<void()> onEscape;

    /// A key-down tap, not yet installed. Throws `HotkeyError`.
    EventTaps::Tap makeTap();
    EventTaps::Tap makeTap(std::uint64_t mask);
    void install(EventTaps::Tap newTap, EventTaps::Tap newSource);
    void teardown();
    /// Throws `HotkeyError`; does nothing while a mouse tap exists.
    void startClickBinding();
    void stopClickBinding();

    std::optional<TapEvent> handle(std::uint32_t type, const TapEvent& event);
    std::optional<TapEvent> handleClick(const TapEvent& event);

  private:
    /// Hands the work to the main queue, where it runs unless the service is gone by then.
    void onMain(std::function<void(HotkeyService&)> work);
    bool putsAwayOnEscape(const Chord& chord) const;

    EventTaps& taps_;
    /// The taps' callbacks hold this weakly: a callback after the service is gone passes.
    std::shared_ptr<HotkeyService*> context_;
};

}  // namespace kelvo
