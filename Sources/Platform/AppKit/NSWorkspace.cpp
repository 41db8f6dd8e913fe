#include "Platform/AppKit/NSWorkspace.h"

#include "Base/Foundation/DispatchQueue.h"
#include "Platform/AppKit/GenericIcons.h"
#include "Simulator/ApplicationBundle.h"
#include "Simulator/Desktop.h"
#include "Simulator/SharedConnection.h"

namespace {

const NSNotificationName& nameOf(sim::WorkspaceNotification::Kind kind) {
    using Kind = sim::WorkspaceNotification::Kind;
    switch (kind) {
        case Kind::launched:
            return NSWorkspaceDidLaunchApplicationNotification;
        case Kind::terminated:
            return NSWorkspaceDidTerminateApplicationNotification;
        case Kind::activated:
            return NSWorkspaceDidActivateApplicationNotification;
        case Kind::deactivated:
            return NSWorkspaceDidDeactivateApplicationNotification;
        case Kind::hidden:
            return NSWorkspaceDidHideApplicationNotification;
        case Kind::unhidden:
            break;
    }
    return NSWorkspaceDidUnhideApplicationNotification;
}

}  // namespace

NSWorkspace::NSWorkspace() {
    sim::SharedConnection::setHandler(
        sim::SharedConnection::Topic::workspace, [this](const sim::DesktopEvent& event) {
            const auto* news = std::get_if<sim::WorkspaceNotification>(&event);
            if (!news) return;
            NSNotification notification{nameOf(news->kind), this, {}};
            notification.userInfo[NSWorkspaceApplicationKey] =
                std::make_shared<NSRunningApplication>(news->pid);
            using Kind = sim::WorkspaceNotification::Kind;
            if (news->kind == Kind::hidden || news->kind == Kind::unhidden) {
                DispatchQueue::main().async([this, notification] { center_.post(notification); });
            } else {
                center_.post(notification);
            }
        });
}

NSWorkspace& NSWorkspace::sharedWorkspace() {
    static NSWorkspace* workspace = new NSWorkspace();  // lives as long as the process
    return *workspace;
}

std::vector<NSRunningApplicationRef> NSWorkspace::runningApplications() const {
    std::vector<NSRunningApplicationRef> running;
    for (const auto& info : sim::SharedConnection::current()->runningApplications())
        running.push_back(std::make_shared<NSRunningApplication>(info.pid));
    return running;
}

NSRunningApplicationRef NSWorkspace::frontmostApplication() const {
    const auto front = sim::SharedConnection::current()->frontmostApplication();
    if (!front) return nullptr;
    return std::make_shared<NSRunningApplication>(*front);
}

std::optional<std::string> NSWorkspace::URLForApplicationWithBundleIdentifier(
    const std::string& bundleID) const {
    return sim::SharedConnection::current()->applicationLocation(bundleID);
}

void NSWorkspace::openApplicationAtURL(
    const std::string& url, const NSWorkspaceOpenConfiguration&,
    const std::function<void(NSRunningApplicationRef, std::optional<std::string>)>& completion) {
    const sim::OpenReply opened = sim::SharedConnection::current()->openApplication(url);
    if (!completion) return;
    if (opened.pid == 0) {
        completion(nullptr,
                   opened.failure.value_or("The application \"" + url + "\" could not be opened."));
    } else {
        completion(std::make_shared<NSRunningApplication>(opened.pid), std::nullopt);
    }
}

NSRunningApplicationRef NSWorkspace::applicationOf(const NSNotification& notification) {
    const auto found = notification.userInfo.find(NSWorkspaceApplicationKey);
    if (found == notification.userInfo.end()) return nullptr;
    const auto* app = std::any_cast<NSRunningApplicationRef>(&found->second);
    return app ? *app : nullptr;
}

void NSWorkspace::activateFileViewerSelectingURLs(const std::vector<std::filesystem::path>& urls) {
    std::vector<std::string> paths;
    for (const auto& url : urls)
        paths.push_back(url.string());
    sim::SharedConnection::current()->activateFileViewer(paths);
}

bool NSWorkspace::openURL(const std::string& url) {
    return sim::SharedConnection::current()->openURL(url);
}

bool NSWorkspace::openFile(const std::filesystem::path& path) {
    return openURL(sim::Desktop::fileURL(path.string()));
}

bool NSWorkspace::accessibilityDisplayShouldReduceMotion() const {
    return sim::SharedConnection::current()->reduceMotion();
}

NSImageRef NSWorkspace::iconForFile(const std::string& path) const {
    const auto bundle = sim::ApplicationBundle::read(path);
    if (bundle) {
        if (const auto icon = bundle->iconPath()) {
            if (auto image = CGImage::fromPNGFile(icon->string()))
                return std::make_shared<NSImage>(std::move(image), GenericIcons::size);
        }
    }
    const bool application = std::filesystem::path(path).extension() == ".app";
    return application ? GenericIcons::application() : GenericIcons::document();
}
