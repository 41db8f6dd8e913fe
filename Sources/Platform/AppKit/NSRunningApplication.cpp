#include "Platform/AppKit/NSRunningApplication.h"

#include "Simulator/SharedConnection.h"

namespace {

std::shared_ptr<sim::DesktopConnection> desktop() {
    return sim::SharedConnection::current();
}

}  // namespace

NSRunningApplicationRef NSRunningApplication::runningApplicationWithProcessIdentifier(pid_t pid) {
    if (!sim::SharedConnection::current()->application(pid)) return nullptr;
    return std::make_shared<NSRunningApplication>(pid);
}

std::vector<NSRunningApplicationRef> NSRunningApplication::runningApplicationsWithBundleIdentifier(
    const std::string& bundleID) {
    std::vector<NSRunningApplicationRef> found;
    for (const auto& info : sim::SharedConnection::current()->runningApplications()) {
        if (info.bundleID == bundleID)
            found.push_back(std::make_shared<NSRunningApplication>(info.pid));
    }
    return found;
}

NSRunningApplicationRef NSRunningApplication::currentApplication() {
    return std::make_shared<NSRunningApplication>(sim::SharedConnection::current()->clientPid());
}

std::optional<sim::ApplicationInfo> NSRunningApplication::info() const {
    return desktop()->application(pid_);
}

std::optional<std::string> NSRunningApplication::bundleIdentifier() const {
    const auto app = info();
    return app ? app->bundleID : std::nullopt;
}

std::optional<std::string> NSRunningApplication::localizedName() const {
    const auto app = info();
    if (!app || app->name.empty()) return std::nullopt;
    return app->name;
}

std::optional<std::string> NSRunningApplication::executableURL() const {
    const auto app = info();
    if (!app || app->executablePath.empty()) return std::nullopt;
    return app->executablePath;
}

std::optional<std::string> NSRunningApplication::bundleURL() const {
    const auto app = info();
    return app ? app->bundlePath : std::nullopt;
}

NSApplicationActivationPolicy NSRunningApplication::activationPolicy() const {
    const auto app = info();
    if (!app) return NSApplicationActivationPolicyProhibited;
    return static_cast<NSApplicationActivationPolicy>(app->activationPolicy);
}

bool NSRunningApplication::isTerminated() const {
    const auto app = info();
    return !app || app->terminated;
}

bool NSRunningApplication::isHidden() const {
    const auto app = info();
    return app && app->hidden;
}

bool NSRunningApplication::isActive() const {
    const auto app = info();
    return app && app->active;
}

bool NSRunningApplication::hide() const {
    return desktop()->hideApplication(pid_);
}

bool NSRunningApplication::unhide() const {
    return desktop()->unhideApplication(pid_);
}

bool NSRunningApplication::activateWithOptions(NSApplicationActivationOptions options) const {
    return desktop()->activateApplication(pid_, (options & NSApplicationActivateAllWindows) != 0);
}

bool NSRunningApplication::terminate() const {
    return desktop()->terminateApplication(pid_);
}
