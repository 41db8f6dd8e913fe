#include "Platform/AppKit/NSControl.h"

#include "Platform/AppKit/NSApplication.h"

void NSControl::setEnabled(bool enabled) {
    enabled_ = enabled;
    setNeedsDisplay();
}

NSEventMask NSControl::sendActionOn(NSEventMask mask) {
    const NSEventMask former = actionMask_;
    actionMask_ = mask;
    return former;
}

bool NSControl::sendAction(const std::string& action, NSObject* target) {
    return NSApplication::sharedApplication().sendAction(action, target, this);
}
