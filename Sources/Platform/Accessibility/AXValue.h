#pragma once

#include <memory>
#include <variant>

#include "Base/Foundation/CFType.h"
#include "Base/Foundation/CGGeometry.h"
#include "Platform/Accessibility/AXError.h"

// Geometry wrapped for Accessibility attributes: a point for "AXPosition", a size for
// "AXSize"; and the error that reading one attribute of several met.

enum AXValueType {
    kAXValueIllegalType = 0,
    kAXValueCGPointType = 1,
    kAXValueCGSizeType = 2,
    kAXValueCGRectType = 3,
    kAXValueAXErrorType = 5,
};

class AXValue final : public CFObject {
  public:
    explicit AXValue(CGPoint point) : value_(point) {}
    explicit AXValue(CGSize size) : value_(size) {}
    explicit AXValue(CGRect rect) : value_(rect) {}
    explicit AXValue(AXError error) : value_(error) {}
    AXValueType type() const;
    bool isEqual(const CFObject& other) const override;
    /// Copies the value into `out` when it is of `type`.
    bool copy(AXValueType type, void* out) const;

  private:
    std::variant<CGPoint, CGSize, CGRect, AXError> value_;
};
using AXValueRef = std::shared_ptr<const AXValue>;

/// A value of `type` read from `valuePtr` (a CGPoint, CGSize, CGRect or AXError); null for
/// another type.
AXValueRef AXValueCreate(AXValueType type, const void* valuePtr);
AXValueType AXValueGetType(const AXValueRef& value);
/// False when the value is not of `type`.
bool AXValueGetValue(const AXValueRef& value, AXValueType type, void* valuePtr);
