#include "Platform/Accessibility/AXValue.h"

AXValueType AXValue::type() const {
    switch (value_.index()) {
        case 0:
            return kAXValueCGPointType;
        case 1:
            return kAXValueCGSizeType;
        case 2:
            return kAXValueCGRectType;
        default:
            return kAXValueAXErrorType;
    }
}

bool AXValue::isEqual(const CFObject& other) const {
    const auto* value = dynamic_cast<const AXValue*>(&other);
    return value && value->value_ == value_;
}

bool AXValue::copy(AXValueType wanted, void* out) const {
    if (wanted != type() || !out) return false;
    std::visit(
        [out](const auto& value) { *static_cast<std::decay_t<decltype(value)>*>(out) = value; },
        value_);
    return true;
}

AXValueRef AXValueCreate(AXValueType type, const void* valuePtr) {
    if (!valuePtr) return nullptr;
    switch (type) {
        case kAXValueCGPointType:
            return std::make_shared<const AXValue>(*static_cast<const CGPoint*>(valuePtr));
        case kAXValueCGSizeType:
            return std::make_shared<const AXValue>(*static_cast<const CGSize*>(valuePtr));
        case kAXValueCGRectType:
            return std::make_shared<const AXValue>(*static_cast<const CGRect*>(valuePtr));
        case kAXValueAXErrorType:
            return std::make_shared<const AXValue>(*static_cast<const AXError*>(valuePtr));
        default:
            return nullptr;
    }
}

AXValueType AXValueGetType(const AXValueRef& value) {
    return value ? value->type() : kAXValueIllegalType;
}

bool AXValueGetValue(const AXValueRef& value, AXValueType type, void* valuePtr) {
    return value && value->copy(type, valuePtr);
}
