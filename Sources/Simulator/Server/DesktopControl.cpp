#include "Simulator/Server/DesktopControl.h"

#include <cmath>
#include <limits>

#include "Simulator/Server/DesktopService.h"

namespace sim {

namespace {

std::string noApplication(Pid pid, const std::string& to) {
    return "no application " + std::to_string(pid) + " to " + to;
}

}  // namespace

std::vector<WindowInfo> DesktopControl::windows() {
    return desktop_.windows();
}

std::vector<ApplicationInfo> DesktopControl::applications() {
    return desktop_.runningApplications();
}

void DesktopControl::slow(Pid pid, double seconds) {
    if (!(seconds >= 0) || !std::isfinite(seconds))
        throw RequestFailure("a delay is a number of seconds, 0 or more");
    if (!desktop_.application(pid)) throw RequestFailure(noApplication(pid, "slow down"));
    desktop_.setResponseDelay(pid, seconds);
}

void DesktopControl::hang(Pid pid) {
    if (!desktop_.application(pid)) throw RequestFailure(noApplication(pid, "hang"));
    desktop_.setResponseDelay(pid, std::numeric_limits<double>::infinity());
}

void DesktopControl::unhang(Pid pid) {
    if (!desktop_.application(pid)) throw RequestFailure(noApplication(pid, "unhang"));
    desktop_.setResponseDelay(pid, 0);
}

void DesktopControl::key(std::uint16_t keyCode, std::uint64_t flags) {
    desktop_.pressKey(keyCode, flags);
}

void DesktopControl::click(double x, double y, std::uint64_t flags) {
    const CGPoint at{x, y};
    desktop_.mouseDown(at, flags);
    desktop_.mouseUp(at, flags);
}

void DesktopControl::pointer(double x, double y) {
    desktop_.movePointer(CGPoint{x, y});
}

void DesktopControl::scroll(double x, double y, double deltaY) {
    desktop_.scrollWheel(CGPoint{x, y}, deltaY);
}

void DesktopControl::drag(double fromX, double fromY, double toX, double toY) {
    const CGPoint from{fromX, fromY};
    const CGPoint to{toX, toY};
    desktop_.mouseDown(from);
    for (int step = 1; step <= dragSteps; ++step) {
        const double along = static_cast<double>(step) / dragSteps;
        desktop_.movePointer(
            CGPoint{from.x + (to.x - from.x) * along, from.y + (to.y - from.y) * along});
    }
    desktop_.mouseUp(to);
}

void DesktopControl::activate(Pid pid) {
    // A person's doing: an application that declines other processes' requests comes forward.
    const auto app = desktop_.application(pid);
    if (!app || app->terminated) throw RequestFailure(noApplication(pid, "activate"));
    desktop_.activate(pid);
}

void DesktopControl::activateAfter(Pid pid, Pid after) {
    if (!desktop_.application(pid)) throw RequestFailure(noApplication(pid, "activate"));
    if (!desktop_.application(after)) throw RequestFailure(noApplication(after, "follow"));
    desktop_.activateWhenFront(pid, after);
}

void DesktopControl::declineActivation(Pid pid, bool declines) {
    if (!desktop_.application(pid)) throw RequestFailure(noApplication(pid, "decline"));
    desktop_.setDeclinesActivation(pid, declines);
}

void DesktopControl::hide(Pid pid) {
    if (!desktop_.hideApplication(pid)) throw RequestFailure(noApplication(pid, "hide"));
}

void DesktopControl::unhide(Pid pid) {
    if (!desktop_.unhideApplication(pid)) throw RequestFailure(noApplication(pid, "unhide"));
}

void DesktopControl::trust(bool trusted) {
    desktop_.setTrusted(trusted);
}

std::vector<InputEvent> DesktopControl::receivedInput(Pid pid) {
    return desktop_.receivedInput(pid);
}

std::vector<OwnWindowLook> DesktopControl::ownWindows() {
    std::vector<OwnWindowLook> looks;
    for (const WindowInfo& window : desktop_.windows()) {
        if (const auto look = desktop_.ownWindow(window.number)) {
            looks.push_back(OwnWindowLook{window.number, *look});
        }
    }
    return looks;
}

std::vector<AlertRecord> DesktopControl::alerts() {
    return desktop_.alerts();
}

void DesktopControl::answerAlerts(const std::vector<std::string>& buttons) {
    desktop_.answerAlerts(buttons);
}

void DesktopControl::rightClick(double x, double y, std::uint64_t flags) {
    const CGPoint at{x, y};
    desktop_.rightMouseDown(at, flags);
    desktop_.rightMouseUp(at, flags);
}

void DesktopControl::typeText(const std::string& text) {
    desktop_.typeText(text);
}

std::vector<StatusItemInfo> DesktopControl::statusItems() {
    return desktop_.statusItems();
}

std::vector<ElementRecord> DesktopControl::elements(std::optional<Pid> pid) {
    return desktop_.elements(pid);
}

WindowPicture DesktopControl::ownWindowPicture(WindowNumber number) {
    return desktop_.ownWindowPicture(number);
}

std::vector<MenuItemRecord> DesktopControl::openMenu() {
    return desktop_.openMenu();
}

bool DesktopControl::pickMenuItem(const std::string& title) {
    return desktop_.pickMenuItem(title);
}

bool DesktopControl::pressCloseButton(WindowNumber number) {
    return desktop_.pressCloseButton(number);
}

std::uint64_t DesktopControl::requestsServed(Pid pid) {
    return service_.requestsServed(pid);
}

void DesktopControl::shutdown() {
    // The server ends once the reply is written.
}

}  // namespace sim
