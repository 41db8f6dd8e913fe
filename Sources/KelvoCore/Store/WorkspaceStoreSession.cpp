// The session snapshot and its restore at start-up.

#include <algorithm>
#include <span>

#include "KelvoCore/Store/WorkspaceStore.h"

namespace kelvo {

namespace {

/// The tree with every repeated leaf after the first relabelled to a number that is neither
/// live nor in the tree, so that the dead-leaf removal drops the repeats and keeps the first.
LayoutTree withoutRepeatedLeaves(const LayoutTree& tree, const std::set<WindowID>& live) {
    const std::vector<WindowID> leaves = tree.windows();
    std::set<WindowID> taken(leaves.begin(), leaves.end());
    if (taken.size() == leaves.size()) return tree;
    taken.insert(live.begin(), live.end());
    std::uint32_t spare = UINT32_MAX;
    std::set<WindowID> seen;
    std::vector<WindowID> labels;
    for (WindowID w : leaves) {
        if (seen.insert(w).second) {
            labels.push_back(w);
            continue;
        }
        while (taken.count(WindowID(spare)))
            --spare;
        labels.push_back(WindowID(spare));
        taken.insert(WindowID(spare));
    }
    std::span<const WindowID> ids(labels);
    return LayoutTree(LayoutTree::relabel(*tree.root, ids));
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
            auto bundle = state_.bundleIDs.find(w);
            if (bundle != state_.bundleIDs.end()) snapshot.bundleIDs[w] = bundle->second;
        }
    }
    return snapshot;
}

std::set<WindowID> WorkspaceStore::restore(const std::optional<SessionSnapshot>& snapshot,
                                           const std::vector<AdoptionRecord>& records) {
    std::set<WindowID> restored;
    if (!snapshot) return restored;
    std::map<WindowID, std::string> live;
    std::set<WindowID> liveIDs;
    for (const AdoptionRecord& r : records) {
        if (r.floating) continue;
        live[r.id] = r.bundleID;
        liveIDs.insert(r.id);
    }
    std::set<std::uint32_t> known;
    for (const Display& d : state_.displays)
        known.insert(d.id);

    for (const SessionSnapshot::PaneTree& saved : snapshot->panes) {
        if (saved.desktop < 1 || saved.desktop > desktopCount()) continue;
        if (!known.empty() && !known.count(saved.display)) continue;
        LayoutTree tree = withoutRepeatedLeaves(saved.tree, liveIDs);
        for (WindowID w : tree.windows()) {
            auto now = live.find(w);
            auto then = snapshot->bundleIDs.find(w);
            const bool sameApplication = now != live.end() && then != snapshot->bundleIDs.end() &&
                                         then->second == now->second;
            if (!sameApplication || restored.count(w)) tree.remove(w);
        }
        if (tree.isEmpty()) continue;
        const std::uint32_t display = known.empty() ? managedDisplayID() : saved.display;
        state_.trees[Pane{saved.desktop, display}] = tree;
        for (WindowID w : tree.windows()) {
            state_.home[w] = saved.desktop;
            if (!known.empty()) state_.displayHome[w] = saved.display;
            restored.insert(w);
        }
    }
    if (!restored.empty()) fire(hooks.onRestoredSession, static_cast<int>(restored.size()));
    return restored;
}

}  // namespace kelvo
