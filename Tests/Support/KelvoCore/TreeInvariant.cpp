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
            const auto own = store.paneKey(w);
            if (!own) {
                violations.push_back(where + ": not managed");
            } else if (!(*own == pane)) {
                violations.push_back(where + ": lives in " + paneText(*own));
            }
            if (state.floating.count(w)) violations.push_back(where + ": floats");
        }
    }
    for (const auto& [w, home] : state.home) {
        if (state.floating.count(w) || state.fullScreened.count(w) || seenIn.count(w)) continue;
        violations.push_back(w.description() + " tiled on " + std::to_string(home) +
                             " but in no tree");
    }
    return violations;
}

}  // namespace kelvo
