#include "Support/KelvoCore/TreeInvariant.h"

#include <map>
#include <sstream>

namespace kelvo {

namespace {

std::string paneText(const Pane& pane) {
    return "(" + std::to_string(pane.desktop) + ", " + std::to_string(pane.display) + ")";
}

std::string shape(const LayoutTree::Node& node) {
    if (node.isLeaf()) return std::to_string(node.window()->raw);
    std::ostringstream ratio;
    ratio << *node.ratio();
    return "(" + toString(*node.axis()).substr(0, 1) + ratio.str() + " " + shape(*node.first()) +
           " " + shape(*node.second()) + ")";
}

}  // namespace

std::string shape(const LayoutTree& tree) {
    return tree.root ? shape(*tree.root) : "-";
}

std::string shape(const WorkspaceStore& store, const Pane& pane) {
    auto it = store.state().trees.find(pane);
    return it == store.state().trees.end() ? "-" : shape(it->second);
}

std::vector<std::string> treeInvariantViolations(const WorkspaceStore& store) {
    const WorkspaceStore::State& state = store.state();
    std::vector<std::string> violations;
    std::map<WindowID, Pane> seenIn;
    for (const auto& [pane, tree] : state.trees) {
        for (WindowID w : tree.windows()) {
            const std::string where = w.description() + " in " + paneText(pane);
            if (auto earlier = seenIn.find(w); earlier != seenIn.end()) {
                violations.push_back(where + " again, first in " + paneText(earlier->second));
                continue;
            }
            seenIn.emplace(w, pane);
            if (!state.windows.count(w)) violations.push_back(where + ": not managed");
        }
    }
    for (const auto& [w, record] : state.windows) {
        const std::string window =
            w.description() + " (desktop " + std::to_string(record.home) + ")";
        if (record.home < 1 || record.home > store.desktopCount()) {
            violations.push_back(window + ": its desktop does not exist");
        }
        const auto leaf = seenIn.find(w);
        const bool tiled = !record.floating && !record.fullScreened;
        if (leaf == seenIn.end()) {
            if (tiled) violations.push_back(window + ": tiled but in no tree");
        } else if (!tiled) {
            violations.push_back(window + ": " + (record.floating ? "floats" : "full screen") +
                                 " but in " + paneText(leaf->second));
        } else if (const auto own = store.paneKey(w); !(*own == leaf->second)) {
            violations.push_back(window + " in " + paneText(leaf->second) + ": lives in " +
                                 paneText(*own));
        }
        if (record.fullScreenReturn && (!record.fullScreened || record.floating)) {
            violations.push_back(window + ": a place to return to from full screen, but " +
                                 (record.floating ? "floating" : "not full screen"));
        }
    }
    for (const auto& [desktop, w] : state.zoomedByDesktop) {
        const auto record = state.windows.find(w);
        if (record == state.windows.end() || record->second.home != desktop ||
            record->second.floating) {
            violations.push_back("zoom of desktop " + std::to_string(desktop) + ": " +
                                 w.description() + " is not a window of it that can tile");
        }
    }
    for (int desktop : state.showingDesktop) {
        if (store.windows(desktop).empty()) {
            violations.push_back("desktop " + std::to_string(desktop) +
                                 " shows the desktop but has no windows");
        }
    }
    return violations;
}

}  // namespace kelvo
