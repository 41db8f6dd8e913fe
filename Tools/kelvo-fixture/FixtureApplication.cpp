#include "FixtureApplication.h"

#include <unistd.h>

#include <climits>
#include <cmath>

#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/FileSystem.h"
#include "FixtureQuirks.h"

namespace kelvo_fixture {

using kelvo::FixtureReply;
using kelvo::FixtureRequest;

namespace {

FixtureReply done() {
    FixtureReply reply;
    reply.ok = true;
    return reply;
}

bool finite(const std::optional<double>& value) {
    return !value || std::isfinite(*value);
}

}  // namespace

FixtureApplication::FixtureApplication(std::shared_ptr<sim::SocketConnection> connection,
                                       Options options)
    : connection_(std::move(connection)), options_(std::move(options)) {}

bool FixtureApplication::start() {
    connection_->setEventSink([this](const sim::DesktopEvent& event) { deliver(event); });
    sim::ApplicationSpec self;
    self.bundleID = options_.bundleID;
    self.name = options_.name;
    self.executablePath = executablePath().string();
    self.pid = static_cast<sim::Pid>(::getpid());
    pid_ = connection_->registerClient(self);
    if (pid_ == 0) return false;
    connection_->client().setOpensWindowOnCommandN(pid_, true);
    applicationElement_ = connection_->applicationElement(pid_);
    // The application watches its own windows, to see when something else places them.
    const auto observer = connection_->createObserver(pid_);
    if (observer.error == sim::AccessError::success) {
        for (const char* name : {"AXWindowMoved", "AXWindowResized"})
            connection_->addNotification(observer.observer, applicationElement_, name);
    }
    return true;
}

void FixtureApplication::deliver(const sim::DesktopEvent& event) {
    const bool ownDoing = movingItself_.load();
    DispatchQueue::main().async([this, event, ownDoing] { receive(event, ownDoing); });
}

void FixtureApplication::receive(const sim::DesktopEvent& event, bool ownDoing) {
    if (std::holds_alternative<sim::TerminateRequested>(event)) {
        if (quit_) quit_();
        return;
    }
    if (const auto* notification = std::get_if<sim::ObserverNotification>(&event)) {
        if (!ownDoing) placed(notification->element);
    }
}

const std::vector<FixtureApplication::Operation>& FixtureApplication::operations() {
    static const std::vector<Operation> all = {
        {"ping", "", "answers with the application's pid", &FixtureApplication::ping},
        {"open", "quirk, title, x, y, width, height, after",
         "opens a window (after: seconds before it appears); answers with its number as window",
         &FixtureApplication::open},
        {"list", "",
         "answers with the application's windows, their frames and states, and whether it is "
         "active or hidden",
         &FixtureApplication::list},
        {"move", "window, x, y, width, height",
         "the application moves or resizes its own window (fields left out stay)",
         &FixtureApplication::move},
        {"minimize", "window", "the application minimizes its window",
         &FixtureApplication::minimize},
        {"close", "window", "the application closes its window", &FixtureApplication::close},
        {"activate", "window",
         "the application comes to the front, with that window focused when one is named",
         &FixtureApplication::activate},
        {"hide", "", "the application hides itself", &FixtureApplication::hide},
        {"quit", "", "the application ends once it has answered (as at the end of its input)",
         &FixtureApplication::quit},
    };
    return all;
}

FixtureReply FixtureApplication::handle(const FixtureRequest& request) {
    for (const auto& operation : operations()) {
        if (operation.name == request.op) return (this->*operation.answer)(request);
    }
    return FixtureReply::failure("unknown op " + request.op +
                                 " (kelvo-fixture --help lists the operations)");
}

FixtureReply FixtureApplication::ping(const FixtureRequest&) {
    FixtureReply reply = done();
    reply.pid = pid_;
    return reply;
}

// The reader ends the application once the reply is written.
FixtureReply FixtureApplication::quit(const FixtureRequest&) {
    return done();
}

std::vector<sim::WindowInfo> FixtureApplication::desktopWindows() {
    return connection_->client().windows();
}

void FixtureApplication::actItself(const std::function<void(sim::DesktopClient&)>& act) {
    movingItself_ = true;
    try {
        act(connection_->client());
        movingItself_ = false;
    } catch (...) {
        movingItself_ = false;
        throw;
    }
}

FixtureReply FixtureApplication::open(const FixtureRequest& request) {
    const double after = request.after.value_or(0);
    if (!std::isfinite(after) || after < 0) return FixtureReply::failure("after must be >= 0");
    if (!finite(request.x) || !finite(request.y) || !finite(request.width) ||
        !finite(request.height)) {
        return FixtureReply::failure("the frame must be finite");
    }
    const CGRect frame(request.x.value_or(defaultX), request.y.value_or(defaultY),
                       request.width.value_or(defaultWidth),
                       request.height.value_or(defaultHeight));
    if (frame.size.width <= 0 || frame.size.height <= 0) {
        return FixtureReply::failure("width and height must be positive");
    }
    OwnWindow window;
    window.quirk = request.quirk.value_or(kelvo::FixtureQuirk::plain);
    window.title = request.title.value_or("Fixture window");
    sim::WindowNumber number = 0;
    try {
        // The number is known at once, also for a window that appears later.
        number = connection_->client().reserveWindowNumber(std::nullopt);
    } catch (const std::exception& error) {
        return FixtureReply::failure(std::string("the desktop refused: ") + error.what());
    }
    windows_[number] = window;
    if (after > 0) {
        DispatchQueue::main().asyncAfter(DispatchTime::now() + after,
                                         [this, number, frame] { appear(number, frame); });
    } else {
        appear(number, frame);
    }
    FixtureReply reply = done();
    reply.window = number;
    return reply;
}

void FixtureApplication::appear(sim::WindowNumber number, const CGRect& frame) {
    const auto found = windows_.find(number);
    if (found == windows_.end() || found->second.appeared) return;
    OwnWindow& window = found->second;
    auto spec = FixtureQuirks::windowSpec(window.quirk, window.title, frame);
    spec.number = number;
    try {
        connection_->client().openWindow(spec, std::nullopt);
        window.appeared = true;
        for (const auto& info : desktopWindows()) {
            if (info.number == number) window.element = info.element;
        }
    } catch (const std::exception&) {
        windows_.erase(found);
    }
}

void FixtureApplication::placed(sim::ElementID element) {
    const auto number = numberOf(element);
    if (!number) return;
    OwnWindow& window = windows_.at(*number);
    if (window.placed) return;
    window.placed = true;
    if (!FixtureQuirks::reactsToPlacement(window.quirk)) return;
    DispatchQueue::main().asyncAfter(DispatchTime::now() + FixtureQuirks::reactionDelay,
                                     [this, n = *number] { react(n); });
}

void FixtureApplication::react(sim::WindowNumber number) {
    const auto found = windows_.find(number);
    if (found == windows_.end()) return;
    try {
        if (found->second.quirk == kelvo::FixtureQuirk::selfMinimizes) {
            actItself([&](sim::DesktopClient& desktop) { desktop.setMinimized(number, true); });
        } else if (found->second.quirk == kelvo::FixtureQuirk::selfHides) {
            actItself([](sim::DesktopClient& desktop) { desktop.hideSelf(std::nullopt); });
        }
    } catch (const std::exception&) {
        // The window closed meanwhile, or the desktop is gone: nothing to react to.
    }
}

std::optional<sim::WindowNumber> FixtureApplication::numberOf(sim::ElementID element) {
    for (const auto& [number, window] : windows_) {
        if (window.appeared && window.element == element) return number;
    }
    const auto reply = connection_->windowNumber(element);
    if (reply.error == sim::AccessError::success && windows_.count(reply.number)) {
        return reply.number;
    }
    return std::nullopt;
}

std::optional<sim::WindowNumber> FixtureApplication::ownWindow(const FixtureRequest& request,
                                                               std::string* error) {
    if (!request.window) {
        *error = request.op + " needs a window";
        return std::nullopt;
    }
    const auto found = windows_.find(*request.window);
    if (found == windows_.end() || !found->second.appeared) {
        *error = "no such window " + std::to_string(*request.window);
        return std::nullopt;
    }
    return *request.window;
}

FixtureReply FixtureApplication::list(const FixtureRequest&) {
    std::vector<sim::WindowInfo> infos;
    try {
        infos = desktopWindows();
    } catch (const std::exception& error) {
        return FixtureReply::failure(std::string("the desktop refused: ") + error.what());
    }
    auto windowOf = [&](const char* attribute) -> std::optional<sim::WindowNumber> {
        const auto value = connection_->copyAttribute(applicationElement_, attribute, 1.0);
        const auto* element = std::get_if<sim::ElementID>(&value.value);
        if (value.error != sim::AccessError::success || !element) return std::nullopt;
        const auto reply = connection_->windowNumber(*element);
        if (reply.error != sim::AccessError::success) return std::nullopt;
        return reply.number;
    };
    const auto application = connection_->application(pid_);
    const bool active = application && application->active;
    const auto focused = windowOf("AXFocusedWindow");
    const auto main = windowOf("AXMainWindow");

    std::vector<kelvo::FixtureWindowReport> reports;
    for (const auto& info : infos) {
        const auto found = windows_.find(info.number);
        if (info.owner != pid_ || found == windows_.end()) continue;
        reports.push_back(kelvo::FixtureWindowReport(
            info.number, found->second.title, found->second.quirk, kelvo::WireRect(info.frame),
            info.onScreen, info.minimized, active && focused == info.number, main == info.number));
    }
    // Windows closed by something else are forgotten.
    std::erase_if(windows_, [&](const auto& entry) {
        return entry.second.appeared &&
               std::none_of(infos.begin(), infos.end(),
                            [&](const auto& info) { return info.number == entry.first; });
    });
    std::sort(reports.begin(), reports.end(),
              [](const auto& a, const auto& b) { return a.number < b.number; });
    FixtureReply reply = done();
    reply.windows = std::move(reports);
    reply.appActive = active;
    reply.appHidden = application && application->hidden;
    return reply;
}

FixtureReply FixtureApplication::close(const FixtureRequest& request) {
    std::string error;
    const auto number = ownWindow(request, &error);
    if (!number) return FixtureReply::failure(error);
    try {
        actItself([&](sim::DesktopClient& desktop) { desktop.closeWindow(*number); });
    } catch (const std::exception& failure) {
        return FixtureReply::failure(failure.what());
    }
    windows_.erase(*number);
    return done();
}

FixtureReply FixtureApplication::move(const FixtureRequest& request) {
    std::string error;
    const auto number = ownWindow(request, &error);
    if (!number) return FixtureReply::failure(error);
    if (!finite(request.x) || !finite(request.y) || !finite(request.width) ||
        !finite(request.height)) {
        return FixtureReply::failure("the frame must be finite");
    }
    try {
        CGRect frame;
        for (const auto& info : desktopWindows()) {
            if (info.number == *number) frame = info.frame;
        }
        frame = CGRect(request.x.value_or(frame.origin.x), request.y.value_or(frame.origin.y),
                       request.width.value_or(frame.size.width),
                       request.height.value_or(frame.size.height));
        actItself([&](sim::DesktopClient& desktop) { desktop.moveWindow(*number, frame); });
    } catch (const std::exception& failure) {
        return FixtureReply::failure(failure.what());
    }
    return done();
}

FixtureReply FixtureApplication::minimize(const FixtureRequest& request) {
    std::string error;
    const auto number = ownWindow(request, &error);
    if (!number) return FixtureReply::failure(error);
    try {
        actItself([&](sim::DesktopClient& desktop) { desktop.setMinimized(*number, true); });
    } catch (const std::exception& failure) {
        return FixtureReply::failure(failure.what());
    }
    return done();
}

FixtureReply FixtureApplication::activate(const FixtureRequest& request) {
    try {
        actItself([](sim::DesktopClient& desktop) { desktop.activateSelf(std::nullopt); });
        if (request.window) {
            std::string error;
            const auto number = ownWindow(request, &error);
            if (!number) return FixtureReply::failure(error);
            actItself([&](sim::DesktopClient& desktop) { desktop.focusWindow(*number); });
        }
    } catch (const std::exception& failure) {
        return FixtureReply::failure(failure.what());
    }
    return done();
}

FixtureReply FixtureApplication::hide(const FixtureRequest&) {
    try {
        actItself([](sim::DesktopClient& desktop) { desktop.hideSelf(std::nullopt); });
    } catch (const std::exception& failure) {
        return FixtureReply::failure(failure.what());
    }
    return done();
}

}  // namespace kelvo_fixture
