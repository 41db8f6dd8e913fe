#include <algorithm>
#include <cmath>

#include "Base/Foundation/DispatchQueue.h"
#include "Simulator/Desktop.h"

#include "Base/Foundation/MutexLock.h"
#include "Base/Foundation/News.h"
#include "Simulator/DesktopTransaction.h"
#include "Simulator/SharedConnection.h"

// Windows: opening and closing, stacking, frames and how each window answers a write, and the
// window server's list.

namespace sim {

Desktop::Window* Desktop::windowLocked(WindowNumber number) {
    const auto found = windows_.find(number);
    return found == windows_.end() ? nullptr : &found->second;
}

const Desktop::Window* Desktop::windowLocked(WindowNumber number) const {
    const auto found = windows_.find(number);
    return found == windows_.end() ? nullptr : &found->second;
}

Desktop::Window* Desktop::windowOfLocked(const Element& element) {
    if (element.kind != Element::Kind::window) return nullptr;
    Window* window = windowLocked(element.window);
    return window && window->incarnation == element.incarnation ? window : nullptr;
}

ElementID Desktop::newElementLocked(Element element) {
    // The serial stays unique in the process until it has made four billion elements.
    std::uint32_t serial = 0;
    while (serial == 0 || serial == ElementID::systemWide().serial())
        serial = static_cast<std::uint32_t>(nextProcessUniqueIdentifier());
    const ElementID id = ElementID::of(element.pid, serial);
    elements_[id.raw] = element;
    return id;
}

WindowNumber Desktop::openWindowLocked(Pid owner, const WindowSpec& spec, bool own) {
    WindowNumber number = 0;
    if (spec.number && *spec.number != 0 && !windows_.contains(*spec.number)) {
        number = *spec.number;
    } else {
        while (windows_.contains(nextNumber_))
            ++nextNumber_;
        number = nextNumber_++;
    }
    Window window;
    window.incarnation = nextIncarnation_++;
    window.own = own;
    window.orderedIn = !own;
    window.info.number = number;
    window.info.owner = owner;
    window.info.title = spec.title;
    window.info.role = spec.role;
    window.info.subrole = spec.subrole;
    window.info.frame = spec.frame;
    window.info.positionSettable = spec.positionSettable;
    window.info.sizeSettable = spec.sizeSettable;
    window.info.minimumSize = spec.minimumSize;
    window.info.maximumSize = spec.maximumSize;
    window.info.layer = spec.layer;
    window.info.listedInAXWindows = spec.listedInAXWindows;
    window.info.numberReadable = spec.numberReadable;
    window.info.unreadableAttributes = spec.unreadableAttributes;
    window.info.answer = spec.answer;
    window.info.element =
        newElementLocked(Element{Element::Kind::window, owner, number, window.incarnation});
    window.elements.push_back(window.info.element);
    windows_[number] = std::move(window);
    zOrder_.insert(zOrder_.begin(), number);
    if (own) return number;

    Window& opened = windows_.at(number);
    notifyWindowLocked(opened, "AXWindowCreated");
    Application* app = applicationLocked(owner);
    if (app && app->info.active) {
        app->main = number;
        setFocusedWindowLocked(*app, number);
    } else if (app && !app->focused) {
        app->main = number;
        app->focused = number;
    }
    return number;
}

WindowNumber Desktop::openWindow(Pid owner, const WindowSpec& spec) {
    Transaction transaction(*this);
    const Application* app = applicationLocked(owner);
    if (!app || app->info.terminated) return 0;
    return openWindowLocked(owner, spec, false);
}

WindowNumber Desktop::reserveWindowNumber() {
    Transaction transaction(*this);
    while (windows_.contains(nextNumber_))
        ++nextNumber_;
    return nextNumber_++;
}

void Desktop::destroyWindowLocked(WindowNumber number, bool notify) {
    Window* window = windowLocked(number);
    if (!window) return;
    reportChangeLocked(*window);
    if (notify) notifyWindowLocked(*window, "AXUIElementDestroyed");
    const Pid owner = window->info.owner;
    windows_.erase(number);
    std::erase(zOrder_, number);
    Application* app = applicationLocked(owner);
    if (!app) return;
    if (app->main == number) app->main.reset();
    if (app->focused != number) return;
    // The application's next window takes its focus.
    std::optional<WindowNumber> next;
    for (const WindowNumber candidate : zOrder_) {
        const Window* other = windowLocked(candidate);
        if (other && other->info.owner == owner && !other->own && !other->info.minimized) {
            next = candidate;
            break;
        }
    }
    app->focused.reset();
    if (next) {
        app->main = next;
        if (notify)
            setFocusedWindowLocked(*app, next);
        else
            app->focused = next;
    }
}

void Desktop::closeWindow(WindowNumber number) {
    Transaction transaction(*this);
    destroyWindowLocked(number, true);
}

void Desktop::setFocusedWindowLocked(Application& app, std::optional<WindowNumber> number) {
    if (app.focused == number) return;
    app.focused = number;
    if (!number) return;
    const Window* window = windowLocked(*number);
    if (window)
        notifyApplicationLocked(app.info.pid, "AXFocusedWindowChanged", window->info.element);
}

void Desktop::focusWindow(WindowNumber number) {
    Transaction transaction(*this);
    Window* window = windowLocked(number);
    if (!window) return;
    Application* app = applicationLocked(window->info.owner);
    if (!app) return;
    app->main = number;
    raiseLocked(number);
    setFocusedWindowLocked(*app, number);
}

void Desktop::raiseLocked(WindowNumber number) {
    std::erase(zOrder_, number);
    zOrder_.insert(zOrder_.begin(), number);
}

std::vector<WindowNumber> Desktop::orderedLocked() const {
    std::vector<WindowNumber> ordered = zOrder_;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [&](WindowNumber a, WindowNumber b) REQUIRES(mutex_) {
                         return windows_.at(a).info.layer > windows_.at(b).info.layer;
                     });
    return ordered;
}

