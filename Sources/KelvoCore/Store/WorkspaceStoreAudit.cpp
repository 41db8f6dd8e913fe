// The visibility audit.

#include "KelvoCore/Store/WorkspaceStore.h"

namespace kelvo {

// Until the audit is built: it only clears the pending flag and finds nothing.
std::vector<VisibilityFinding> WorkspaceStore::auditActiveDesktop() {
    state_.auditPending = false;
    return {};
}

}  // namespace kelvo
