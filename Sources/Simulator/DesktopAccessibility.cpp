#include <algorithm>
#include <array>
#include <string_view>

#include "Simulator/Desktop.h"
#include "Simulator/DesktopTransaction.h"
#include "Simulator/SharedConnection.h"

// The Accessibility side of the desktop: elements, attribute reads and writes, actions, the
// messaging timeout, observers and their notifications.

namespace sim {

namespace {

constexpr std::array<std::string_view, 16> supportedNotifications = {
    "AXWindowCreated",
    "AXFocusedWindowChanged",
    "AXMainWindowChanged",
    "AXWindowMoved",
    "AXWindowResized",
    "AXMoved",
    "AXResized",
    "AXUIElementDestroyed",
    "AXWindowMiniaturized",
    "AXWindowDeminiaturized",
    "AXApplicationActivated",
    "AXApplicationDeactivated",
    "AXApplicationHidden",
    "AXApplicationShown",
    "AXTitleChanged",
    "AXFocusedUIElementChanged",
};

bool isSupported(const std::string& notification) {
    return std::find(supportedNotifications.begin(), supportedNotifications.end(), notification) !=
           supportedNotifications.end();
}

}  // namespace

ElementID Desktop::applicationElementLocked(Pid pid) const {
    return ElementID::application(pid);
}

std::optional<Desktop::Element> Desktop::elementLocked(ElementID id) const {
    if (id.isApplication()) return Element{Element::Kind::application, id.pid(), 0, 0};
    if (id == ElementID::systemWide()) return Element{Element::Kind::systemWide, 0, 0, 0};
    const auto found = elements_.find(id.raw);
    if (found == elements_.end()) return std::nullopt;
    return found->second;
}

ElementID Desktop::applicationElement(Pid pid) {
    if (pid <= 0) return {};
    return ElementID::application(pid);
}

ElementID Desktop::systemWideElement() const {
    return ElementID::systemWide();
}

double Desktop::answerWait(ElementID id, double timeout) const {
    Transaction transaction(*this);
    if (!trusted_) return 0;
    const auto element = elementLocked(id);
    if (!element || element->kind == Element::Kind::systemWide) return 0;
    const Application* app = applicationLocked(element->pid);
    if (!app || app->info.terminated || !(app->responseDelay > 0)) return 0;
    return std::min(app->responseDelay, timeout);
}

AccessError Desktop::reachLocked(const Element& element, double timeout) const {
    if (!trusted_) return AccessError::apiDisabled;
    if (element.kind == Element::Kind::systemWide) return AccessError::success;
    const Application* app = applicationLocked(element.pid);
    if (!app || app->info.terminated) {
        return element.kind == Element::Kind::window ? AccessError::invalidElement
                                                     : AccessError::cannotComplete;
    }
    if (app->responseDelay > timeout) return AccessError::cannotComplete;
    if (element.kind == Element::Kind::window) {
        const Window* window = windowLocked(element.window);
        if (!window || window->incarnation != element.incarnation)
            return AccessError::invalidElement;
    }
    return AccessError::success;
}

AttributeReply Desktop::copyAttribute(ElementID id, const std::string& attribute, double timeout) {
    Transaction transaction(*this);
    return readLocked(AccessCall::Kind::copyAttribute, id, {attribute}, timeout).front();
}

std::vector<AttributeReply> Desktop::copyAttributes(ElementID id,
                                                    const std::vector<std::string>& attributes,
                                                    double timeout) {
    Transaction transaction(*this);
    return readLocked(AccessCall::Kind::copyAttributes, id, attributes, timeout);
}

std::vector<AttributeReply> Desktop::readLocked(AccessCall::Kind kind, ElementID id,
                                                const std::vector<std::string>& attributes,
                                                double timeout) {
    const auto found = elementLocked(id);
    std::string names;
    for (const std::string& attribute : attributes)
        names += (names.empty() ? "" : " ") + attribute;
    AccessCall call{kind, id, std::nullopt, 0, names, {}, timeout, AccessError::illegalArgument};
    if (found) {
        call.pid = found->pid;
        if (found->kind == Element::Kind::window) call.window = found->window;
        call.result = reachLocked(*found, timeout);
    }
    // One message: an element out of reach answers none of the attributes.
    std::vector<AttributeReply> replies;
    replies.reserve(attributes.size());
    for (const std::string& attribute : attributes) {
        replies.push_back(call.result == AccessError::success
                              ? readAttributeLocked(*found, attribute)
                              : AttributeReply{call.result, {}});
    }
    if (kind == AccessCall::Kind::copyAttribute && !replies.empty()) {
        call.result = replies.front().error;
    }
    recordLocked(std::move(call));
    return replies;
}

AttributeReply Desktop::readAttributeLocked(const Element& element, const std::string& attribute) {
    switch (element.kind) {
        case Element::Kind::window:
            return readWindowLocked(*windowOfLocked(element), attribute);
        case Element::Kind::application:
            return readApplicationLocked(element.pid, attribute);
        case Element::Kind::systemWide:
            break;
    }
    if (attribute == "AXFocusedApplication" && active_) {
        return {AccessError::success, applicationElementLocked(*active_)};
    }
    return {AccessError::noValue, {}};
}

AttributeReply Desktop::readWindowLocked(const Window& window, const std::string& attribute) const {
    const WindowInfo& info = window.info;
    const Application* app = applicationLocked(info.owner);
    auto value = [](AttributeValue v) {
        return AttributeReply{AccessError::success, std::move(v)};
    };
    const auto& unreadable = info.unreadableAttributes;
    if (std::find(unreadable.begin(), unreadable.end(), attribute) != unreadable.end())
        return {AccessError::noValue, {}};
    if (attribute == "AXRole") return value(info.role);
    if (attribute == "AXSubrole") {
        if (info.subrole.empty()) return {AccessError::noValue, {}};
        return value(info.subrole);
    }
    if (attribute == "AXTitle") return value(info.title);
    if (attribute == "AXPosition") return value(info.frame.origin);
    if (attribute == "AXSize") return value(info.frame.size);
    if (attribute == "AXMinimized") return value(info.minimized);
    if (attribute == "AXFullScreen") return value(info.fullScreen);
    if (attribute == "AXMain") return value(app && app->main == info.number);
    if (attribute == "AXFocused") return value(app && app->focused == info.number);
    return {AccessError::attributeUnsupported, {}};
}

AttributeReply Desktop::readApplicationLocked(Pid pid, const std::string& attribute) {
    const Application& app = *applicationLocked(pid);
    auto value = [](AttributeValue v) {
        return AttributeReply{AccessError::success, std::move(v)};
    };
    auto element = [&](std::optional<WindowNumber> number) REQUIRES(mutex_) -> AttributeReply {
        const Window* window = number ? windowLocked(*number) : nullptr;
        if (!window) return {AccessError::noValue, {}};
        return value(window->info.element);
    };
    if (attribute == "AXRole") return value(std::string("AXApplication"));
    if (attribute == "AXTitle") return value(app.info.name);
    if (attribute == "AXFrontmost") return value(app.info.active);
    if (attribute == "AXHidden") return value(app.info.hidden);
    if (attribute == "AXEnhancedUserInterface") return value(app.enhancedUserInterface);
    if (attribute == "AXFocusedWindow") return element(app.focused);
    if (attribute == "AXMainWindow") return element(app.main);
    if (attribute == "AXWindows") {
        std::vector<ElementID> listed;
        for (const WindowNumber number : orderedLocked()) {
            const Window& window = windows_.at(number);
            if (window.info.owner == pid && window.info.listedInAXWindows && !window.own)
                listed.push_back(window.info.element);
        }
        return value(std::move(listed));
    }
    return {AccessError::attributeUnsupported, {}};
}

AccessError Desktop::setAttribute(ElementID id, const std::string& attribute,
                                  const AttributeValue& value, double timeout) {
    Transaction transaction(*this);
    AccessCall call{AccessCall::Kind::setAttribute, id, std::nullopt, 0, attribute, value, timeout,
                    AccessError::illegalArgument};
    const auto found = elementLocked(id);
    if (found) {
        const Element element = *found;
        call.pid = element.pid;
        if (element.kind == Element::Kind::window) call.window = element.window;
        call.result = reachLocked(element, timeout);
        if (call.result == AccessError::success) {
            switch (element.kind) {
                case Element::Kind::window:
                    call.result = writeWindowLocked(*windowOfLocked(element), attribute, value);
                    break;
                case Element::Kind::application:
                    call.result = writeApplicationLocked(element.pid, attribute, value);
                    break;
                case Element::Kind::systemWide:
                    call.result = AccessError::attributeUnsupported;
                    break;
            }
        }
    }
    const AccessError result = call.result;
    recordLocked(std::move(call));
    return result;
}

AccessError Desktop::writeWindowLocked(Window& window, const std::string& attribute,
                                       const AttributeValue& value) {
    const bool* flag = std::get_if<bool>(&value);
    if (attribute == "AXPosition") {
        const CGPoint* point = std::get_if<CGPoint>(&value);
        return point ? writePositionLocked(window, *point) : AccessError::illegalArgument;
    }
    if (attribute == "AXSize") {
        const CGSize* size = std::get_if<CGSize>(&value);
        return size ? writeSizeLocked(window, *size) : AccessError::illegalArgument;
    }
    if (!flag && (attribute == "AXMinimized" || attribute == "AXMain" || attribute == "AXFocused" ||
                  attribute == "AXFullScreen"))
        return AccessError::illegalArgument;
    Application* app = applicationLocked(window.info.owner);
    const WindowNumber number = window.info.number;
    if (attribute == "AXMinimized") {
        setMinimizedLocked(window, *flag);
        return AccessError::success;
    }
    if (attribute == "AXFullScreen") {
        setFullScreenLocked(window, *flag);
        return AccessError::success;
    }
    if (attribute == "AXMain") {
        if (*flag && app) {
            app->main = number;
            raiseLocked(number);
        }
        return AccessError::success;
    }
    if (attribute == "AXFocused") {
        if (*flag && app) setFocusedWindowLocked(*app, number);
        return AccessError::success;
    }
    return AccessError::attributeUnsupported;
}

AccessError Desktop::writeApplicationLocked(Pid pid, const std::string& attribute,
                                            const AttributeValue& value) {
    const bool* flag = std::get_if<bool>(&value);
    if (attribute != "AXFrontmost" && attribute != "AXHidden" &&
        attribute != "AXEnhancedUserInterface")
        return AccessError::attributeUnsupported;
    if (!flag) return AccessError::illegalArgument;
    Application& app = *applicationLocked(pid);
    if (attribute == "AXEnhancedUserInterface") {
        app.enhancedUserInterface = *flag;
    } else if (attribute == "AXFrontmost") {
        if (*flag && !app.declinesActivation) activateLocked(pid, false);
    } else if (*flag != app.info.hidden) {
        app.info.hidden = *flag;
        postWorkspaceLocked(
            *flag ? WorkspaceNotification::Kind::hidden : WorkspaceNotification::Kind::unhidden,
            pid);
        if (*flag) activateNextLocked(pid);
    }
    return AccessError::success;
}

SettableReply Desktop::isAttributeSettable(ElementID id, const std::string& attribute,
                                           double timeout) {
    Transaction transaction(*this);
    SettableReply reply{AccessError::illegalArgument, false};
    AccessCall call{AccessCall::Kind::isAttributeSettable,
                    id,
                    std::nullopt,
                    0,
                    attribute,
                    {},
                    timeout,
                    reply.error};
    const auto found = elementLocked(id);
    if (found) {
        const Element element = *found;
        call.pid = element.pid;
        reply.error = reachLocked(element, timeout);
        if (reply.error == AccessError::success && element.kind == Element::Kind::window) {
            call.window = element.window;
            const WindowInfo& info = windowOfLocked(element)->info;
            if (attribute == "AXPosition") {
                reply.settable = info.positionSettable;
            } else if (attribute == "AXSize") {
                reply.settable = info.sizeSettable;
            } else if (attribute == "AXMinimized" || attribute == "AXMain" ||
                       attribute == "AXFocused" || attribute == "AXFullScreen") {
                reply.settable = true;
            } else if (readWindowLocked(*windowOfLocked(element), attribute).error ==
                       AccessError::attributeUnsupported) {
                reply.error = AccessError::attributeUnsupported;
            }
        } else if (reply.error == AccessError::success &&
                   element.kind == Element::Kind::application) {
            reply.settable = attribute == "AXFrontmost" || attribute == "AXHidden" ||
                             attribute == "AXEnhancedUserInterface";
        }
    }
    call.result = reply.error;
    call.value = reply.settable;
    recordLocked(std::move(call));
    return reply;
}

AccessError Desktop::performAction(ElementID id, const std::string& action, double timeout) {
    Transaction transaction(*this);
    AccessCall call{AccessCall::Kind::performAction, id, std::nullopt, 0, action, {}, timeout,
                    AccessError::illegalArgument};
    const auto found = elementLocked(id);
    if (found) {
        const Element element = *found;
        call.pid = element.pid;
        call.result = reachLocked(element, timeout);
        if (call.result == AccessError::success) {
            if (element.kind == Element::Kind::window && action == "AXRaise") {
                call.window = element.window;
                raiseLocked(element.window);
                if (Application* app = applicationLocked(element.pid)) app->main = element.window;
            } else {
                call.result = AccessError::actionUnsupported;
            }
        }
    }
    const AccessError result = call.result;
    recordLocked(std::move(call));
    return result;
}

PidReply Desktop::elementPid(ElementID id) {
    Transaction transaction(*this);
    PidReply reply{AccessError::illegalArgument, 0};
    const auto found = elementLocked(id);
    if (found && found->kind != Element::Kind::systemWide)
        reply = {AccessError::success, found->pid};
    recordLocked(AccessCall{
        AccessCall::Kind::elementPid, id, std::nullopt, reply.pid, "", {}, 0, reply.error});
    return reply;
}

WindowNumberReply Desktop::windowNumber(ElementID id) {
    Transaction transaction(*this);
    WindowNumberReply reply{AccessError::illegalArgument, 0};
    const auto found = elementLocked(id);
    AccessCall call{AccessCall::Kind::windowNumber, id, std::nullopt, 0, "", {}, 0, reply.error};
    if (found && found->kind == Element::Kind::window) {
        const Element element = *found;
        call.pid = element.pid;
        call.window = element.window;
        reply.error = reachLocked(element, defaultMessagingTimeout);
        if (reply.error == AccessError::success && !windowOfLocked(element)->info.numberReadable)
            reply.error = AccessError::failure;
        if (reply.error == AccessError::success) reply.number = element.window;
    }
    call.result = reply.error;
    recordLocked(std::move(call));
    return reply;
}

// ---- Observers

ObserverReply Desktop::createObserver(ClientID client, Pid pid) {
    Transaction transaction(*this);
    ObserverReply reply{AccessError::illegalArgument, 0};
    if (!trusted_) {
        reply.error = AccessError::apiDisabled;
    } else if (pid > 0) {
        reply = {AccessError::success, nextProcessUniqueIdentifier()};
        observers_[reply.observer] = Observer{client, pid, {}};
    }
    recordLocked(AccessCall{
        AccessCall::Kind::createObserver, {}, std::nullopt, pid, "", {}, 0, reply.error});
    return reply;
}

AccessError Desktop::addNotification(ObserverID id, ElementID elementID,
                                     const std::string& notification) {
    Transaction transaction(*this);
    AccessCall call{
        AccessCall::Kind::addNotification, elementID, std::nullopt, 0, notification, {}, 0,
        AccessError::invalidObserver};
    const auto observer = observers_.find(id);
    const auto element = elementLocked(elementID);
    if (observer != observers_.end()) {
        call.pid = observer->second.pid;
        if (!element) {
            call.result = AccessError::illegalArgument;
        } else if (!isSupported(notification)) {
            call.result = AccessError::notificationUnsupported;
        } else {
            if (element->kind == Element::Kind::window) call.window = element->window;
            call.result = reachLocked(*element, defaultMessagingTimeout);
            auto& registrations = observer->second.registrations;
            const std::pair entry(elementID, notification);
            if (call.result == AccessError::success) {
                if (std::find(registrations.begin(), registrations.end(), entry) !=
                    registrations.end()) {
                    call.result = AccessError::notificationAlreadyRegistered;
                } else {
                    registrations.push_back(entry);
                }
            }
        }
    }
    const AccessError result = call.result;
    recordLocked(std::move(call));
    return result;
}

AccessError Desktop::removeNotification(ObserverID id, ElementID elementID,
                                        const std::string& notification) {
    Transaction transaction(*this);
    AccessError result = AccessError::invalidObserver;
    const auto observer = observers_.find(id);
    if (observer != observers_.end()) {
        const auto removed =
            std::erase(observer->second.registrations, std::pair(elementID, notification));
        result = removed ? AccessError::success : AccessError::notificationNotRegistered;
    }
    recordLocked(AccessCall{AccessCall::Kind::removeNotification,
                            elementID,
                            std::nullopt,
                            0,
                            notification,
                            {},
                            0,
                            result});
    return result;
}

void Desktop::releaseObserver(ObserverID observer) {
    Transaction transaction(*this);
    observers_.erase(observer);
}

void Desktop::notifyWindowLocked(const Window& window, const std::string& name) {
    if (window.own) return;
    const ElementID appElement = ElementID::application(window.info.owner);
    for (const auto& [id, observer] : observers_) {
        if (observer.pid != window.info.owner) continue;
        std::optional<ElementID> delivered;
        for (const auto& [element, registered] : observer.registrations) {
            if (registered != name) continue;
            const bool onWindow = std::find(window.elements.begin(), window.elements.end(),
                                            element) != window.elements.end();
            const bool onApplication = element == appElement;
            if (onWindow) {
                delivered = element;
                break;
            }
            if (onApplication) delivered = window.info.element;
        }
        if (delivered)
            outbox_.emplace_back(observer.client, ObserverNotification{id, *delivered, name});
    }
}

void Desktop::notifyApplicationLocked(Pid pid, const std::string& name, ElementID element) {
    for (const auto& [id, observer] : observers_) {
        if (observer.pid != pid) continue;
        const std::pair entry(ElementID::application(pid), name);
        if (std::find(observer.registrations.begin(), observer.registrations.end(), entry) !=
            observer.registrations.end())
            outbox_.emplace_back(observer.client, ObserverNotification{id, element, name});
    }
}

}  // namespace sim
