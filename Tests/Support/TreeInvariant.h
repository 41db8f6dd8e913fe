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

}  // namespace kelvo
