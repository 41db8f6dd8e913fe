#include "Platform/AppKit/NSGraphicsContext.h"

#include <vector>

namespace {

thread_local NSGraphicsContext* current = nullptr;
thread_local std::vector<NSGraphicsContext*> saved;

CGBlendMode blendMode(NSCompositingOperation operation) {
    switch (operation) {
        case NSCompositingOperation::destinationIn:
            return CGBlendMode::destinationIn;
        case NSCompositingOperation::destinationOut:
            return CGBlendMode::destinationOut;
        case NSCompositingOperation::plusLighter:
            return CGBlendMode::plusLighter;
        case NSCompositingOperation::sourceOver:
            break;
    }
    return CGBlendMode::normal;
}

CGInterpolationQuality quality(NSImageInterpolation interpolation) {
    switch (interpolation) {
        case NSImageInterpolation::none:
            return CGInterpolationQuality::none;
        case NSImageInterpolation::low:
            return CGInterpolationQuality::low;
        case NSImageInterpolation::medium:
            return CGInterpolationQuality::medium;
        case NSImageInterpolation::high:
            return CGInterpolationQuality::high;
        case NSImageInterpolation::defaultInterpolation:
            break;
    }
    return CGInterpolationQuality::defaultQuality;
}

}  // namespace

NSGraphicsContext* NSGraphicsContext::currentContext() {
    return current;
}

void NSGraphicsContext::setCurrentContext(NSGraphicsContext* context) {
    current = context;
}

void NSGraphicsContext::saveGraphicsState() {
    saved.push_back(current);
    if (current) current->context_.saveGState();
}

void NSGraphicsContext::restoreGraphicsState() {
    if (saved.empty()) return;
    current = saved.back();
    saved.pop_back();
    if (current) current->context_.restoreGState();
}

NSCompositingOperation NSGraphicsContext::compositingOperation() const {
    switch (context_.blendMode()) {
        case CGBlendMode::destinationIn:
            return NSCompositingOperation::destinationIn;
        case CGBlendMode::destinationOut:
            return NSCompositingOperation::destinationOut;
        case CGBlendMode::plusLighter:
            return NSCompositingOperation::plusLighter;
        case CGBlendMode::normal:
            break;
    }
    return NSCompositingOperation::sourceOver;
}

void NSGraphicsContext::setCompositingOperation(NSCompositingOperation operation) {
    context_.setBlendMode(blendMode(operation));
}

void NSGraphicsContext::setImageInterpolation(NSImageInterpolation interpolation) {
    interpolation_ = interpolation;
    context_.setInterpolationQuality(quality(interpolation));
}

NSGraphicsContextScope::NSGraphicsContextScope(NSGraphicsContext& context) : former_(current) {
    current = &context;
}

NSGraphicsContextScope::~NSGraphicsContextScope() {
    current = former_;
}
