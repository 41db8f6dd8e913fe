#include "Platform/AppKit/CALayer.h"

namespace {

thread_local int transactionDepth = 0;
thread_local bool actionsDisabled = false;

}  // namespace

void CALayer::setBorderColor(CGColorRef color) {
    borderColor_ = std::move(color);
    changed();
}

void CALayer::setBorderWidth(double width) {
    borderWidth_ = width;
    changed();
}

void CALayer::setCornerRadius(double radius) {
    cornerRadius_ = radius;
    changed();
}

void CALayer::setOpacity(float opacity) {
    opacity_ = opacity;
    changed();
}

void CALayer::setBackgroundColor(CGColorRef color) {
    backgroundColor_ = std::move(color);
    changed();
}

void CALayer::changed() {
    if (onChange_) onChange_();
}

void CATransaction::begin() {
    ++transactionDepth;
}

void CATransaction::commit() {
    if (transactionDepth > 0 && --transactionDepth == 0) actionsDisabled = false;
}

void CATransaction::setDisableActions(bool disable) {
    actionsDisabled = disable;
}

bool CATransaction::disableActions() {
    return actionsDisabled;
}