bool Desktop::onScreenLocked(const Window& window) const {
    const Application* app = applicationLocked(window.info.owner);
    return window.orderedIn && !window.info.minimized && app && !app->info.hidden &&
           !app->info.terminated;
}

void Desktop::moveWindow(WindowNumber number, const CGRect& frame) {
    Transaction transaction(*this);
    if (Window* window = windowLocked(number)) applyFrameLocked(*window, frame);
}

void Desktop::reportChangeLocked(const Window& window) const {
    for (const ElementID element : window.elements)
        News::arrivedAbout(element.raw);
}

void Desktop::reportMoveLocked(const Window& window) const {
    for (const ElementID element : window.elements)
        News::movedAbout(element.raw);
}

void Desktop::applyFrameLocked(Window& window, const CGRect& frame) {
    const CGRect old = window.info.frame;
    window.info.frame = frame;
    reportMoveLocked(window);
    if (old.origin != frame.origin) notifyWindowLocked(window, "AXWindowMoved");
    if (old.size != frame.size) notifyWindowLocked(window, "AXWindowResized");
}

void Desktop::setMinimized(WindowNumber number, bool minimized) {
    Transaction transaction(*this);
    if (Window* window = windowLocked(number)) setMinimizedLocked(*window, minimized);
}

void Desktop::setMinimizedLocked(Window& window, bool minimized) {
    if (window.info.minimized == minimized) return;
    window.info.minimized = minimized;
    reportChangeLocked(window);
    notifyWindowLocked(window, minimized ? "AXWindowMiniaturized" : "AXWindowDeminiaturized");
}

void Desktop::setFullScreen(WindowNumber number, bool fullScreen) {
    Transaction transaction(*this);
    if (Window* window = windowLocked(number)) setFullScreenLocked(*window, fullScreen);
}

void Desktop::setFullScreenLocked(Window& window, bool fullScreen) {
    if (window.info.fullScreen == fullScreen) return;
    window.info.fullScreen = fullScreen;
    if (!fullScreen) {
        // Leaving full screen puts the window back where it was.
        applyFrameLocked(window, window.frameBeforeFullScreen);
        return;
    }
    window.frameBeforeFullScreen = window.info.frame;
    if (const auto display = displayForLocked(window.info.frame))
        applyFrameLocked(window, display->frame);
}

void Desktop::setWriteAnswer(WindowNumber number, const WriteAnswer& answer) {
    Transaction transaction(*this);
    if (Window* window = windowLocked(number)) window->info.answer = answer;
}

