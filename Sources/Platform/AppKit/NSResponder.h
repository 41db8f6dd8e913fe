#pragma once

#include <string>

#include "Base/Foundation/NSObject.h"

class NSEvent;

/// A link of the responder chain: an object that can take events and actions, or hand them on
/// to its next responder. A view's next responder is its superview, the content view's is its
/// window. What nobody in the chain takes is dropped.
class NSResponder : public NSObject {
  public:
    virtual NSResponder* nextResponder() const { return nextResponder_; }
    void setNextResponder(NSResponder* next) { nextResponder_ = next; }

    /// Whether it may become its window's first responder (false unless a subclass says so).
    virtual bool acceptsFirstResponder() const { return false; }
    /// Asked as it is about to become first responder; false refuses.
    virtual bool becomeFirstResponder() { return true; }
    /// Asked as it is about to stop being first responder; false refuses.
    virtual bool resignFirstResponder() { return true; }

    // Each hands the event on to the next responder unless a subclass takes it.
    virtual void keyDown(NSEvent& event);
    virtual void keyUp(NSEvent& event);
    virtual void mouseDown(NSEvent& event);
    virtual void mouseUp(NSEvent& event);
    virtual void mouseDragged(NSEvent& event);
    /// The pointer moved over the view without a button held.
    virtual void mouseMoved(NSEvent& event);
    /// The pointer left the view (moved onto another one or out of the window).
    virtual void mouseExited(NSEvent& event);
    virtual void rightMouseDown(NSEvent& event);
    virtual void rightMouseUp(NSEvent& event);
    virtual void scrollWheel(NSEvent& event);
    /// A key with modifiers, offered before the first responder sees it; true when taken.
    virtual bool performKeyEquivalent(NSEvent& event);
    /// Escape, or Command-period: handed on up the chain.
    virtual void cancelOperation(const void* sender);
    /// The action, by this responder or the first of the chain that answers it; false when
    /// none does.
    bool tryToPerform(const std::string& selector, const void* sender);

  private:
    NSResponder* nextResponder_ = nullptr;
};
