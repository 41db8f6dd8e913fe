#include "Simulator/Server/ServedApplication.h"

namespace sim {

Pid ServedApplication::self(std::optional<Pid> pid) const {
    if (pid) {
        if (!client_.pids.count(*pid)) {
            throw RequestFailure("not your application " + std::to_string(*pid));
        }
        return *pid;
    }
    if (client_.pids.empty()) throw RequestFailure("not registered");
    return *client_.pids.begin();
}

WindowNumber ServedApplication::own(WindowNumber number) const {
    const auto window = desktop_.window(number);
    if (!window || !client_.pids.count(window->owner)) {
        throw RequestFailure("not your window " + std::to_string(number));
    }
    return number;
}

WindowNumber ServedApplication::reserveWindowNumber(std::optional<Pid> pid) {
    self(pid);
    return desktop_.reserveWindowNumber();
}

WindowNumber ServedApplication::openWindow(const std::optional<WindowSpec>& spec,
                                           std::optional<Pid> pid) {
    const Pid owner = self(pid);
    const WindowSpec wanted = spec.value_or(WindowSpec{});
    if (wanted.number && desktop_.window(*wanted.number)) {
        throw RequestFailure("window " + std::to_string(*wanted.number) + " exists");
    }
    return desktop_.openWindow(owner, wanted);
}

void ServedApplication::closeWindow(WindowNumber number) {
    desktop_.closeWindow(own(number));
}

void ServedApplication::moveWindow(WindowNumber number, const CGRect& frame) {
    desktop_.moveWindow(own(number), frame);
}

void ServedApplication::setMinimized(WindowNumber number, bool minimized) {
    desktop_.setMinimized(own(number), minimized);
}

void ServedApplication::focusWindow(WindowNumber number) {
    desktop_.focusWindow(own(number));
}

void ServedApplication::hideSelf(std::optional<Pid> pid) {
    desktop_.hide(self(pid));
}

void ServedApplication::unhideSelf(std::optional<Pid> pid) {
    desktop_.unhide(self(pid));
}

void ServedApplication::activateSelf(std::optional<Pid> pid) {
    desktop_.activate(self(pid));
}

void ServedApplication::setOpensWindowOnCommandN(std::optional<Pid> pid, bool opens) {
    desktop_.setOpensWindowOnCommandN(self(pid), opens);
}

}  // namespace sim