void Desktop::setSettable(WindowNumber number, bool position, bool size) {
    Transaction transaction(*this);
    if (Window* window = windowLocked(number)) {
        window->info.positionSettable = position;
        window->info.sizeSettable = size;
    }
}

void Desktop::setSizeLimits(WindowNumber number, CGSize minimum, CGSize maximum) {
    Transaction transaction(*this);
    if (Window* window = windowLocked(number)) {
        window->info.minimumSize = minimum;
        window->info.maximumSize = maximum;
    }
}

void Desktop::setListedInAXWindows(WindowNumber number, bool listed) {
    Transaction transaction(*this);
    if (Window* window = windowLocked(number)) window->info.listedInAXWindows = listed;
}

void Desktop::setReadability(WindowNumber number, bool numberReadable,
                             std::vector<std::string> unreadableAttributes) {
    Transaction transaction(*this);
    if (Window* window = windowLocked(number)) {
        window->info.numberReadable = numberReadable;
        window->info.unreadableAttributes = std::move(unreadableAttributes);
        reportChangeLocked(*window);
    }
}

ElementID Desktop::replaceElement(WindowNumber number) {
    Transaction transaction(*this);
    Window* window = windowLocked(number);
    if (!window) return {};
    window->info.element = newElementLocked(
        Element{Element::Kind::window, window->info.owner, number, window->incarnation});
    window->elements.push_back(window->info.element);
    return window->info.element;
}

std::optional<WindowInfo> Desktop::window(WindowNumber number) const {
    MutexLock lock(mutex_);
    const Window* window = windowLocked(number);
    if (!window) return std::nullopt;
    WindowInfo info = window->info;
    info.onScreen = onScreenLocked(*window);
    return info;
}

std::vector<WindowInfo> Desktop::windows() const {
    MutexLock lock(mutex_);
    std::vector<WindowInfo> all;
    for (const WindowNumber number : orderedLocked()) {
        const Window& window = windows_.at(number);
        all.push_back(window.info);
        all.back().onScreen = onScreenLocked(window);
    }
    return all;
}

std::optional<WindowNumber> Desktop::focusedWindow(Pid pid) const {
    MutexLock lock(mutex_);
    const Application* app = applicationLocked(pid);
    return app ? app->focused : std::nullopt;
}

// ---- How a window answers frame writes

CGRect Desktop::answeredFrameLocked(const Window& window, CGRect frame) const {
    const WriteAnswer& answer = window.info.answer;
    if (!answer.keepsInsideVisibleFrame) return frame;
    const auto display = displayForLocked(frame);
    if (!display) return frame;
    const CGRect& visible = display->visibleFrame;
    frame.size.width = std::min(frame.size.width, visible.width());
    frame.size.height = std::min(frame.size.height, visible.height());
    frame.origin.x = std::clamp(frame.origin.x, visible.minX(), visible.maxX() - frame.size.width);
    frame.origin.y = std::clamp(frame.origin.y, visible.minY(), visible.maxY() - frame.size.height);
    return frame;
}

AccessError Desktop::writePositionLocked(Window& window, CGPoint position) {
    if (!window.info.positionSettable) return AccessError::attributeUnsupported;
    const WriteAnswer& answer = window.info.answer;
    if (answer.refusesPosition) return answer.refusalError;
    if (window.info.fullScreen) return AccessError::success;
    CGRect frame = answeredFrameLocked(window, CGRect(position, window.info.frame.size));
    if (answer.landsAfter > 0) {
        landLater(window.info.number, window.incarnation, frame, answer.landsAfter);
    } else {
        applyFrameLocked(window, frame);
    }
    return AccessError::success;
}

AccessError Desktop::writeSizeLocked(Window& window, CGSize size) {
    if (!window.info.sizeSettable) return AccessError::attributeUnsupported;
    const WriteAnswer& answer = window.info.answer;
    if (answer.refusesSize) return answer.refusalError;
    if (window.info.fullScreen) return AccessError::success;
    if (answer.keepsAspectRatio && window.info.frame.size.width > 0)
        size.height = size.width * window.info.frame.size.height / window.info.frame.size.width;
    const CGSize& minimum = window.info.minimumSize;
    const CGSize& maximum = window.info.maximumSize;
    size.width = std::max(size.width, minimum.width);
    size.height = std::max(size.height, minimum.height);
    if (maximum.width > 0) size.width = std::min(size.width, maximum.width);
    if (maximum.height > 0) size.height = std::min(size.height, maximum.height);
    CGRect frame = answeredFrameLocked(window, CGRect(window.info.frame.origin, size));
    if (answer.landsAfter > 0) {
        landLater(window.info.number, window.incarnation, frame, answer.landsAfter);
    } else {
        applyFrameLocked(window, frame);
    }
    return AccessError::success;
}

