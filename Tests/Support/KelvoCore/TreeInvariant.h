#pragma once

#include <string>
#include <vector>

#include "KelvoCore/Store/WorkspaceStore.h"

namespace kelvo {

/// Every way the store's model breaks "a window is in at most one tree, once, and in the tree
/// of its home desktop and display", checked against each window's record: a leaf of an
/// unmanaged window, a window in two leaves or two trees, a leaf outside the window's own pane,
/// a floating or full-screen window in a tree, a tiled window missing from its pane, a window on
/// a desktop that does not exist, a full-screen return kept for a window that cannot use it; and
/// against the desktops: a zoom of a floating window or one of another desktop, a desktop showing
/// the desktop with no windows. One line each; empty when all holds.
std::vector<std::string> treeInvariantViolations(const WorkspaceStore& store);

/// A tree written compactly: a leaf as its window number, a split as "(v0.5 a b)" with the
/// axis's initial and the ratio; "-" for an empty tree.
std::string shape(const LayoutTree& tree);
/// The shape of the pane's tree in the store, "-" when it has none.
std::string shape(const WorkspaceStore& store, const Pane& pane);

}  // namespace kelvo
