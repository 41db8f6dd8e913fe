#include "Base/CoreGraphics/CGRecordingContext.h"

std::vector<CGDrawOperation> CGRecordingContext::operations(CGDrawOperationKind kind) const {
    std::vector<CGDrawOperation> found;
    for (const CGDrawOperation& op : operations_)
        if (op.kind == kind) found.push_back(op);
    return found;
}
