#pragma once

#include <vector>

#include "Base/CoreGraphics/CGContext.h"

/// A context that draws nothing and keeps every operation with its geometry and state, so that
/// tests can say what was drawn. Its base space is user space at first, y growing upwards.
class CGRecordingContext final : public CGContext {
  public:
    explicit CGRecordingContext(CGSize size = {}) : size_(size) {}

    CGSize size() const { return size_; }
    const std::vector<CGDrawOperation>& operations() const { return operations_; }
    /// The operations of one kind, in the order they were drawn.
    std::vector<CGDrawOperation> operations(CGDrawOperationKind kind) const;

  protected:
    void perform(const CGDrawOperation& op) override { operations_.push_back(op); }

  private:
    CGSize size_;
    std::vector<CGDrawOperation> operations_;
};
