#include "Simulator/Desktop.h"

#include <algorithm>
#include <cmath>

#include "Base/Foundation/Clock.h"
#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/MutexLock.h"
#include "Base/Foundation/News.h"
#include "Simulator/DesktopTransaction.h"
#include "Simulator/SharedConnection.h"

namespace sim {

namespace {

// The machine booted when the clock's uptime began, to the whole second as the platform
// reports it.
double bootTimeFromClock() {
    const Clock& clock = Clock::current();
    const double uptime = static_cast<double>(clock.now().uptimeNanoseconds) / 1e9;
    return std::floor(clock.secondsSince1970() - uptime);
}

}  // namespace

Desktop::Desktop() : bootTime_(bootTimeFromClock()) {}

// ---- Clients

ClientID Desktop::attach(EventSink sink) {
    Transaction transaction(*this);
    const ClientID client = nextProcessUniqueIdentifier();
    clients_[client] = std::move(sink);
    return client;
}

void Desktop::detach(ClientID client) {
    Transaction transaction(*this);
    clients_.erase(client);
    std::erase_if(observers_, [&](const auto& entry) { return entry.second.client == client; });
    std::erase_if(taps_, [&](const auto& entry) { return entry.second.client == client; });
    if (awaiting_ && !taps_.contains(awaiting_->tap)) {
        awaiting_.reset();
        pumpInputLocked();
    }
    // A client that goes away is a process that ended.
    for (auto& [pid, app] : applications_) {
        if (app.client == client && !app.info.terminated) terminateLocked(pid, false);
    }
}

Pid Desktop::registerClient(ClientID client, const ApplicationSpec& self) {
    Transaction transaction(*this);
    // The process started for an opened bundle becomes that application: the bundle, not
    // what the process says of itself, tells who it is.
    if (self.pid) {
        Application* started = applicationLocked(*self.pid);
        if (started && started->awaitingProcess && !started->info.terminated) {
            started->awaitingProcess = false;
            started->client = client;
            return *self.pid;
        }
    }
    return launchLocked(self, client);
}

void Desktop::postAllLocked(const DesktopEvent& event) {
    for (const auto& [client, sink] : clients_)
        outbox_.emplace_back(client, event);
}

void Desktop::postWorkspaceLocked(WorkspaceNotification::Kind kind, Pid pid) {
    postAllLocked(WorkspaceNotification{kind, pid});
}

// ---- Displays

DisplayID Desktop::addDisplay(const CGRect& frame, std::optional<DisplayID> id, double dockHeight) {
    Transaction transaction(*this);
    DisplayID chosen = id.value_or(1);
    if (!id) {
        for (const auto& display : displays_)
            chosen = std::max(chosen, display.id + 1);
    }
    CGRect visible(frame.minX(), frame.minY() + menuBarHeight, frame.width(),
                   std::max(0.0, frame.height() - menuBarHeight - dockHeight));
    displays_.push_back(DisplayInfo{chosen, frame, visible});
    updateDisplaysLocked();
    return chosen;
}

void Desktop::removeDisplay(DisplayID id) {
    Transaction transaction(*this);
    std::erase_if(displays_, [&](const DisplayInfo& display) { return display.id == id; });
    // Windows left on no display come over to the menu-bar display, as the platform brings
    // them back when a screen is unplugged.
    if (!displays_.empty()) {
        const CGRect& home = displays_.front().visibleFrame;
        for (auto& entry : windows_) {
            auto& window = entry.second;
            const bool shown = std::any_of(displays_.begin(), displays_.end(), [&](const auto& d) {
                return d.frame.intersects(window.info.frame);
            });
            if (!shown && !window.own)
                applyFrameLocked(window, CGRect(home.origin, window.info.frame.size));
        }
    }
    updateDisplaysLocked();
}

void Desktop::moveDisplay(DisplayID id, const CGRect& frame) {
    Transaction transaction(*this);
    for (auto& display : displays_) {
        if (display.id != id) continue;
        const double top = display.visibleFrame.minY() - display.frame.minY();
        const double bottom = display.frame.maxY() - display.visibleFrame.maxY();
        display.frame = frame;
        display.visibleFrame = CGRect(frame.minX(), frame.minY() + top, frame.width(),
                                      std::max(0.0, frame.height() - top - bottom));
    }
    updateDisplaysLocked();
}

void Desktop::updateDisplaysLocked() {
    postAllLocked(ScreenParametersChanged{});
}

std::vector<DisplayInfo> Desktop::displays() const {
    MutexLock lock(mutex_);
    return displays_;
}

std::optional<DisplayInfo> Desktop::displayForLocked(const CGRect& frame) const {
    if (displays_.empty()) return std::nullopt;
    const DisplayInfo* best = &displays_.front();
    double bestArea = -1;
    for (const auto& display : displays_) {
        const CGRect overlap = display.frame.intersection(frame);
        const double area = overlap.isNull() ? 0 : overlap.width() * overlap.height();
        if (area > bestArea) {
            bestArea = area;
            best = &display;
        }
    }
    return *best;
}

// ---- Applications

Desktop::Application* Desktop::applicationLocked(Pid pid) {
    const auto found = applications_.find(pid);
    return found == applications_.end() ? nullptr : &found->second;
}

const Desktop::Application* Desktop::applicationLocked(Pid pid) const {
    const auto found = applications_.find(pid);
    return found == applications_.end() ? nullptr : &found->second;
}

Pid Desktop::clientApplicationLocked(ClientID client) const {
    Pid owner = 0;
    for (const auto& [pid, app] : applications_) {
        if (app.client == client && !app.info.terminated) owner = pid;
    }
    return owner;
}

Pid Desktop::launchLocked(const ApplicationSpec& spec, ClientID client,
                          const std::vector<WindowSpec>& windows) {
    Pid pid = spec.pid.value_or(0);
    if (pid <= 0 || applications_.contains(pid)) {
        while (applications_.contains(nextPid_))
            ++nextPid_;
        pid = nextPid_++;
    }
    Application app;
    app.info.pid = pid;
    app.info.bundleID = spec.bundleID;
    app.info.name = spec.name;
    app.info.executablePath = spec.executablePath;
    app.info.bundlePath = spec.bundlePath;
    app.info.infoDictionary = spec.infoDictionary;
    app.info.activationPolicy = spec.activationPolicy;
    app.client = client;
    applications_[pid] = std::move(app);
    launchOrder_.push_back(pid);
    for (const auto& window : windows)
        openWindowLocked(pid, window, false);
    postWorkspaceLocked(WorkspaceNotification::Kind::launched, pid);
    return pid;
}

Pid Desktop::launch(const ApplicationSpec& spec) {
    Transaction transaction(*this);
    return launchLocked(spec, 0);
}

Pid Desktop::launch(const ApplicationSpec& spec, const std::vector<WindowSpec>& windows) {
    Transaction transaction(*this);
    return launchLocked(spec, 0, windows);
}

void Desktop::later(double seconds, std::function<void(Desktop&)> change) {
    DispatchQueue::main().asyncAfter(DispatchTime::now() + seconds,
                                     [weak = weak_from_this(), change = std::move(change)] {
                                         if (const auto desktop = weak.lock()) change(*desktop);
                                     });
}

void Desktop::install(const InstalledApplication& application) {
    Transaction transaction(*this);
    std::erase_if(installed_, [&](const InstalledApplication& other) {
        return other.bundleID == application.bundleID;
    });
    installed_.push_back(application);
}

void Desktop::setFileSystemRoot(const std::string& root) {
    Transaction transaction(*this);
    folders_.setRoot(root.empty() ? std::filesystem::path("/") : std::filesystem::path(root));
}

std::string Desktop::fileSystemRoot() const {
    MutexLock lock(mutex_);
    return folders_.root().string();
}

void Desktop::setProcessStarter(ProcessStarter starter) {
    Transaction transaction(*this);
    processStarter_ = std::move(starter);
}

std::optional<std::string> Desktop::applicationLocation(const std::string& bundleID) const {
    MutexLock lock(mutex_);
    for (const auto& installed : installed_) {
        if (installed.bundleID == bundleID) return installed.bundlePath;
    }
    if (const auto bundle = folders_.locate(bundleID)) return bundle->path.string();
    return std::nullopt;
}

OpenReply Desktop::openApplication(const std::string& bundlePath) {
    Transaction transaction(*this);
    for (const Pid pid : launchOrder_) {
        const Application& app = applications_.at(pid);
        if (!app.info.terminated && app.info.bundlePath == bundlePath) {
            activateLocked(pid, false);
            return {pid, std::nullopt};
        }
    }
    for (const auto& installed : installed_) {
        if (installed.bundlePath != bundlePath) continue;
        ApplicationSpec spec;
        spec.bundleID = installed.bundleID;
        spec.name = installed.name;
        spec.bundlePath = installed.bundlePath;
        spec.executablePath = installed.bundlePath + "/Contents/MacOS/" + installed.name;
        const Pid pid = launchLocked(spec, 0);
        activateLocked(pid, false);
        return {pid, std::nullopt};
    }
    const auto bundle = ApplicationBundle::read(bundlePath);
    if (!bundle) return {0, ApplicationBundle::unreadable(bundlePath)};
    return launchBundleLocked(*bundle);
}

OpenReply Desktop::launchBundleLocked(const ApplicationBundle& bundle) {
    ApplicationSpec spec = bundle.spec();
    if (processStarter_) {
        if (auto failure = bundle.launchFailure()) return {0, std::move(failure)};
        const Pid started = processStarter_(bundle);
        if (started <= 0 || applications_.contains(started))
            return {0, bundle.cannotBeOpened("its executable could not be started")};
        spec.pid = started;
    }
    const Pid pid = launchLocked(spec, 0);
    applications_.at(pid).awaitingProcess = processStarter_ != nullptr;
    activateLocked(pid, false);
    return {pid, std::nullopt};
}

bool Desktop::activateLocked(Pid pid, bool allWindows) {
    Application* app = applicationLocked(pid);
    if (!app || app->info.terminated) return false;
    if (app->info.hidden) {
        app->info.hidden = false;
        postWorkspaceLocked(WorkspaceNotification::Kind::unhidden, pid);
    }
    const std::optional<Pid> previous = active_;
    if (previous != pid) {
        if (previous) {
            if (Application* old = applicationLocked(*previous)) old->info.active = false;
            postWorkspaceLocked(WorkspaceNotification::Kind::deactivated, *previous);
            notifyApplicationLocked(*previous, "AXApplicationDeactivated",
                                    applicationElementLocked(*previous));
        }
        active_ = pid;
        app->info.active = true;
        std::erase(activationHistory_, pid);
        activationHistory_.push_back(pid);
    }
    if (allWindows) {
        const auto ordered = orderedLocked();
        for (auto it = ordered.rbegin(); it != ordered.rend(); ++it) {
            const Window* window = windowLocked(*it);
            if (window && window->info.owner == pid) raiseLocked(*it);
        }
    } else if (const auto main = app->main.has_value() ? app->main : app->focused) {
        raiseLocked(*main);
    }
    if (previous != pid) {
        postWorkspaceLocked(WorkspaceNotification::Kind::activated, pid);
        notifyApplicationLocked(pid, "AXApplicationActivated", applicationElementLocked(pid));
    }
    return true;
}

void Desktop::activateNextLocked(Pid leaving) {
    if (active_ != leaving) return;
    if (Application* app = applicationLocked(leaving)) app->info.active = false;
    active_.reset();
    postWorkspaceLocked(WorkspaceNotification::Kind::deactivated, leaving);
    for (auto it = activationHistory_.rbegin(); it != activationHistory_.rend(); ++it) {
        const Application* next = applicationLocked(*it);
        if (*it == leaving || !next || next->info.terminated || next->info.hidden) continue;
        if (next->info.activationPolicy != ActivationPolicy::regular) continue;
        activateLocked(*it, false);
        return;
    }
}

void Desktop::activate(Pid pid, bool allWindows) {
    Transaction transaction(*this);
    activateLocked(pid, allWindows);
}

bool Desktop::activateApplication(Pid pid, bool allWindows) {
    Transaction transaction(*this);
    const Application* app = applicationLocked(pid);
    if (app && app->declinesActivation) return false;
    if (!activateLocked(pid, allWindows)) return false;
    if (const auto follower = followingActivations_.extract(pid))
        activateLocked(follower.mapped(), false);
    return true;
}

void Desktop::setDeclinesActivation(Pid pid, bool declines) {
    Transaction transaction(*this);
    if (Application* app = applicationLocked(pid)) app->declinesActivation = declines;
}

void Desktop::activateWhenFront(Pid pid, Pid other) {
    Transaction transaction(*this);
    followingActivations_[other] = pid;
}

void Desktop::hide(Pid pid) {
    hideApplication(pid);
}

bool Desktop::hideApplication(Pid pid) {
    Transaction transaction(*this);
    Application* app = applicationLocked(pid);
    if (!app || app->info.terminated) return false;
    if (app->info.hidden) return true;
    app->info.hidden = true;
    postWorkspaceLocked(WorkspaceNotification::Kind::hidden, pid);
    notifyApplicationLocked(pid, "AXApplicationHidden", applicationElementLocked(pid));
    activateNextLocked(pid);
    return true;
}

void Desktop::unhide(Pid pid) {
    unhideApplication(pid);
}

bool Desktop::unhideApplication(Pid pid) {
    Transaction transaction(*this);
    Application* app = applicationLocked(pid);
    if (!app || app->info.terminated) return false;
    if (!app->info.hidden) return true;
    app->info.hidden = false;
    postWorkspaceLocked(WorkspaceNotification::Kind::unhidden, pid);
    notifyApplicationLocked(pid, "AXApplicationShown", applicationElementLocked(pid));
    return true;
}

void Desktop::terminate(Pid pid, bool stayListed) {
    Transaction transaction(*this);
    terminateLocked(pid, stayListed);
}

void Desktop::terminateLocked(Pid pid, bool stayListed) {
    Application* app = applicationLocked(pid);
    if (!app || app->info.terminated) return;
    app->info.terminated = true;
    app->listedAfterTermination = stayListed;
    std::vector<WindowNumber> owned;
    for (const auto& [number, window] : windows_) {
        if (window.info.owner == pid) owned.push_back(number);
    }
    for (const WindowNumber number : owned)
        destroyWindowLocked(number, false);
    std::erase_if(statusItems_, [&](const auto& entry) { return entry.second.pid == pid; });
    activateNextLocked(pid);
    app->info.active = false;
    postWorkspaceLocked(WorkspaceNotification::Kind::terminated, pid);
}

bool Desktop::terminateApplication(Pid pid) {
    ClientID client = 0;
    {
        MutexLock lock(mutex_);
        const Application* app = applicationLocked(pid);
        if (!app || app->info.terminated) return false;
        client = app->client;
    }
    if (client == 0) {
        terminate(pid);
        return true;
    }
    // A client ends itself: it is asked, as the platform asks an application to quit.
    Transaction transaction(*this);
    outbox_.emplace_back(client, TerminateRequested{});
    return true;
}

void Desktop::setActivationPolicy(Pid pid, ActivationPolicy policy) {
    Transaction transaction(*this);
    if (Application* app = applicationLocked(pid)) app->info.activationPolicy = policy;
}

void Desktop::setResponseDelay(Pid pid, double seconds) {
    Transaction transaction(*this);
    if (Application* app = applicationLocked(pid)) app->responseDelay = seconds;
    for (const auto& [number, window] : windows_) {
        if (window.info.owner == pid) reportChangeLocked(window);
    }
}

void Desktop::setOpensWindowOnCommandN(Pid pid, bool opens) {
    Transaction transaction(*this);
    if (Application* app = applicationLocked(pid)) app->opensWindowOnCommandN = opens;
}

void Desktop::setEnhancedUserInterface(Pid pid, bool on) {
    Transaction transaction(*this);
    if (Application* app = applicationLocked(pid)) app->enhancedUserInterface = on;
}

bool Desktop::enhancedUserInterface(Pid pid) const {
    MutexLock lock(mutex_);
    const Application* app = applicationLocked(pid);
    return app && app->enhancedUserInterface;
}

std::optional<ApplicationInfo> Desktop::application(Pid pid) const {
    MutexLock lock(mutex_);
    const Application* app = applicationLocked(pid);
    if (!app) return std::nullopt;
    return app->info;
}

std::vector<ApplicationInfo> Desktop::runningApplications() const {
    MutexLock lock(mutex_);
    std::vector<ApplicationInfo> running;
    for (const Pid pid : launchOrder_) {
        const Application& app = applications_.at(pid);
        if (!app.info.terminated || app.listedAfterTermination) running.push_back(app.info);
    }
    return running;
}

std::optional<Pid> Desktop::frontmost() const {
    MutexLock lock(mutex_);
    return active_;
}

std::vector<InputEvent> Desktop::receivedInput(Pid pid) const {
    MutexLock lock(mutex_);
    const Application* app = applicationLocked(pid);
    return app ? app->input : std::vector<InputEvent>{};
}

// ---- Trust

void Desktop::setTrusted(bool trusted) {
    Transaction transaction(*this);
    trusted_ = trusted;
    News::arrived();
}

void Desktop::setGrantsTrustOnPrompt(bool grants) {
    Transaction transaction(*this);
    grantsTrustOnPrompt_ = grants;
}

int Desktop::trustPromptCount() const {
    MutexLock lock(mutex_);
    return trustPrompts_;
}

bool Desktop::isTrusted() const {
    MutexLock lock(mutex_);
    return trusted_;
}

bool Desktop::checkTrust(bool prompt) {
    Transaction transaction(*this);
    if (prompt && !trusted_) {
        ++trustPrompts_;
        if (grantsTrustOnPrompt_) trusted_ = true;
        return false;  // the answer is the one from before the user acted on the prompt
    }
    return trusted_;
}

// ---- Modal alerts

void Desktop::answerAlerts(const std::vector<std::string>& buttons) {
    Transaction transaction(*this);
    alertPresses_.insert(alertPresses_.end(), buttons.begin(), buttons.end());
}

std::vector<AlertRecord> Desktop::alerts() const {
    MutexLock lock(mutex_);
    return alerts_;
}

AlertAnswer Desktop::runAlert(ClientID client, const AlertSpec& alert) {
    Transaction transaction(*this);
    AlertAnswer answer = alertFirstButton;
    if (!alertPresses_.empty()) {
        const auto pressed =
            std::find(alert.buttons.begin(), alert.buttons.end(), alertPresses_.front());
        alertPresses_.pop_front();
        answer = pressed == alert.buttons.end()
                     ? alertAbandoned
                     : alertFirstButton + (pressed - alert.buttons.begin());
    }
    alerts_.push_back(AlertRecord{clientApplicationLocked(client), alert, answer});
    return answer;
}

// ---- Services

double Desktop::bootTime() const {
    MutexLock lock(mutex_);
    return bootTime_;
}

void Desktop::setBootTime(double secondsSince1970) {
    Transaction transaction(*this);
    bootTime_ = secondsSince1970;
}

std::string Desktop::operatingSystemVersion() const {
    MutexLock lock(mutex_);
    return operatingSystemVersion_;
}

void Desktop::setOperatingSystemVersion(std::string version) {
    Transaction transaction(*this);
    operatingSystemVersion_ = std::move(version);
}

void Desktop::activateFileViewer(const std::vector<std::string>& paths) {
    Transaction transaction(*this);
    fileViewerSelections_.push_back(paths);
    for (const std::string& path : paths)
        openedURLs_.push_back(fileURL(path));
}

std::vector<std::vector<std::string>> Desktop::fileViewerSelections() const {
    MutexLock lock(mutex_);
    return fileViewerSelections_;
}

// ---- Call record

void Desktop::recordLocked(AccessCall call) {
    if (recordsCalls_) calls_.push_back(std::move(call));
}

std::vector<AccessCall> Desktop::accessCalls() const {
    MutexLock lock(mutex_);
    return calls_;
}

std::vector<AccessCall> Desktop::writes() const {
    MutexLock lock(mutex_);
    std::vector<AccessCall> writes;
    std::copy_if(
        calls_.begin(), calls_.end(), std::back_inserter(writes),
        [](const AccessCall& call) { return call.kind == AccessCall::Kind::setAttribute; });
    return writes;
}

void Desktop::clearAccessCalls() {
    MutexLock lock(mutex_);
    calls_.clear();
}

void Desktop::setRecordsAccessCalls(bool records) {
    MutexLock lock(mutex_);
    recordsCalls_ = records;
}

}  // namespace sim
