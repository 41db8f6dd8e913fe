#include "Platform/AppKit/NSAlert.h"

#include <deque>
#include <mutex>

namespace {

struct Script {
    std::mutex mutex;
    std::deque<NSModalResponse> answers;
    std::vector<NSAlert::Shown> shown;
};

Script& script() {
    static Script* shared = new Script();  // lives as long as the process
    return *shared;
}

}  // namespace

NSModalResponse NSAlert::runModal() {
    Script& shared = script();
    std::lock_guard lock(shared.mutex);
    NSModalResponse answer = NSAlertFirstButtonReturn;
    if (!shared.answers.empty()) {
        answer = shared.answers.front();
        shared.answers.pop_front();
    }
    shared.shown.push_back(Shown{messageText, informativeText, buttons_, answer});
    return answer;
}

void NSAlert::scriptAnswers(std::vector<NSModalResponse> answers) {
    Script& shared = script();
    std::lock_guard lock(shared.mutex);
    shared.answers.assign(answers.begin(), answers.end());
}

std::vector<NSAlert::Shown> NSAlert::shownAlerts() {
    Script& shared = script();
    std::lock_guard lock(shared.mutex);
    return shared.shown;
}

void NSAlert::reset() {
    Script& shared = script();
    std::lock_guard lock(shared.mutex);
    shared.answers.clear();
    shared.shown.clear();
}
