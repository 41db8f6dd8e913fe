#include "Support/KelvoCore/FakeWindowBridge.h"

#include <algorithm>
#include <stdexcept>

#include "Support/Base/Describe.h"

namespace kelvo {

namespace {

std::string describe(bool flag) {
    return flag ? "true" : "false";
}

CGFloat limited(CGFloat value, CGFloat minimum, CGFloat maximum) {
    if (maximum > 0) value = std::min(value, maximum);
    if (minimum > 0) value = std::max(value, minimum);
    return value;
}

using Operation = FakeWindowBridge::Call::Operation;

const char* nameOf(Operation operation) {
    switch (operation) {
        case Operation::windows:
            return "windows";
        case Operation::frame:
            return "frame";
        case Operation::setFrame:
            return "setFrame";
        case Operation::setPosition:
            return "setPosition";
        case Operation::raise:
            return "raise";
        case Operation::focus:
            return "focus";
        case Operation::setMinimized:
            return "setMinimized";
        case Operation::isWindowMinimized:
            return "isWindowMinimized";
        case Operation::isWindowFullScreen:
            return "isWindowFullScreen";
        case Operation::canReach:
            return "canReach";
        case Operation::retainedWindows:
            return "retainedWindows";
        case Operation::setHidden:
            return "setHidden";
        case Operation::isApplicationHidden:
            return "isApplicationHidden";
    }
    return "?";
}

}  // namespace

// MARK: Window scripting

FakeWindowBridge::Window& FakeWindowBridge::Window::respond(Response r) {
    response = r;
    return *this;
}

FakeWindowBridge::Window& FakeWindowBridge::Window::clampsToMinimum(CGSize size) {
    minimumSize = size;
    return *this;
}

FakeWindowBridge::Window& FakeWindowBridge::Window::clampsToMaximum(CGSize size) {
    maximumSize = size;
    return *this;
}

FakeWindowBridge::Window& FakeWindowBridge::Window::landsLate(int reads) {
    landsAfterReads = reads;
    return *this;
}

FakeWindowBridge::Window& FakeWindowBridge::Window::unreadable() {
    readable = false;
    return *this;
}

FakeWindowBridge::Window& FakeWindowBridge::Window::minimized() {
    record.minimized = true;
    return *this;
}

FakeWindowBridge::Window& FakeWindowBridge::Window::inFullScreen() {
    fullScreen = true;
    return *this;
}

FakeWindowBridge::Window& FakeWindowBridge::Window::retainedOnly() {
    retained = true;
    return *this;
}

FakeWindowBridge::Window& FakeWindowBridge::Window::unreachable() {
    reachable = false;
    return *this;
}

FakeWindowBridge::Window& FakeWindowBridge::Window::floating() {
    record.floating = true;
    return *this;
}

// MARK: Calls

std::string FakeWindowBridge::Call::description() const {
    std::vector<std::string> arguments;
    if (rect) arguments.push_back(describe(*rect));
    if (point) arguments.push_back(describe(*point));
    if (flag) arguments.push_back(describe(*flag));
    if (id) arguments.push_back(id->description());
    if (!bundleID.empty()) arguments.push_back(bundleID);
    std::string text = std::string(nameOf(operation)) + "(";
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        text += (i == 0 ? "" : ", ") + arguments[i];
    }
    return text + ")";
}

bool FakeWindowBridge::Call::isWrite() const {
    switch (operation) {
        case Operation::setFrame:
        case Operation::setPosition:
        case Operation::raise:
        case Operation::focus:
        case Operation::setMinimized:
        case Operation::setHidden:
            return true;
        default:
            return false;
    }
}

std::vector<std::string> FakeWindowBridge::callLog() const {
    std::vector<std::string> log;
    for (const Call& call : calls_)
        log.push_back(call.description());
    return log;
}

std::vector<std::string> FakeWindowBridge::writeLog() const {
    std::vector<std::string> log;
    for (const Call& call : calls_) {
        if (call.isWrite()) log.push_back(call.description());
    }
    return log;
}

std::size_t FakeWindowBridge::count(Call::Operation operation) const {
    const auto found = counts_.find(operation);
    return found == counts_.end() ? 0 : found->second;
}

void FakeWindowBridge::clearCalls() {
    calls_.clear();
    counts_.clear();
}

void FakeWindowBridge::note(Call call) const {
    ++counts_[call.operation];
    if (recording_) calls_.push_back(std::move(call));
}

// MARK: Building the desktop

FakeWindowBridge::Window& FakeWindowBridge::add(WindowID id, const CGRect& frame,
                                                const std::string& bundleID) {
    Window window;
    window.record = ManagedWindow{id, bundleID, frame, false, false, false};
    return windows_[id] = window;
}

FakeWindowBridge::Window& FakeWindowBridge::window(WindowID id) {
    Window* found = find(id);
    if (!found) throw std::out_of_range("no fake window " + id.description());
    return *found;
}

bool FakeWindowBridge::contains(WindowID id) const {
    return windows_.contains(id);
}

void FakeWindowBridge::remove(WindowID id) {
    windows_.erase(id);
}

void FakeWindowBridge::scriptReads(WindowID id, const std::vector<std::optional<CGRect>>& answers) {
    Window& w = window(id);
    w.scriptedReads.insert(w.scriptedReads.end(), answers.begin(), answers.end());
}

