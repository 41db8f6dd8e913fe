#include "KelvoApp/System/FrameworkPlatform.h"

#include <unistd.h>

#include "Base/Foundation/DispatchQueue.h"
#include "KelvoAX/Bridge/ScreenWindows.h"
#include "Platform/Accessibility/AXConstants.h"
#include "Platform/Accessibility/AXUIElement.h"
#include "Platform/AppKit/NSAlert.h"
#include "Platform/AppKit/NSApplication.h"
#include "Platform/AppKit/NSEvent.h"
#include "Platform/AppKit/NSRunningApplication.h"
#include "Platform/AppKit/NSScreen.h"
#include "Platform/AppKit/NSWorkspace.h"
#include "Platform/Quartz/CGEvent.h"
#include "Platform/Services/Sysctl.h"

namespace kelvo {

namespace {

ScreenDescription describe(const NSScreen& screen) {
    ScreenDescription description{screen.frame(), screen.visibleFrame(), std::nullopt};
    const auto number =
        CFCast<CFNumber>(CFDictionaryGetValue(screen.deviceDescription(), NSScreenNumber));
    if (number) description.number = static_cast<std::uint32_t>(number->integerValue());
    return description;
}

/// A menu of the items, each a separator or an item without a target; an item with items of
/// its own gets a submenu of them, titled as the item.
NSMenuRef makeMenu(const std::string& title, const std::vector<MenuItem>& items) {
    auto menu = std::make_shared<NSMenu>(title);
    for (const MenuItem& item : items) {
        if (item.separator) {
            menu->addItem(NSMenuItem::separatorItem());
            continue;
        }
        const NSMenuItemRef made = menu->addItemWithTitle(item.title, item.action, item.key);
        if (item.shiftCommand)
            made->setKeyEquivalentModifierMask(NSEventModifierFlagShift |
                                               NSEventModifierFlagCommand);
        if (!item.submenu.empty()) made->setSubmenu(makeMenu(item.title, item.submenu));
    }
    return menu;
}

RunningApplication describe(const NSRunningApplication& app) {
    RunningApplication description;
    description.pid = app.processIdentifier();
    description.bundleID = app.bundleIdentifier();
    if (const auto executable = app.executableURL()) description.executableURL = *executable;
    if (const auto bundle = app.bundleURL()) description.bundleURL = *bundle;
    description.terminated = app.isTerminated();
    description.active = app.isActive();
    return description;
}

}  // namespace

FrameworkPlatform::~FrameworkPlatform() {
    for (const auto& token : workspaceTokens_) {
        NSWorkspace::sharedWorkspace().notificationCenter().removeObserver(token);
    }
    for (const auto& token : defaultTokens_) {
        NSNotificationCenter::defaultCenter().removeObserver(token);
    }
}

std::vector<ScreenDescription> FrameworkPlatform::screens() const {
    std::vector<ScreenDescription> list;
    for (const NSScreenRef& screen : NSScreen::screens())
        list.push_back(describe(*screen));
    return list;
}

std::optional<ScreenDescription> FrameworkPlatform::mainScreen() const {
    const NSScreenRef main = NSScreen::mainScreen();
    if (!main) return std::nullopt;
    return describe(*main);
}

std::optional<std::string> FrameworkPlatform::frontmostBundleID() const {
    const auto front = NSWorkspace::sharedWorkspace().frontmostApplication();
    return front ? front->bundleIdentifier() : std::nullopt;
}

std::vector<RunningApplication> FrameworkPlatform::runningApplications() const {
    std::vector<RunningApplication> list;
    for (const auto& app : NSWorkspace::sharedWorkspace().runningApplications()) {
        if (app) list.push_back(describe(*app));
    }
    return list;
}

std::optional<std::filesystem::path> FrameworkPlatform::urlForApplication(
    const std::string& bundleID) const {
    const auto url = NSWorkspace::sharedWorkspace().URLForApplicationWithBundleIdentifier(bundleID);
    if (!url) return std::nullopt;
    return std::filesystem::path(*url);
}

void FrameworkPlatform::openApplication(const std::filesystem::path& url, OpenFailure failed) {
    // The workspace answers on the calling thread, which is the main one.
    NSWorkspace::sharedWorkspace().openApplicationAtURL(
        url.string(), NSWorkspaceOpenConfiguration{},
        [failed = std::move(failed)](NSRunningApplicationRef, std::optional<std::string> error) {
            if (error && failed) failed(*error);
        });
}

void FrameworkPlatform::activate(int pid) {
    if (const auto app = NSRunningApplication::runningApplicationWithProcessIdentifier(pid)) {
        app->activateWithOptions(0);
    }
}

bool FrameworkPlatform::isLeftMouseButtonDown() const {
    return (NSEvent::pressedMouseButtons() & 1) != 0;
}

std::optional<CGPoint> FrameworkPlatform::pointerLocation() const {
    const CGEventRef event = CGEventCreate(nullptr);
    if (!event) return std::nullopt;
    return CGEventGetLocation(event);
}

std::vector<ScreenWindow> FrameworkPlatform::onScreenWindows() const {
    return ScreenWindows::onScreen();
}

void FrameworkPlatform::setActivationPolicy(ActivationPolicy policy) {
    NSApplication::sharedApplication().setActivationPolicy(
        policy == ActivationPolicy::regular ? NSApplicationActivationPolicyRegular
                                            : NSApplicationActivationPolicyAccessory);
}

bool FrameworkPlatform::hasMainMenu() const {
    return NSApplication::sharedApplication().mainMenu() != nullptr;
}

void FrameworkPlatform::setMainMenu(const std::vector<MenuItem>& menus) {
    NSApplication::sharedApplication().setMainMenu(makeMenu("", menus));
}

void FrameworkPlatform::activateIgnoringOtherApps() {
    NSApplication::sharedApplication().activateIgnoringOtherApps(true);
}

bool FrameworkPlatform::isProcessTrusted(bool prompt) {
    if (!prompt) return AXIsProcessTrusted();
    return AXIsProcessTrustedWithOptions(
        CFDictionaryCreate({{kAXTrustedCheckOptionPrompt, CFBooleanCreate(true)}}));
}

int FrameworkPlatform::runAlert(const AlertRequest& request) {
    NSAlert alert;
    alert.messageText = request.message;
    alert.informativeText = request.informative;
    for (const std::string& button : request.buttons)
        alert.addButtonWithTitle(button);
    return static_cast<int>(alert.runModal());
}

int FrameworkPlatform::processIdentifier() const {
    return static_cast<int>(::getpid());
}

std::optional<std::string> FrameworkPlatform::mainBundleIdentifier() const {
    const auto self = NSRunningApplication::currentApplication();
    return self ? self->bundleIdentifier() : std::nullopt;
}

double FrameworkPlatform::bootTime() const {
    int name[2] = {CTL_KERN, KERN_BOOTTIME};
    struct timeval boot {};
    std::size_t length = sizeof boot;
    if (sysctl(name, 2, &boot, &length, nullptr, 0) != 0) return 0;
    return static_cast<double>(boot.tv_sec);
}

void FrameworkPlatform::observeApplicationHiding(ApplicationHandler hidden,
                                                 ApplicationHandler unhidden) {
    NSNotificationCenter& center = NSWorkspace::sharedWorkspace().notificationCenter();
    const auto relay = [](ApplicationHandler handler) {
        return [handler = std::move(handler)](const NSNotification& notification) {
            const auto app = NSWorkspace::applicationOf(notification);
            handler(app ? app->bundleIdentifier() : std::nullopt);
        };
    };
    workspaceTokens_.push_back(center.addObserver(NSWorkspaceDidHideApplicationNotification,
                                                  nullptr, &DispatchQueue::main(),
                                                  relay(std::move(hidden))));
    workspaceTokens_.push_back(center.addObserver(NSWorkspaceDidUnhideApplicationNotification,
                                                  nullptr, &DispatchQueue::main(),
                                                  relay(std::move(unhidden))));
}

void FrameworkPlatform::observeScreenParameters(std::function<void()> changed) {
    defaultTokens_.push_back(NSNotificationCenter::defaultCenter().addObserver(
        screenParametersNotification, nullptr, &DispatchQueue::main(),
        [changed = std::move(changed)](const NSNotification&) { changed(); }));
}

void FrameworkPlatform::observeWillTerminate(std::function<void()> terminating) {
    defaultTokens_.push_back(NSNotificationCenter::defaultCenter().addObserver(
        willTerminateNotification, nullptr, &DispatchQueue::main(),
        [terminating = std::move(terminating)](const NSNotification&) { terminating(); }));
}

}  // namespace kelvo
