#include "Support/KelvoCore/HookRecorder.h"

namespace kelvo {

std::vector<std::string> HookRecorder::of(const std::string& hook) const {
    std::vector<std::string> matching;
    for (const auto& line : lines_) {
        if (line.rfind(hook + "(", 0) == 0) matching.push_back(line);
    }
    return matching;
}

void HookRecorder::install(WorkspaceStore& store) {
    auto& h = store.hooks;
    h.onLayoutPass = [this](int writes, int unsettled) {
        note("onLayoutPass(" + std::to_string(writes) + ", " + std::to_string(unsettled) + ")");
    };
    h.onExternalUnhide = [this](const std::string& b, int d) {
        note("onExternalUnhide(" + b + ", " + std::to_string(d) + ")");
    };
    h.onVisibilityFinding = [this](const VisibilityFinding& f) {
        note("onVisibilityFinding(" + f.line() + ")");
    };
    h.onParkFinding = [this](const ParkFinding& f) { note("onParkFinding(" + f.line() + ")"); };
    h.onGaveUp = [this](WindowID w, const std::optional<std::string>& b, std::optional<int> d) {
        note("onGaveUp(" + w.description() + ", " + b.value_or("nil") + ", " +
             (d ? std::to_string(*d) : "nil") + ")");
    };
    h.onFloatedForMinimum = [this](WindowID w, CGSize m) {
        note("onFloatedForMinimum(" + w.description() + ", " + describe(m) + ")");
    };
    h.onRearrangedForMinimum = [this](int d) {
        note("onRearrangedForMinimum(" + std::to_string(d) + ")");
    };
    h.onRestoredSession = [this](int n) { note("onRestoredSession(" + std::to_string(n) + ")"); };
    h.onApplicationHidden = [this](const std::string& b, bool hidden) {
        note("onApplicationHidden(" + b + ", " + (hidden ? "true" : "false") + ")");
    };
    h.onExternalFrameChange = [this](WindowID w, CGRect f) {
        note("onExternalFrameChange(" + w.description() + ", " + describe(f) + ")");
    };
    h.onFloatedAtLaunch = [this](WindowID w, CGSize current, CGSize slot) {
        note("onFloatedAtLaunch(" + w.description() + ", " + describe(current) + ", " +
             describe(slot) + ")");
    };
    h.onStashed = [this](WindowID w, int d) {
        note("onStashed(" + w.description() + ", " + std::to_string(d) + ")");
    };
    h.onLearnedFloatRule = [this](const std::string& b) { note("onLearnedFloatRule(" + b + ")"); };
    h.onLayoutModeChanged = [this](int d, LayoutMode m) {
        note("onLayoutModeChanged(" + std::to_string(d) + ", " + rawValue(m) + ")");
    };
    h.onAdopted = [this](WindowID w) { note("onAdopted(" + w.description() + ")"); };
    h.onDividerDragged = [this](WindowID w) { note("onDividerDragged(" + w.description() + ")"); };
    h.onDragStep = [this](WindowID w, CGRect f) {
        note("onDragStep(" + w.description() + ", " + describe(f) + ")");
    };
    h.onDragTarget = [this](std::optional<WindowID> w, std::optional<CGRect> f) {
        note("onDragTarget(" + (w ? w->description() : "nil") + ", " + (f ? describe(*f) : "nil") +
             ")");
    };
    h.onQuietPass = [this](int wanted, const std::string& unreadable,
                           const std::string& abandoned) {
        note("onQuietPass(" + std::to_string(wanted) + ", [" + unreadable + "], [" + abandoned +
             "])");
    };
    h.onLayoutSkip = [this](WindowID w, CGRect want, CGRect have) {
        note("onLayoutSkip(" + w.description() + ", " + describe(want) + ", " + describe(have) +
             ")");
    };
    h.onChangedDisplay = [this](WindowID w, std::uint32_t d) {
        note("onChangedDisplay(" + w.description() + ", " + std::to_string(d) + ")");
    };
    h.onFullScreenChanged = [this](WindowID w, bool entered) {
        note("onFullScreenChanged(" + w.description() + ", " + (entered ? "true" : "false") + ")");
    };
    h.onRearranged = [this](WindowID w, WindowID other) {
        note("onRearranged(" + w.description() + ", " + other.description() + ")");
    };
    h.onDragUnresolved = [this](WindowID w, const std::string& reason) {
        note("onDragUnresolved(" + w.description() + ", " + reason + ")");
    };
}

}  // namespace kelvo
