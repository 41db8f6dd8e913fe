#include "Simulator/InProcessConnection.h"

namespace sim {

InProcessConnection::InProcessConnection(std::shared_ptr<Desktop> desktop)
    : desktop_(std::move(desktop)) {
    client_ = desktop_->attach([slot = slot_](const DesktopEvent& event) { slot->deliver(event); });
}

InProcessConnection::~InProcessConnection() {
    desktop_->detach(client_);
}

void InProcessConnection::SinkSlot::deliver(const DesktopEvent& event) {
    EventSink current;
    {
        std::lock_guard lock(mutex);
        current = sink;
    }
    if (current) current(event);
}

void InProcessConnection::setEventSink(EventSink sink) {
    std::lock_guard lock(slot_->mutex);
    slot_->sink = std::move(sink);
}

Pid InProcessConnection::registerClient(const ApplicationSpec& self) {
    pid_ = desktop_->registerClient(client_, self);
    return pid_;
}

Pid InProcessConnection::clientPid() const {
    return pid_;
}

bool InProcessConnection::isTrusted() {
    return desktop_->isTrusted();
}

bool InProcessConnection::checkTrust(bool prompt) {
    return desktop_->checkTrust(prompt);
}

ElementID InProcessConnection::applicationElement(Pid pid) {
    return desktop_->applicationElement(pid);
}

ElementID InProcessConnection::systemWideElement() {
    return desktop_->systemWideElement();
}

AttributeReply InProcessConnection::copyAttribute(ElementID element, const std::string& attribute,
                                                  double timeout) {
    return desktop_->copyAttribute(element, attribute, timeout);
}

AccessError InProcessConnection::setAttribute(ElementID element, const std::string& attribute,
                                              const AttributeValue& value, double timeout) {
    return desktop_->setAttribute(element, attribute, value, timeout);
}

SettableReply InProcessConnection::isAttributeSettable(ElementID element,
                                                       const std::string& attribute,
                                                       double timeout) {
    return desktop_->isAttributeSettable(element, attribute, timeout);
}

AccessError InProcessConnection::performAction(ElementID element, const std::string& action,
                                               double timeout) {
    return desktop_->performAction(element, action, timeout);
}

PidReply InProcessConnection::elementPid(ElementID element) {
    return desktop_->elementPid(element);
}

WindowNumberReply InProcessConnection::windowNumber(ElementID element) {
    return desktop_->windowNumber(element);
}

ObserverReply InProcessConnection::createObserver(Pid pid) {
    return desktop_->createObserver(client_, pid);
}

AccessError InProcessConnection::addNotification(ObserverID observer, ElementID element,
                                                 const std::string& notification) {
    return desktop_->addNotification(observer, element, notification);
}

AccessError InProcessConnection::removeNotification(ObserverID observer, ElementID element,
                                                    const std::string& notification) {
    return desktop_->removeNotification(observer, element, notification);
}

void InProcessConnection::releaseObserver(ObserverID observer) {
    desktop_->releaseObserver(observer);
}

std::vector<WindowListRow> InProcessConnection::windowList(std::uint32_t options,
                                                           WindowNumber relativeTo) {
    return desktop_->windowList(options, relativeTo);
}

std::vector<DisplayInfo> InProcessConnection::displays() {
    return desktop_->displays();
}

std::vector<ApplicationInfo> InProcessConnection::runningApplications() {
    return desktop_->runningApplications();
}

std::optional<ApplicationInfo> InProcessConnection::application(Pid pid) {
    return desktop_->application(pid);
}

std::optional<Pid> InProcessConnection::frontmostApplication() {
    return desktop_->frontmost();
}

bool InProcessConnection::activateApplication(Pid pid, bool allWindows) {
    return desktop_->activateApplication(pid, allWindows);
}

bool InProcessConnection::hideApplication(Pid pid) {
    return desktop_->hideApplication(pid);
}

bool InProcessConnection::unhideApplication(Pid pid) {
    return desktop_->unhideApplication(pid);
}

bool InProcessConnection::terminateApplication(Pid pid) {
    return desktop_->terminateApplication(pid);
}

void InProcessConnection::setActivationPolicy(Pid pid, ActivationPolicy policy) {
    desktop_->setActivationPolicy(pid, policy);
}

std::optional<std::string> InProcessConnection::applicationLocation(const std::string& bundleID) {
    return desktop_->applicationLocation(bundleID);
}

Pid InProcessConnection::openApplication(const std::string& bundlePath) {
    return desktop_->openApplication(bundlePath);
}

TapID InProcessConnection::createTap(const TapSpec& spec) {
    return desktop_->createTap(client_, spec);
}

void InProcessConnection::enableTap(TapID tap, bool enabled) {
    desktop_->enableTap(tap, enabled);
}

bool InProcessConnection::isTapEnabled(TapID tap) {
    return desktop_->tapEnabled(tap);
}

void InProcessConnection::releaseTap(TapID tap) {
    desktop_->releaseTap(tap);
}

void InProcessConnection::answerTapEvent(const TapAnswer& answer) {
    desktop_->answerTapEvent(answer);
}

void InProcessConnection::postEvent(const InputEvent& event, std::uint32_t location) {
    desktop_->postEvent(event, location);
}

void InProcessConnection::postEventToPid(const InputEvent& event, Pid pid) {
    desktop_->postEventToPid(event, pid);
}

std::uint32_t InProcessConnection::pressedMouseButtons() {
    return desktop_->pressedMouseButtons();
}

CGPoint InProcessConnection::pointerLocation() {
    return desktop_->pointerLocation();
}

std::uint64_t InProcessConnection::modifierFlags() {
    return desktop_->modifierFlags();
}

WindowNumber InProcessConnection::createOwnWindow(const OwnWindowSpec& spec) {
    return desktop_->createOwnWindow(client_, spec);
}

void InProcessConnection::updateOwnWindow(WindowNumber number, const OwnWindowSpec& spec) {
    desktop_->updateOwnWindow(number, spec);
}

void InProcessConnection::orderOwnWindow(WindowNumber number, bool front) {
    desktop_->orderOwnWindow(number, front);
}

void InProcessConnection::closeOwnWindow(WindowNumber number) {
    desktop_->closeOwnWindow(number);
}

AlertAnswer InProcessConnection::runAlert(const AlertSpec& alert) {
    return desktop_->runAlert(client_, alert);
}

double InProcessConnection::bootTime() {
    return desktop_->bootTime();
}

std::string InProcessConnection::operatingSystemVersion() {
    return desktop_->operatingSystemVersion();
}

void InProcessConnection::activateFileViewer(const std::vector<std::string>& paths) {
    desktop_->activateFileViewer(paths);
}

std::optional<PreferenceData> InProcessConnection::copyPreference(const std::string& domain,
                                                                  const std::string& key) {
    return desktop_->copyPreference(domain, key);
}

void InProcessConnection::writePreference(const std::string& domain, const std::string& key,
                                          const std::optional<PreferenceData>& value) {
    desktop_->writePreference(domain, key, value);
}

bool InProcessConnection::synchronizePreferences(const std::string& domain) {
    return desktop_->synchronizePreferences(domain);
}

}  // namespace sim
