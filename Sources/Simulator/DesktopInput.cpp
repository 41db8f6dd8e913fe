#include <algorithm>
#include <string>

#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/MutexLock.h"
#include "Simulator/Desktop.h"
#include "Simulator/DesktopTransaction.h"
#include "Simulator/KeyboardLayout.h"
#include "Simulator/SharedConnection.h"

// Keyboard and pointer: events pass the taps in their order, each active tap's answer awaited
// (and a tap that takes too long disabled), then reach their application.

namespace sim {

namespace {

bool wants(const TapSpec& spec, std::uint32_t type) {
    return type < 64 && (spec.eventsOfInterest & (std::uint64_t{1} << type)) != 0;
}

bool isMouseDown(std::uint32_t type) {
    return type == inputLeftMouseDown || type == inputRightMouseDown || type == inputOtherMouseDown;
}

}  // namespace

TapID Desktop::createTap(ClientID client, const TapSpec& spec) {
    Transaction transaction(*this);
    const bool listenOnly = spec.options == tapListenOnly;
    if (refusesTaps_ || (!trusted_ && !listenOnly)) return 0;
    const TapID tap = nextProcessUniqueIdentifier();
    taps_[tap] = Tap{client, spec, true, nextTapOrder_++};
    return tap;
}

void Desktop::enableTap(TapID tap, bool enabled) {
    Transaction transaction(*this);
    const auto found = taps_.find(tap);
    if (found != taps_.end()) found->second.enabled = enabled;
}

bool Desktop::isTapEnabled(TapID tap) const {
    MutexLock lock(mutex_);
    const auto found = taps_.find(tap);
    return found != taps_.end() && found->second.enabled;
}

void Desktop::releaseTap(TapID tap) {
    Transaction transaction(*this);
    taps_.erase(tap);
    if (awaiting_ && awaiting_->tap == tap) {
        awaiting_.reset();
        pumpInputLocked();
    }
}

std::size_t Desktop::tapCount() const {
    MutexLock lock(mutex_);
    return taps_.size();
}

void Desktop::setRefusesTaps(bool refuses) {
    Transaction transaction(*this);
    refusesTaps_ = refuses;
}

std::size_t Desktop::pendingInputCount() const {
    MutexLock lock(mutex_);
    return input_.size();
}

void Desktop::enqueueInputLocked(const InputEvent& event, std::uint32_t location,
                                 std::optional<Pid> target) {
    PendingInput pending{event, location, target, {}};
    if (!target) {
        std::vector<std::pair<const Tap*, TapID>> ordered;
        for (const auto& [id, tap] : taps_) {
            // Events posted at the session level skip the taps at the hardware level.
            if (location >= tapSession && tap.spec.location < tapSession) continue;
            ordered.emplace_back(&tap, id);
        }
        std::sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) {
            if (a.first->spec.location != b.first->spec.location)
                return a.first->spec.location < b.first->spec.location;
            if (a.first->spec.placement != b.first->spec.placement)
                return a.first->spec.placement == tapHeadInsert;
            return a.first->order < b.first->order;
        });
        for (const auto& entry : ordered)
            pending.tapsLeft.push_back(entry.second);
    }
    input_.push_back(std::move(pending));
    pumpInputLocked();
}

void Desktop::pumpInputLocked() {
    while (!awaiting_ && !input_.empty()) {
        PendingInput& head = input_.front();
        if (head.tapsLeft.empty()) {
            const PendingInput done = std::move(head);
            input_.pop_front();
            deliverToApplicationLocked(done.event, done.target);
            continue;
        }
        const TapID id = head.tapsLeft.front();
        head.tapsLeft.erase(head.tapsLeft.begin());
        const auto found = taps_.find(id);
        if (found == taps_.end() || !found->second.enabled ||
            !wants(found->second.spec, head.event.type))
            continue;
        const Tap& tap = found->second;
        if (tap.spec.options == tapListenOnly) {
            outbox_.emplace_back(tap.client, TapEventDelivery{id, 0, head.event});
            continue;
        }
        const std::uint64_t delivery = nextDelivery_++;
        awaiting_ = Awaiting{delivery, id};
        outbox_.emplace_back(tap.client, TapEventDelivery{id, delivery, head.event});
        DispatchQueue::main().asyncAfter(DispatchTime::now() + tapTimeout,
                                         [weak = weak_from_this(), delivery] {
                                             if (const auto desktop = weak.lock())
                                                 desktop->tapTimedOut(delivery);
                                         });
    }
}

