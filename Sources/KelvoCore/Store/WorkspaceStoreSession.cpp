// The session snapshot and its restore at start-up.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "KelvoCore/Store/WorkspaceStore.h"

namespace kelvo {

namespace {

/// The saved tree less every leaf that cannot come back: a window that is not live, whose
/// saved application is unknown or another than the live one, that an earlier pane already
/// restored, or that a damaged file repeats (its first leaf stays). One walk over the tree,
/// however many of its windows are gone.
LayoutTree restorable(const LayoutTree& saved, const std::map<WindowID, std::string>& live,
                      const std::map<WindowID, std::string>& savedBundles,
                      const std::set<WindowID>& restored) {
    const std::vector<WindowID> leaves = saved.windows();
    std::map<WindowID, int> firstLeaf;
    for (std::size_t i = 0; i < leaves.size(); ++i)
        firstLeaf.try_emplace(leaves[i], static_cast<int>(i));
    LayoutTree tree = saved;
    tree.removeWhere([&](WindowID w, int ordinal) {
        if (firstLeaf.at(w) != ordinal || restored.count(w)) return true;
        const auto now = live.find(w);
        const auto then = savedBundles.find(w);
        return now == live.end() || then == savedBundles.end() || then->second != now->second;
    });
    return tree;
}

}  // namespace

SessionSnapshot WorkspaceStore::sessionSnapshot(double bootTime) const {
    SessionSnapshot snapshot;
    snapshot.bootTime = bootTime;
    snapshot.activeDesktop = activeDesktop();
    // The map is ordered by desktop, then display.
    for (const auto& [pane, tree] : state_.trees) {
        if (tree.isEmpty()) continue;
        snapshot.panes.push_back({pane.desktop, pane.display, tree});
        for (WindowID w : tree.windows()) {
            if (auto bundle = bundleOf(w)) snapshot.bundleIDs[w] = *bundle;
        }
    }
    return snapshot;
}

std::set<WindowID> WorkspaceStore::restore(const std::optional<SessionSnapshot>& snapshot,
                                           const std::vector<AdoptionRecord>& records) {
    std::set<WindowID> restored;
    if (!snapshot) return restored;
    std::map<WindowID, std::string> live;
    for (const AdoptionRecord& r : records) {
        if (!r.floating) live[r.id] = r.bundleID;
    }
    std::set<std::uint32_t> known;
    for (const Display& d : state_.displays)
        known.insert(d.id);

    for (const SessionSnapshot::PaneTree& saved : snapshot->panes) {
        if (saved.desktop < 1 || saved.desktop > desktopCount()) continue;
        if (!known.empty() && !known.count(saved.display)) continue;
        const LayoutTree tree = restorable(saved.tree, live, snapshot->bundleIDs, restored);
        if (tree.isEmpty()) continue;
        const std::uint32_t display = known.empty() ? managedDisplayID() : saved.display;
        // Two saved panes can meet in one (a damaged file, or every display's pane while no
        // display is known): the later tree joins the earlier one beside it, so that no
        // restored window is left without a tree.
        LayoutTree& pane = state_.trees[Pane{saved.desktop, display}];
        if (pane.isEmpty()) {
            pane = tree;
        } else {
            pane.root = LayoutTree::Node::split(Axis::vertical, LayoutTree::insertionRatio,
                                                *pane.root, *tree.root);
        }
        for (WindowID w : tree.windows()) {
            WindowState& record = manage(w, saved.desktop);
            if (!known.empty()) record.displayHome = saved.display;
            restored.insert(w);
        }
    }
    if (!restored.empty()) fire(hooks.onRestoredSession, static_cast<int>(restored.size()));
    return restored;
}

}  // namespace kelvo
