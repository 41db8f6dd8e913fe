#pragma once

#include <string>
#include <vector>

#include "KelvoCore/Store/WorkspaceStore.h"

namespace kelvo {

/// The tables of the store and of its reconciler that still name the window, each by its name:
/// the records ("windows"), the layout trees ("trees"), "zoomedByDesktop", "expectedFocus",
/// "nativeFocus", "parkedKeyWindow", and the reconciler's "strikes" (a count above zero),
/// "unmanageable", "clampedSizes", "unmovedOvershoot" and "ledger". Empty when none does.
std::vector<std::string> tablesNaming(const WorkspaceStore& store, WindowID w);

/// The reconciler's reports of its last pass that name the window, each by its name:
/// "abandonedInLastPass", "minimizedInLastPass", "skippedInLastPass", "unreadableInLastPass",
/// "abandonedSkipInLastPass" and "clampedInLastPass".
std::vector<std::string> lastPassReportsNaming(const WorkspaceStore& store, WindowID w);

}  // namespace kelvo
