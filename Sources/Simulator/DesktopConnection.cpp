#include "Simulator/DesktopConnection.h"

namespace sim {

std::optional<PreferenceData> DesktopConnection::copyPreference(const std::string&,
                                                                const std::string&) {
    return std::nullopt;
}

void DesktopConnection::writePreference(const std::string&, const std::string&,
                                        const std::optional<PreferenceData>&) {}

bool DesktopConnection::synchronizePreferences(const std::string&) {
    return false;
}

AttributeReply DisconnectedConnection::copyAttribute(ElementID, const std::string&, double) {
    return {AccessError::cannotComplete, {}};
}

AccessError DisconnectedConnection::setAttribute(ElementID, const std::string&,
                                                 const AttributeValue&, double) {
    return AccessError::cannotComplete;
}

SettableReply DisconnectedConnection::isAttributeSettable(ElementID, const std::string&, double) {
    return {AccessError::cannotComplete, false};
}

AccessError DisconnectedConnection::performAction(ElementID, const std::string&, double) {
    return AccessError::cannotComplete;
}

PidReply DisconnectedConnection::elementPid(ElementID) {
    return {AccessError::cannotComplete, 0};
}

WindowNumberReply DisconnectedConnection::windowNumber(ElementID) {
    return {AccessError::cannotComplete, 0};
}

ObserverReply DisconnectedConnection::createObserver(Pid) {
    return {AccessError::cannotComplete, 0};
}

AccessError DisconnectedConnection::addNotification(ObserverID, ElementID, const std::string&) {
    return AccessError::cannotComplete;
}

AccessError DisconnectedConnection::removeNotification(ObserverID, ElementID, const std::string&) {
    return AccessError::cannotComplete;
}

}  // namespace sim