void Desktop::answerTapEvent(const TapAnswer& answer) {
    Transaction transaction(*this);
    if (!awaiting_ || awaiting_->delivery != answer.delivery) return;  // too late
    awaiting_.reset();
    if (answer.passed) {
        input_.front().event = *answer.passed;
    } else {
        input_.pop_front();
    }
    pumpInputLocked();
}

void Desktop::tapTimedOut(std::uint64_t delivery) {
    Transaction transaction(*this);
    if (!awaiting_ || awaiting_->delivery != delivery) return;
    const TapID id = awaiting_->tap;
    awaiting_.reset();
    disableTapLocked(id, inputTapDisabledByTimeout);
    pumpInputLocked();  // the event goes on as if the tap had passed it
}

void Desktop::disableTapByUserInput(TapID tap) {
    Transaction transaction(*this);
    disableTapLocked(tap, inputTapDisabledByUserInput);
    if (awaiting_ && awaiting_->tap == tap) {
        awaiting_.reset();
        pumpInputLocked();
    }
}

void Desktop::disableTapLocked(TapID id, std::uint32_t reason) {
    const auto found = taps_.find(id);
    if (found == taps_.end()) return;
    found->second.enabled = false;
    InputEvent notice;
    notice.type = reason;
    notice.location = pointer_;
    outbox_.emplace_back(found->second.client, TapEventDelivery{id, 0, notice});
}

void Desktop::deliverToApplicationLocked(const InputEvent& event, std::optional<Pid> target) {
    if (!target && routeToOwnInterfaceLocked(event)) return;
    if (!target && isMouseDown(event.type)) {
        // A click goes to the window under the pointer and brings its application forward.
        for (const WindowNumber number : orderedLocked()) {
            const Window& window = windows_.at(number);
            if (!onScreenLocked(window) || !window.info.frame.contains(event.location)) continue;
            if (window.own && window.look.ignoresMouseEvents) continue;  // click-through
            target = window.info.owner;
            if (const auto button = event.type == inputLeftMouseDown && !window.own
                                        ? titleBarButtonLocked(window, event.location)
                                        : std::nullopt) {
                // A title bar button works without bringing its window forward.
                applicationButton_ = std::pair{number, *button};
                break;
            }
            takeKeyFromOthersLocked(window.info.owner);
            if (!window.own) {
                raiseLocked(number);
                activateLocked(window.info.owner, false);
                if (Application* app = applicationLocked(window.info.owner)) {
                    app->main = number;
                    setFocusedWindowLocked(*app, number);
                }
            }
            break;
        }
    }
    if (!target && event.type == inputLeftMouseUp) releaseApplicationButtonLocked(event);
    if (!target) target = active_;
    if (!target) return;
    Application* app = applicationLocked(*target);
    if (!app || app->info.terminated) return;
    app->input.push_back(event);
    if (app->opensWindowOnCommandN && event.type == inputKeyDown && event.keyCode == keyCodeN &&
        (event.flags & commandFlag) != 0) {
        WindowSpec spec;
        spec.title = "Window " + std::to_string(app->input.size());
        openWindowLocked(*target, spec, false);
    }
}

void Desktop::releaseApplicationButtonLocked(const InputEvent& event) {
    if (!applicationButton_) return;
    const auto [number, kind] = *applicationButton_;
    applicationButton_.reset();
    const Window* window = windowLocked(number);
    if (window && titleBarButtonLocked(*window, event.location) == kind)
        pressTitleBarButtonLocked(number, kind);
}

void Desktop::hardwareInputLocked(const InputEvent& event) {
    enqueueInputLocked(event, tapHID, std::nullopt);
}

