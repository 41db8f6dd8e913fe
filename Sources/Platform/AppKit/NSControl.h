#pragma once

#include <string>

#include "Base/Foundation/NSObject.h"
#include "Platform/AppKit/NSEvent.h"
#include "Platform/AppKit/NSView.h"

/// The platform's control states.
using NSControlStateValue = int;
inline constexpr NSControlStateValue NSControlStateValueMixed = -1;
inline constexpr NSControlStateValue NSControlStateValueOff = 0;
inline constexpr NSControlStateValue NSControlStateValueOn = 1;

/// A view that sends an action to a target when a person uses it. The target is not owned (it
/// is weak on the platform: its owner keeps it and clears it before it goes).
class NSControl : public NSView {
  public:
    using NSView::NSView;

    NSObject* target() const { return target_; }
    void setTarget(NSObject* target) { target_ = target; }
    /// The selector sent; empty for none.
    const std::string& action() const { return action_; }
    void setAction(std::string action) { action_ = std::move(action); }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    /// The mouse events that send the action (a left release unless changed); returns the
    /// former mask.
    NSEventMask sendActionOn(NSEventMask mask);
    NSEventMask actionMask() const { return actionMask_; }
    /// Sends the action to the target (or, without one, up the key window's responder chain);
    /// false when nobody answered it.
    bool sendAction(const std::string& action, NSObject* target);

  private:
    NSObject* target_ = nullptr;
    std::string action_;
    bool enabled_ = true;
    NSEventMask actionMask_ = NSEventMaskLeftMouseUp;
};
