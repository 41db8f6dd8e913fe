#include "Simulator/Server/DesktopControl.h"
#include "Simulator/Server/DesktopService.h"

// What the command line does to the system's own interface: scripted answers to panels, and
// what was shown and opened.

namespace sim {

std::vector<FilePanelRecord> DesktopControl::filePanels() {
    return desktop_.filePanels();
}

void DesktopControl::answerFilePanels(const std::vector<std::string>& answers) {
    for (const std::string& answer : answers) {
        if (answer != filePanelCancelled && !answer.starts_with('/'))
            throw RequestFailure("not an absolute path or cancel: " + answer);
    }
    desktop_.answerFilePanels(answers);
}

std::vector<ColorPanelRecord> DesktopControl::colorPanels() {
    return desktop_.colorPanels();
}

void DesktopControl::answerColorPanels(const std::vector<std::string>& colors) {
    for (const std::string& color : colors) {
        if (!Desktop::normalizedColor(color)) throw RequestFailure("not a colour: " + color);
    }
    desktop_.answerColorPanels(colors);
}

std::vector<std::string> DesktopControl::openedURLs() {
    return desktop_.openedURLs();
}

void DesktopControl::setReduceMotion(bool on) {
    desktop_.setReduceMotion(on);
}

}  // namespace sim

namespace sim {

void DesktopControl::setLoginItemPolicy(const std::string& application, const std::string& policy) {
    const auto known = loginItemPolicyFromString(policy);
    if (!known) throw RequestFailure("not a login-item policy: " + policy);
    desktop_.setLoginItemPolicy(application, *known);
}

std::vector<std::string> DesktopControl::loginItems() {
    return desktop_.loginItems();
}

}  // namespace sim
