#include "KelvoAX/Bridge/AXWindowBridge.h"

#include "Base/Text/UnicodeText.h"
#include "KelvoAX/Bridge/AXAttributes.h"
#include "KelvoAX/Classification/WindowClassification.h"
#include "Platform/Accessibility/AXConstants.h"
#include "Platform/AppKit/NSWorkspace.h"

namespace kelvo {

namespace {

pid_t ownProcessIdentifier() {
    const NSRunningApplicationRef own = NSRunningApplication::currentApplication();
    return own ? own->processIdentifier() : 0;
}

bool sameBundle(const std::optional<std::string>& bundleID, const std::string& wanted) {
    return bundleID && UnicodeText::canonicallyEquivalent(*bundleID, wanted);
}

/// The elements of an "AXWindows" value; none unless every entry is an element.
std::optional<std::vector<AXUIElementRef>> elementsOf(const CFTypeRef& value) {
    const CFArrayRef array = CFCast<CFArray>(value);
    if (!array) return std::nullopt;
    std::vector<AXUIElementRef> elements;
    for (const CFTypeRef& entry : array->values()) {
        AXUIElementRef element = CFCast<AXUIElement>(entry);
        if (!element) return std::nullopt;
        elements.push_back(std::move(element));
    }
    return elements;
}

}  // namespace

AXWindowBridge::AXWindowBridge(Config config) : config_(std::move(config)) {}

AXWindowBridge::~AXWindowBridge() {
    endWatch();
}

std::vector<ManagedWindow> AXWindowBridge::windows() {
    const ElementMap previous = elements_;
    elements_.clear();
    std::set<WindowID> provisional;
    std::set<WindowID> seen;
    std::vector<ManagedWindow> found;
    const pid_t own = ownProcessIdentifier();
    for (const NSRunningApplicationRef& app :
         NSWorkspace::sharedWorkspace().runningApplications()) {
        if (isScanned(*app, own)) read(*app, provisional, seen, found);
    }
    retainWindowsMissedBy(previous);
    provisionallyIgnored_ = std::move(provisional);
    std::erase_if(known_, [&](const auto& entry) { return !elements_.contains(entry.first); });
    return found;
}

ApplicationWindows AXWindowBridge::windows(const std::string& bundleID) {
    ApplicationWindows result;
    std::set<WindowID> provisional = provisionallyIgnored_;
    const pid_t own = ownProcessIdentifier();
    for (const NSRunningApplicationRef& app :
         NSWorkspace::sharedWorkspace().runningApplications()) {
        if (isScanned(*app, own) && sameBundle(app->bundleIdentifier(), bundleID)) {
            read(*app, provisional, result.seen, result.windows);
        }
    }
    provisionallyIgnored_ = std::move(provisional);
    return result;
}

std::optional<ManagedWindow> AXWindowBridge::adopt(const WindowElementRef& handed,
                                                   const std::string& bundleID) {
    const AXUIElementRef element = elementIn(handed);
    if (!element) return std::nullopt;
    std::set<WindowID> provisional = provisionallyIgnored_;
    std::set<WindowID> seen;
    std::optional<ManagedWindow> window = candidate(element, bundleID, provisional, seen);
    provisionallyIgnored_ = std::move(provisional);
    return window;
}

std::set<WindowID> AXWindowBridge::takeGone() {
    return std::exchange(confirmedGone_, {});
}

AXUIElementRef AXWindowBridge::handle(WindowID id) const {
    const auto found = elements_.find(id);
    return found == elements_.end() ? nullptr : found->second;
}

std::optional<WindowElementRef> AXWindowBridge::element(WindowID id) const {
    AXUIElementRef found = handle(id);
    if (!found) return std::nullopt;
    return WindowElementRef(std::move(found));
}

AXUIElementRef AXWindowBridge::elementIn(const WindowElementRef& element) {
    const auto* handle = std::any_cast<AXUIElementRef>(&element);
    return handle ? *handle : nullptr;
}

std::optional<CGRect> AXWindowBridge::lastKnownFrame(WindowID id) const {
    const auto found = known_.find(id);
    if (found == known_.end()) return std::nullopt;
    return found->second.frame;
}

bool AXWindowBridge::isScanned(const NSRunningApplication& app, pid_t own) {
    return app.activationPolicy() == NSApplicationActivationPolicyRegular &&
           app.processIdentifier() != own;
}

void AXWindowBridge::read(const NSRunningApplication& app, std::set<WindowID>& provisional,
                          std::set<WindowID>& seen, std::vector<ManagedWindow>& into) {
    if (app.processIdentifier() < 1 || app.isTerminated()) return;
    const std::optional<std::string> bundleID = app.bundleIdentifier();
    if (!bundleID) return;
    const AXUIElementRef appElement = applicationElement(app.processIdentifier());
    CFTypeRef value;
    if (AXUIElementCopyAttributeValue(appElement, kAXWindowsAttribute, &value) != kAXErrorSuccess) {
        return;
    }
    const auto listed = elementsOf(value);
    if (!listed) return;
    for (const AXUIElementRef& element : *listed) {
        if (auto window = candidate(element, *bundleID, provisional, seen)) {
            into.push_back(std::move(*window));
        }
    }
}

std::optional<ManagedWindow> AXWindowBridge::candidate(const AXUIElementRef& element,
                                                       const std::string& bundleID,
                                                       std::set<WindowID>& provisional,
                                                       std::set<WindowID>& seen) {
    AXUIElementSetMessagingTimeout(element, messagingTimeout);
    const std::optional<WindowID> id = windowID(element);
    if (!id) return std::nullopt;
    seen.insert(*id);
    const News::Mark frameReadAt = newsAbout(element);
    const News::Mark minimizedReadAt = newsBeyondFrameAbout(element);
    // The frame, and what classifies the window beside it, in one message.
    const AXAttributes::Traits read = AXAttributes::traits(element);
    const std::optional<CGRect> frame = read.frame;
    if (!frame) return std::nullopt;

    const WindowTraits traits{
        read.subrole.value_or(""),
        AXAttributes::isSettable(element, kAXPositionAttribute),
        AXAttributes::isSettable(element, kAXSizeAttribute),
        frame->size,
        bundleID,
        read.fullScreen.value_or(false),
    };
    const std::optional<bool> minimized = read.minimized;
    noteTraits(*id, config_.effectiveIgnoreBundleIDs().contains(bundleID), traits.fullScreen,
               traits.positionSettable, provisional);

    std::optional<ManagedWindow> window =
        adoptionCandidate(*id, *frame, traits, config_, minimized.value_or(false));
    if (!window) return std::nullopt;
    elements_[*id] = element;
    noteRead(*id, *frame, frameReadAt);
    if (minimized) {
        KnownWindow& known = known_[*id];
        known.minimized = *minimized;
        known.minimizedFreshAt = minimizedReadAt;
    }
    return window;
}

void AXWindowBridge::noteTraits(WindowID id, bool ignoredApplication, bool fullScreen,
                                bool positionSettable, std::set<WindowID>& provisional) {
    if (ignoredApplication) {
        provisional.erase(id);
        seenFullScreen_.erase(id);
    } else if (fullScreen) {
        provisional.erase(id);
        seenFullScreen_.insert(id);
    } else {
        if (positionSettable) {
            provisional.erase(id);
        } else {
            provisional.insert(id);
        }
        seenFullScreen_.erase(id);
    }
}

void AXWindowBridge::retainWindowsMissedBy(const ElementMap& previous) {
    std::set<WindowID> retained;
    for (const auto& [id, element] : previous) {
        if (elements_.contains(id)) continue;
        CFTypeRef role;
        const AXError error = AXUIElementCopyAttributeValue(element, kAXRoleAttribute, &role);
        if (error == kAXErrorSuccess) {
            elements_[id] = element;
            retained.insert(id);
        } else if (error == kAXErrorInvalidUIElement) {
            confirmedGone_.insert(id);
        }
    }
    retainedWindows_ = std::move(retained);
}

std::vector<FrameWriteStep> AXWindowBridge::frameWriteSequence(
    const std::optional<CGRect>& lastKnown, const CGRect& target, bool enhancedUserInterface) {
    return kelvo::frameWriteSequence(lastKnown, target, enhancedUserInterface);
}

}  // namespace kelvo
