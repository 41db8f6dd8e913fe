// Full screen.

#include "KelvoCore/Store/WorkspaceStore.h"

namespace kelvo {

// Until full screen is built: a window the layout pass gives up on while full screen is only
// recorded as full screen and taken out of its tree.
void WorkspaceStore::enterFullScreen(WindowID w, int desktop) {
    state_.fullScreened.insert(w);
    removeFromTree(w, desktop);
}

}  // namespace kelvo
