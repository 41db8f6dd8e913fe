#include "Support/KelvoApp/FakeAppPlatform.h"

#include "Base/Foundation/FileSystem.h"

namespace kelvo {

ScreenDescription FakeAppPlatform::screen(double width, double height, std::uint32_t number,
                                          double x, double y) {
    return ScreenDescription{CGRect(x, y, width, height), CGRect(x, y, width, height - 25), number};
}

void FakeAppPlatform::note(const std::string& call) const {
    if (recordFD >= 0) writeAll(recordFD, "[platform] " + call + "\n");
}

std::optional<ScreenDescription> FakeAppPlatform::mainScreen() const {
    note("mainScreen");
    if (!mainIndex || *mainIndex >= screenList.size()) return std::nullopt;
    return screenList[*mainIndex];
}

std::optional<std::filesystem::path> FakeAppPlatform::urlForApplication(
    const std::string& bundle) const {
    const auto found = installed.find(bundle);
    if (found == installed.end()) return std::nullopt;
    return found->second;
}

void FakeAppPlatform::openApplication(const std::filesystem::path& url, OpenFailure failed) {
    requests.push_back("open(" + url.string() + ")");
    const auto failure = openFailures.find(url);
    if (failure != openFailures.end() && failed) failed(failure->second);
}

void FakeAppPlatform::activate(int which) {
    requests.push_back("activate(" + std::to_string(which) + ")");
}

void FakeAppPlatform::setActivationPolicy(ActivationPolicy policy) {
    note(policy == ActivationPolicy::regular ? "policy(regular)" : "policy(accessory)");
    requests.push_back(policy == ActivationPolicy::regular ? "policy(regular)"
                                                           : "policy(accessory)");
}

void FakeAppPlatform::setMainMenu(const std::vector<MenuItem>& menus) {
    mainMenu = true;
    menusSet.push_back(menus);
    requests.push_back("setMainMenu");
}

void FakeAppPlatform::activateIgnoringOtherApps() {
    requests.push_back("activateSelf");
}

bool FakeAppPlatform::isProcessTrusted(bool prompt) {
    note(prompt ? "isProcessTrusted(prompt)" : "isProcessTrusted");
    if (prompt) {
        requests.push_back("trustPrompt");
        if (promptGrants) trusted = true;
    }
    return trusted;
}

int FakeAppPlatform::runAlert(const AlertRequest& alert) {
    note("runAlert " + alert.message);
    alerts.push_back(alert);
    if (alertAnswers.empty()) return 1001;
    const int answer = alertAnswers.front();
    alertAnswers.erase(alertAnswers.begin());
    return answer;
}

}  // namespace kelvo
