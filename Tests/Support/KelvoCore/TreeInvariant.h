#pragma once

#include <string>
#include <vector>

#include "KelvoCore/Store/WorkspaceStore.h"

namespace kelvo {

/// Every way the store's trees break "a window is in at most one tree, once, and in the tree
/// of its home desktop and display": a leaf of an unmanaged window, a window in two leaves or
/// two trees, a leaf outside the window's own pane, a floating window in a tree, and a tiled
/// window (not full screen) missing from its pane. One line each; empty when all holds.
std::vector<std::string> treeInvariantViolations(const WorkspaceStore& store);

/// A tree written compactly: a leaf as its window number, a split as "(v0.5 a b)" with the
/// axis's initial and the ratio; "-" for an empty tree.
std::string shape(const LayoutTree& tree);
/// The shape of the pane's tree in the store, "-" when it has none.
std::string shape(const WorkspaceStore& store, const Pane& pane);

}  // namespace kelvo
