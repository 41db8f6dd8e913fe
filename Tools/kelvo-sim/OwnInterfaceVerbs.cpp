#include <ostream>

#include "Base/JSON/JSONWriter.h"
#include "SimCommandLine.h"
#include "Simulator/Desktop.h"
#include "Simulator/Server/DesktopMessages.h"

// The verbs of the system's own interface: file and colour panels answered as a person would,
// what was shown and opened, and the desktop's accessibility settings.

namespace kelvo_sim {

namespace {

template <class T>
void printRecords(const std::vector<T>& records, std::ostream& out) {
    for (const auto& record : records)
        out << kelvo::JSONWriter::write(kelvo::encodeJSON(record)) << '\n';
}

bool isPanelAnswer(const std::string& answer) {
    return answer == sim::filePanelCancelled || answer.starts_with('/');
}

}  // namespace

std::string SimCommandLine::ownInterfaceUsage() {
    return "       kelvo-sim answer-panels PATH|cancel...   answers to the next file panels\n"
           "       kelvo-sim panels                 the file panels shown, oldest first\n"
           "       kelvo-sim answer-colours HEX...  colours picked in the next colour panels\n"
           "       kelvo-sim colours                the colour panels shown, oldest first\n"
           "       kelvo-sim opened                 the URLs opened or revealed, one a line\n"
           "       kelvo-sim setting reduce-motion yes|no\n"
           "       kelvo-sim login-item BUNDLEID allow|approval|refuse|missing\n"
           "                                        how the desktop answers its login-item "
           "requests\n"
           "       kelvo-sim login-items            each login item: identifier, status, policy\n";
}

std::function<void(sim::DesktopClient&)> SimCommandLine::ownInterfaceAction(
    const std::string& verb, const std::vector<std::string>& rest) {
    using Desktop = sim::DesktopClient;
    if (verb == "panels" || verb == "colours" || verb == "opened" || verb == "login-items") {
        if (!rest.empty()) throw UsageError{"wrong number of arguments for " + verb};
    }
    if (verb == "panels")
        return [this](Desktop& desktop) { printRecords(desktop.filePanels(), out_); };
    if (verb == "colours")
        return [this](Desktop& desktop) { printRecords(desktop.colorPanels(), out_); };
    if (verb == "opened") {
        return [this](Desktop& desktop) {
            for (const std::string& url : desktop.openedURLs())
                out_ << url << '\n';
        };
    }
    if (verb == "login-items") {
        return [this](Desktop& desktop) {
            for (const std::string& line : desktop.loginItems())
                out_ << line << '\n';
        };
    }
    if (verb == "login-item") {
        if (rest.size() != 2 || !sim::loginItemPolicyFromString(rest[1]))
            throw UsageError{"usage: login-item BUNDLEID allow|approval|refuse|missing"};
        return [rest](Desktop& desktop) { desktop.setLoginItemPolicy(rest[0], rest[1]); };
    }
    if (verb == "answer-panels") {
        if (rest.empty()) throw UsageError{"answer-panels takes a path or cancel"};
        for (const std::string& answer : rest) {
            if (!isPanelAnswer(answer))
                throw UsageError{"not an absolute path or cancel: " + answer};
        }
        return [rest](Desktop& desktop) { desktop.answerFilePanels(rest); };
    }
    if (verb == "answer-colours") {
        if (rest.empty()) throw UsageError{"answer-colours takes a colour such as #3A7BFF"};
        std::vector<std::string> colors;
        for (const std::string& text : rest) {
            const auto color = sim::Desktop::normalizedColor(text);
            if (!color) throw UsageError{"not a colour: " + text};
            colors.push_back(*color);
        }
        return [colors](Desktop& desktop) { desktop.answerColorPanels(colors); };
    }
    if (verb == "setting") {
        if (rest.size() != 2 || rest[0] != "reduce-motion" || (rest[1] != "yes" && rest[1] != "no"))
            throw UsageError{"usage: setting reduce-motion yes|no"};
        return [on = rest[1] == "yes"](Desktop& desktop) { desktop.setReduceMotion(on); };
    }
    return {};
}

}  // namespace kelvo_sim
