#include <algorithm>
#include <cmath>

#include "Base/Foundation/MutexLock.h"
#include "Simulator/Desktop.h"
#include "Simulator/DesktopTransaction.h"
#include "Simulator/SharedConnection.h"

// The processes' own interface on the desktop: the pictures and element trees of their
// windows, their status items in the menu bar, open menus, close buttons, and the routing of
// clicks and keys to them.

namespace sim {

namespace {

bool isMouseDown(std::uint32_t type) {
    return type == inputLeftMouseDown || type == inputRightMouseDown;
}

bool isMouseUp(std::uint32_t type) {
    return type == inputLeftMouseUp || type == inputRightMouseUp;
}

bool isMouseDrag(std::uint32_t type) {
    return type == inputLeftMouseDragged || type == inputRightMouseDragged;
}

bool isKey(std::uint32_t type) {
    return type == inputKeyDown || type == inputKeyUp;
}

CGRect offset(const CGRect& frame, CGPoint by) {
    return CGRect(frame.minX() + by.x, frame.minY() + by.y, frame.width(), frame.height());
}

}  // namespace

// ---- Pictures and element trees

void Desktop::drawOwnWindow(ClientID client, const OwnWindowContent& content) {
    Transaction transaction(*this);
    Window* window = windowLocked(content.number);
    if (!window || !window->own) return;
    const Application* owner = applicationLocked(window->info.owner);
    if (!owner || owner->client != client) return;
    const std::size_t size = content.drawing.packed.size();
    if (size > maximumPictureBytes || !content.drawing.isWellFormed()) return;
    const std::size_t others = pictureBytesLocked() - window->content.drawing.packed.size();
    if (others + size > maximumPicturesBytes) return;
    window->content = content;
}

std::size_t Desktop::pictureBytesLocked() const {
    std::size_t total = 0;
    for (const auto& [number, window] : windows_)
        total += window.content.drawing.packed.size();
    for (const auto& [id, item] : statusItems_)
        total += item.spec.image.packed.size();
    return total;
}

std::size_t Desktop::pictureBytes() const {
    MutexLock lock(mutex_);
    return pictureBytesLocked();
}

std::optional<OwnWindowContent> Desktop::ownWindowContent(WindowNumber number) const {
    MutexLock lock(mutex_);
    const Window* window = windowLocked(number);
    if (!window || !window->own) return std::nullopt;
    return window->content;
}

WindowPicture Desktop::ownWindowPicture(WindowNumber number) const {
    const auto content = ownWindowContent(number);
    return content ? content->drawing : WindowPicture{};
}

std::vector<ElementRecord> Desktop::elements(std::optional<Pid> pid) const {
    MutexLock lock(mutex_);
    std::vector<ElementRecord> records;
    for (const WindowNumber number : orderedLocked()) {
        const Window& window = windows_.at(number);
        if (!window.own || !onScreenLocked(window)) continue;
        if (pid && window.info.owner != *pid) continue;
        InterfaceElement own{"window",        window.info.title, std::nullopt,
                             std::nullopt,    window.info.frame, true,
                             window.look.key, std::nullopt};
        records.push_back(ElementRecord{number, window.info.owner, own});
        if (const auto style = titleBarLocked(window)) {
            for (const TitleBarButton& button : TitleBarButtons::of(window.info.frame, *style)) {
                InterfaceElement element{"button",     TitleBarButton::label(button.kind),
                                         std::nullopt, TitleBarButton::identifier(button.kind),
                                         button.frame, button.enabled,
                                         false,        std::nullopt};
                records.push_back(ElementRecord{number, window.info.owner, std::move(element)});
            }
        }
        for (InterfaceElement element : window.content.elements) {
            element.frame = offset(element.frame, window.info.frame.origin);
            records.push_back(ElementRecord{number, window.info.owner, std::move(element)});
        }
    }
    return records;
}

// ---- Status items

StatusItemID Desktop::createStatusItem(ClientID client, const StatusItemSpec& spec) {
    Transaction transaction(*this);
    const Pid owner = clientApplicationLocked(client);
    if (owner == 0) return 0;
    const StatusItemID item = nextProcessUniqueIdentifier();
    StatusItem& made = statusItems_[item];
    made = StatusItem{client, owner, {}};
    applyStatusItemLocked(made, spec);
    return item;
}

CGRect Desktop::updateStatusItem(StatusItemID item, const StatusItemSpec& spec) {
    Transaction transaction(*this);
    const auto found = statusItems_.find(item);
    if (found == statusItems_.end()) return {};
    applyStatusItemLocked(found->second, spec);
    return statusItemFrameLocked(item);
}

void Desktop::applyStatusItemLocked(StatusItem& item, const StatusItemSpec& spec) {
    StatusItemSpec accepted = spec;
    if (!(std::isfinite(spec.length) && spec.length >= 0 && spec.length <= maximumStatusItemLength))
        accepted.length = item.spec.length;
    const std::size_t others = pictureBytesLocked() - item.spec.image.packed.size();
    if (!spec.image.isWellFormed() || spec.image.packed.size() > maximumPictureBytes ||
        others + spec.image.packed.size() > maximumPicturesBytes) {
        accepted.image = item.spec.image;
    }
    item.spec = std::move(accepted);
}

CGRect Desktop::statusItemFrame(StatusItemID item) const {
    MutexLock lock(mutex_);
    return statusItemFrameLocked(item);
}

void Desktop::removeStatusItem(StatusItemID item) {
    Transaction transaction(*this);
    statusItems_.erase(item);
    if (mouseCapture_ && mouseCapture_->item == item) mouseCapture_.reset();
}

std::vector<std::pair<StatusItemID, CGRect>> Desktop::statusItemFramesLocked() const {
    std::vector<std::pair<StatusItemID, CGRect>> frames;
    if (displays_.empty()) return frames;
    const CGRect bar = displays_.front().frame;
    double right = bar.maxX() - statusItemMargin;
    for (const auto& [id, item] : statusItems_) {
        const Application* app = applicationLocked(item.pid);
        if (!app || app->info.terminated) continue;
        right -= item.spec.length;
        frames.emplace_back(id, CGRect(right, bar.minY(), item.spec.length, menuBarHeight));
    }
    return frames;
}

CGRect Desktop::statusItemFrameLocked(StatusItemID item) const {
    for (const auto& [id, frame] : statusItemFramesLocked()) {
        if (id == item) return frame;
    }
    return {};
}

std::vector<StatusItemInfo> Desktop::statusItems() const {
    MutexLock lock(mutex_);
    std::vector<StatusItemInfo> items;
    for (const auto& [id, frame] : statusItemFramesLocked()) {
        const StatusItem& item = statusItems_.at(id);
        items.push_back(StatusItemInfo{id, item.pid, frame, item.spec});
    }
    return items;
}

// ---- Menus and close buttons

std::optional<WindowNumber> Desktop::openMenuLocked() const {
    for (const WindowNumber number : orderedLocked()) {
        const Window& window = windows_.at(number);
        if (window.own && window.look.menu && onScreenLocked(window)) return number;
    }
    return std::nullopt;
}

std::vector<MenuItemRecord> Desktop::openMenu() const {
    MutexLock lock(mutex_);
    const auto menu = openMenuLocked();
    if (!menu) return {};
    return windows_.at(*menu).content.menu;
}

bool Desktop::pickMenuItem(const std::string& title) {
    Transaction transaction(*this);
    const auto menu = openMenuLocked();
    if (!menu) return false;
    const Window& window = windows_.at(*menu);
    for (const MenuItemRecord& item : window.content.menu) {
        const bool named = item.title == title || item.plainTitle == title;
        if (!named || !item.enabled || item.separator) continue;
        const CGRect frame = offset(item.frame, window.info.frame.origin);
        const CGPoint centre{frame.midX(), frame.midY()};
        pressLocked(inputLeftMouseDown, 1U, centre, 0);
        pressLocked(inputLeftMouseUp, 1U, centre, 0);
        return true;
    }
    return false;
}

bool Desktop::pressCloseButton(WindowNumber number) {
    Transaction transaction(*this);
    return pressCloseButtonLocked(number);
}

bool Desktop::pressCloseButtonLocked(WindowNumber number) {
    const Window* window = windowLocked(number);
    if (!window || !window->own || !window->look.closable || !onScreenLocked(*window)) return false;
    const Application* owner = applicationLocked(window->info.owner);
    if (!owner || owner->client == 0) return false;
    outbox_.emplace_back(owner->client, CloseButtonPressed{number});
    return true;
}

// ---- Title bar buttons

std::optional<TitleBarButtons::Style> Desktop::titleBarLocked(const Window& window) const {
    return window.own ? TitleBarButtons::of(window.look) : TitleBarButtons::of(window.info);
}

std::optional<TitleBarButton::Kind> Desktop::titleBarButtonLocked(const Window& window,
                                                                  CGPoint point) const {
    const auto style = titleBarLocked(window);
    if (!style) return std::nullopt;
    const auto button = TitleBarButtons::at(window.info.frame, *style, point);
    if (!button || !button->enabled) return std::nullopt;
    return button->kind;
}

std::vector<TitleBarButton> Desktop::titleBarButtons(WindowNumber number) const {
    MutexLock lock(mutex_);
    const Window* window = windowLocked(number);
    if (!window || !onScreenLocked(*window)) return {};
    const auto style = titleBarLocked(*window);
    return style ? TitleBarButtons::of(window->info.frame, *style) : std::vector<TitleBarButton>{};
}

void Desktop::pressTitleBarButtonLocked(WindowNumber number, TitleBarButton::Kind kind) {
    Window* window = windowLocked(number);
    if (!window || !onScreenLocked(*window)) return;
    const Application* owner = applicationLocked(window->info.owner);
    switch (kind) {
        case TitleBarButton::Kind::close:
            if (window->own) {
                pressCloseButtonLocked(number);
            } else {
                destroyWindowLocked(number, true);
            }
            return;
        case TitleBarButton::Kind::minimize:
            if (window->own && window->look.key) {
                // A minimized window no longer takes the keys.
                window->look.key = false;
                if (owner && owner->client != 0)
                    outbox_.emplace_back(owner->client, KeyStatusLost{number});
            }
            setMinimizedLocked(*window, true);
            return;
        case TitleBarButton::Kind::zoom:
            if (!window->own) {
                setFullScreenLocked(*window, !window->info.fullScreen);
            } else if (owner && owner->client != 0) {
                outbox_.emplace_back(owner->client, ZoomButtonPressed{number});
            }
            return;
    }
}

// ---- Input

std::optional<Desktop::MouseCapture> Desktop::mouseReceiverLocked(CGPoint location) const {
    // An open menu takes every click: one outside it closes it.
    if (const auto menu = openMenuLocked()) return MouseCapture{menu, std::nullopt, std::nullopt};
    for (const auto& [id, frame] : statusItemFramesLocked()) {
        if (frame.contains(location)) return MouseCapture{std::nullopt, id, std::nullopt};
    }
    for (const WindowNumber number : orderedLocked()) {
        const Window& window = windows_.at(number);
        if (!onScreenLocked(window) || !window.info.frame.contains(location)) continue;
        if (window.own && window.look.ignoresMouseEvents) continue;  // click-through
        if (!window.own) return std::nullopt;
        if (const auto style = TitleBarButtons::of(window.look)) {
            // A press on a button is the button's, whether or not it works.
            if (const auto button = TitleBarButtons::at(window.info.frame, *style, location))
                return MouseCapture{number, std::nullopt, button->kind};
        }
        return MouseCapture{number, std::nullopt, std::nullopt};
    }
    return std::nullopt;
}

bool Desktop::routePointerMoveLocked(const InputEvent& event) {
    // Over an own window the move is that window's (its views hover); the window the pointer
    // left hears the move too, outside its frame, so that its views know the pointer is gone.
    const auto receiver = mouseReceiverLocked(event.location);
    const std::optional<WindowNumber> now =
        receiver && receiver->window && !windows_.at(*receiver->window).look.menu ? receiver->window
                                                                                  : std::nullopt;
    if (pointerWindow_ && pointerWindow_ != now && windowLocked(*pointerWindow_))
        sendToWindowLocked(*pointerWindow_, event);
    pointerWindow_ = now;
    if (!now) return false;
    sendToWindowLocked(*now, event);
    return true;
}

std::optional<WindowNumber> Desktop::keyReceiverLocked() const {
    if (const auto menu = openMenuLocked()) return menu;
    for (const WindowNumber number : orderedLocked()) {
        const Window& window = windows_.at(number);
        if (!window.own || !window.look.key || !onScreenLocked(window)) continue;
        // A non-activating panel takes keys while another application stays active.
        if (window.look.nonactivating || active_ == window.info.owner) return number;
    }
    return std::nullopt;
}

void Desktop::sendToWindowLocked(WindowNumber number, const InputEvent& event) {
    const Window* window = windowLocked(number);
    if (!window) return;
    Application* app = applicationLocked(window->info.owner);
    if (!app || app->info.terminated) return;
    app->input.push_back(event);
    if (app->client != 0) outbox_.emplace_back(app->client, OwnWindowInput{number, event});
}

void Desktop::takeKeyFromOthersLocked(Pid owner) {
    for (auto& [number, window] : windows_) {
        if (!window.own || !window.look.key || window.info.owner == owner) continue;
        window.look.key = false;
        const Application* app = applicationLocked(window.info.owner);
        if (app && app->client != 0) outbox_.emplace_back(app->client, KeyStatusLost{number});
    }
}

bool Desktop::routeToOwnInterfaceLocked(const InputEvent& event) {
    if (isKey(event.type)) {
        const auto window = keyReceiverLocked();
        if (!window) return false;
        sendToWindowLocked(*window, event);
        return true;
    }
    if (event.type == inputMouseMoved && !mouseCapture_) return routePointerMoveLocked(event);
    if (event.type == inputScrollWheel) {
        // The wheel turns what is under the pointer, without a click or the keys moving.
        const auto receiver = mouseReceiverLocked(event.location);
        if (!receiver || !receiver->window) return false;
        sendToWindowLocked(*receiver->window, event);
        return true;
    }
    if (isMouseDown(event.type)) {
        mouseCapture_ = mouseReceiverLocked(event.location);
        if (mouseCapture_ && mouseCapture_->window && !mouseCapture_->button &&
            !windows_.at(*mouseCapture_->window).look.menu)
            takeKeyFromOthersLocked(windows_.at(*mouseCapture_->window).info.owner);
    }
    if (!mouseCapture_ ||
        !(isMouseDown(event.type) || isMouseUp(event.type) || isMouseDrag(event.type))) {
        return false;
    }
    const MouseCapture capture = *mouseCapture_;
    if (isMouseUp(event.type)) mouseCapture_.reset();
    if (capture.window && capture.button) {
        // The button works when the left button comes up over it again.
        const Window* window = windowLocked(*capture.window);
        if (window && event.type == inputLeftMouseUp &&
            titleBarButtonLocked(*window, event.location) == capture.button)
            pressTitleBarButtonLocked(*capture.window, *capture.button);
    } else if (capture.window) {
        sendToWindowLocked(*capture.window, event);
    } else if (capture.item) {
        const auto found = statusItems_.find(*capture.item);
        if (found == statusItems_.end()) return true;
        if (Application* app = applicationLocked(found->second.pid)) app->input.push_back(event);
        outbox_.emplace_back(found->second.client, StatusItemInput{*capture.item, event});
    }
    return true;
}

}  // namespace sim