std::optional<CGRect> FakeWindowBridge::actualFrame(WindowID id) const {
    const auto found = windows_.find(id);
    if (found == windows_.end()) return std::nullopt;
    return found->second.record.frame;
}

void FakeWindowBridge::landPendingWrites() {
    for (auto& [id, w] : windows_) {
        if (w.pending) w.record.frame = *w.pending;
        w.pending.reset();
    }
}

void FakeWindowBridge::setApplicationHidden(const std::string& bundleID, bool hidden) {
    if (hidden) {
        hiddenApps_.insert(bundleID);
    } else {
        hiddenApps_.erase(bundleID);
    }
}

void FakeWindowBridge::refuseUnhide(const std::string& bundleID) {
    unhideRefused_.insert(bundleID);
}

FakeWindowBridge::Window* FakeWindowBridge::find(WindowID id) {
    const auto found = windows_.find(id);
    return found == windows_.end() ? nullptr : &found->second;
}

FakeWindowBridge::Window* FakeWindowBridge::reachable(WindowID id) {
    Window* w = find(id);
    return w && w->reachable ? w : nullptr;
}

// MARK: The interface

std::vector<ManagedWindow> FakeWindowBridge::windows() {
    note({.operation = Operation::windows});
    std::vector<ManagedWindow> listed;
    for (const auto& [id, w] : windows_) {
        if (w.reachable && !w.retained) listed.push_back(w.record);
    }
    return listed;
}

std::optional<CGRect> FakeWindowBridge::frame(WindowID id) {
    note({.operation = Operation::frame, .id = id});
    Window* w = find(id);
    if (!w) return std::nullopt;
    if (!w->scriptedReads.empty()) {
        const std::optional<CGRect> answer = w->scriptedReads.front();
        w->scriptedReads.pop_front();
        return answer;
    }
    if (!w->reachable || !w->readable) return std::nullopt;
    if (w->pending) {
        if (w->readsBeforeLanding > 0) {
            --w->readsBeforeLanding;
        } else {
            w->record.frame = *w->pending;
            w->pending.reset();
        }
    }
    return w->record.frame;
}

bool FakeWindowBridge::setFrame(const CGRect& frame, WindowID id) {
    note({.operation = Operation::setFrame, .id = id, .rect = frame});
    Window* w = reachable(id);
    return w && write(*w, frame, false);
}

void FakeWindowBridge::setPosition(const CGPoint& position, WindowID id) {
    note({.operation = Operation::setPosition, .id = id, .point = position});
    if (Window* w = reachable(id)) write(*w, CGRect(position, w->record.frame.size), true);
}

bool FakeWindowBridge::write(Window& w, const CGRect& asked, bool keepSize) {
    // A window in full screen ignores frame writes, as it does on the real desktop.
    if (w.fullScreen || w.response == Response::refuse) return false;
    const CGRect current = w.record.frame;
    const bool movable = w.response != Response::refusePosition;
    const bool resizable = w.response != Response::refuseSize && !keepSize;
    const CGRect landed(movable ? asked.origin : current.origin,
                        resizable ? clamped(w, asked.size) : current.size);
    if (w.landsAfterReads > 0) {
        w.pending = landed;
        w.readsBeforeLanding = w.landsAfterReads;
    } else {
        w.record.frame = landed;
        w.pending.reset();
    }
    return true;
}

CGSize FakeWindowBridge::clamped(const Window& w, CGSize size) {
    return CGSize{limited(size.width, w.minimumSize.width, w.maximumSize.width),
                  limited(size.height, w.minimumSize.height, w.maximumSize.height)};
}

void FakeWindowBridge::raise(WindowID id) {
    note({.operation = Operation::raise, .id = id});
}

void FakeWindowBridge::focus(WindowID id) {
    note({.operation = Operation::focus, .id = id});
    if (reachable(id)) focused_ = id;
}

void FakeWindowBridge::setMinimized(bool minimized, WindowID id) {
    note({.operation = Operation::setMinimized, .id = id, .flag = minimized});
    if (Window* w = reachable(id)) w->record.minimized = minimized;
}

bool FakeWindowBridge::isWindowMinimized(WindowID id) {
    note({.operation = Operation::isWindowMinimized, .id = id});
    const Window* w = reachable(id);
    return w && w->record.minimized;
}

bool FakeWindowBridge::isWindowFullScreen(WindowID id) {
    note({.operation = Operation::isWindowFullScreen, .id = id});
    const Window* w = reachable(id);
    return w && w->fullScreen;
}

bool FakeWindowBridge::canReach(WindowID id) {
    note({.operation = Operation::canReach, .id = id});
    return reachable(id) != nullptr;
}

std::set<WindowID> FakeWindowBridge::retainedWindows() const {
    note({.operation = Operation::retainedWindows});
    std::set<WindowID> retained;
    for (const auto& [id, w] : windows_) {
        if (w.retained) retained.insert(id);
    }
    return retained;
}

void FakeWindowBridge::setHidden(bool hidden, const std::string& bundleID) {
    note({.operation = Operation::setHidden, .flag = hidden, .bundleID = bundleID});
    if (!hidden && unhideRefused_.contains(bundleID)) return;
    setApplicationHidden(bundleID, hidden);
}

bool FakeWindowBridge::isApplicationHidden(const std::string& bundleID) {
    note({.operation = Operation::isApplicationHidden, .bundleID = bundleID});
    return hiddenApps_.contains(bundleID);
}

}  // namespace kelvo