void Desktop::keyDown(std::uint16_t keyCode, std::uint64_t flags) {
    Transaction transaction(*this);
    flags_ = flags;
    hardwareInputLocked(
        InputEvent{inputKeyDown, keyCode, flags, pointer_, false, std::nullopt, {}});
}

void Desktop::keyUp(std::uint16_t keyCode, std::uint64_t flags) {
    Transaction transaction(*this);
    flags_ = flags;
    hardwareInputLocked(InputEvent{inputKeyUp, keyCode, flags, pointer_, false, std::nullopt, {}});
}

void Desktop::pressKey(std::uint16_t keyCode, std::uint64_t flags) {
    keyDown(keyCode, flags);
    keyUp(keyCode, flags);
}

void Desktop::pressLocked(std::uint32_t type, std::uint32_t button, CGPoint location,
                          std::uint64_t flags) {
    pointer_ = location;
    flags_ = flags;
    const bool down = type == inputLeftMouseDown || type == inputRightMouseDown;
    const std::uint32_t before = buttons_;
    if (down) {
        buttons_ |= button;
    } else {
        buttons_ &= ~button;
    }
    if (buttons_ != before) {
        for (const auto& [client, sink] : clients_)
            outbox_.emplace_back(client, MouseButtonsChanged{buttons_});
    }
    hardwareInputLocked(InputEvent{type, 0, flags, location, false, std::nullopt, {}});
}

void Desktop::mouseDown(CGPoint location, std::uint64_t flags) {
    Transaction transaction(*this);
    pressLocked(inputLeftMouseDown, 1U, location, flags);
}

void Desktop::mouseUp(CGPoint location, std::uint64_t flags) {
    Transaction transaction(*this);
    pressLocked(inputLeftMouseUp, 1U, location, flags);
}

void Desktop::rightMouseDown(CGPoint location, std::uint64_t flags) {
    Transaction transaction(*this);
    pressLocked(inputRightMouseDown, 2U, location, flags);
}

void Desktop::rightMouseUp(CGPoint location, std::uint64_t flags) {
    Transaction transaction(*this);
    pressLocked(inputRightMouseUp, 2U, location, flags);
}

void Desktop::typeText(const std::string& text) {
    Transaction transaction(*this);
    for (const KeyboardLayout::Stroke& stroke : KeyboardLayout::strokes(text)) {
        flags_ = stroke.flags;
        hardwareInputLocked(InputEvent{inputKeyDown, stroke.keyCode, stroke.flags, pointer_, false,
                                       std::nullopt, stroke.characters});
        hardwareInputLocked(InputEvent{inputKeyUp, stroke.keyCode, stroke.flags, pointer_, false,
                                       std::nullopt, stroke.characters});
    }
    flags_ = 0;
}

void Desktop::movePointer(CGPoint location) {
    Transaction transaction(*this);
    pointer_ = location;
    const std::uint32_t type = (buttons_ & 1U) ? inputLeftMouseDragged : inputMouseMoved;
    hardwareInputLocked(InputEvent{type, 0, flags_, location, false, std::nullopt, {}});
}

void Desktop::scrollWheel(CGPoint location, double deltaY) {
    Transaction transaction(*this);
    pointer_ = location;
    InputEvent event{inputScrollWheel, 0, flags_, location, false, std::nullopt, {}};
    event.scrollDeltaY = deltaY;
    hardwareInputLocked(event);
}

void Desktop::postEvent(const InputEvent& event, std::uint32_t location) {
    Transaction transaction(*this);
    enqueueInputLocked(event, location, std::nullopt);
}

void Desktop::postEventToPid(const InputEvent& event, Pid pid) {
    Transaction transaction(*this);
    enqueueInputLocked(event, tapSession, pid);
}

std::uint32_t Desktop::pressedMouseButtons() const {
    MutexLock lock(mutex_);
    return buttons_;
}

CGPoint Desktop::pointerLocation() const {
    MutexLock lock(mutex_);
    return pointer_;
}

std::uint64_t Desktop::modifierFlags() const {
    MutexLock lock(mutex_);
    return flags_;
}

}  // namespace sim