void Desktop::landLater(WindowNumber number, std::uint64_t incarnation, CGRect frame,
                        double delay) {
    DispatchQueue::main().asyncAfter(DispatchTime::now() + delay,
                                     [weak = weak_from_this(), number, incarnation, frame] {
                                         const auto desktop = weak.lock();
                                         if (!desktop) return;
                                         Transaction transaction(*desktop);
                                         Window* window = desktop->windowLocked(number);
                                         if (window && window->incarnation == incarnation)
                                             desktop->applyFrameLocked(*window, frame);
                                     });
}

// ---- The window server's list

std::vector<WindowListRow> Desktop::windowList(std::uint32_t options,
                                               WindowNumber relativeTo) const {
    MutexLock lock(mutex_);
    std::vector<WindowListRow> rows;
    const std::vector<WindowNumber> ordered = orderedLocked();
    const auto relative = std::find(ordered.begin(), ordered.end(), relativeTo);
    for (auto it = ordered.begin(); it != ordered.end(); ++it) {
        const Window& window = windows_.at(*it);
        const bool onScreen = onScreenLocked(window);
        if ((options & windowListOnScreenOnly) && !onScreen) continue;
        if ((options & windowListExcludeDesktopElements) && window.info.layer < 0) continue;
        if (relative != ordered.end()) {
            const bool above = it < relative;
            const bool below = it > relative;
            const bool itself = it == relative;
            if ((options & windowListOnScreenAboveWindow) && !(above || itself)) continue;
            if ((options & windowListOnScreenBelowWindow) && !(below || itself)) continue;
            if (itself && !(options & windowListIncludingWindow) &&
                (options & (windowListOnScreenAboveWindow | windowListOnScreenBelowWindow)))
                continue;
        }
        const Application* app = applicationLocked(window.info.owner);
        rows.push_back(WindowListRow{window.info.number, window.info.layer, window.info.owner,
                                     app ? app->info.name : std::string(), window.info.title,
                                     window.info.frame, onScreen, window.info.alpha});
    }
    return rows;
}

// ---- A client's own windows

WindowNumber Desktop::createOwnWindow(ClientID client, const OwnWindowSpec& spec) {
    Transaction transaction(*this);
    const Pid owner = clientApplicationLocked(client);
    if (owner == 0) return 0;
    WindowSpec window;
    window.title = spec.title;
    window.frame = spec.frame;
    window.subrole = "";
    window.layer = spec.level;
    window.listedInAXWindows = false;
    const WindowNumber number = openWindowLocked(owner, window, true);
    windows_.at(number).info.alpha = spec.alpha;
    windows_.at(number).look = spec;
    return number;
}

void Desktop::updateOwnWindow(WindowNumber number, const OwnWindowSpec& spec) {
    Transaction transaction(*this);
    Window* window = windowLocked(number);
    if (!window || !window->own) return;
    window->info.title = spec.title;
    window->info.frame = spec.frame;
    window->info.layer = spec.level;
    window->info.alpha = spec.alpha;
    window->look = spec;
}

std::optional<OwnWindowSpec> Desktop::ownWindow(WindowNumber number) const {
    MutexLock lock(mutex_);
    const Window* window = windowLocked(number);
    if (!window || !window->own) return std::nullopt;
    return window->look;
}

void Desktop::orderOwnWindow(WindowNumber number, bool front) {
    Transaction transaction(*this);
    Window* window = windowLocked(number);
    if (!window || !window->own) return;
    window->orderedIn = front;
    if (!front) return;
    // Ordered in again, a minimized window comes back from the Dock.
    setMinimizedLocked(*window, false);
    raiseLocked(number);
}

void Desktop::closeOwnWindow(WindowNumber number) {
    Transaction transaction(*this);
    const Window* window = windowLocked(number);
    if (window && window->own) destroyWindowLocked(number, false);
}

}  // namespace sim
