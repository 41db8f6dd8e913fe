#pragma once

#include <memory>
#include <string>

#include "Platform/AppKit/NSWindow.h"

// Owns one window and shows it. The type's name is what code that looks at another part's
// windows goes by, so every subclass answers its own.

class NSWindowController {
  public:
    /// Takes the window and becomes its controller.
    explicit NSWindowController(std::unique_ptr<NSWindow> window);
    virtual ~NSWindowController();
    NSWindowController(const NSWindowController&) = delete;
    NSWindowController& operator=(const NSWindowController&) = delete;

    NSWindow* window() const { return window_.get(); }
    /// Brings the window forward and makes it key.
    void showWindow(const void* sender);
    virtual void close();
    /// The name of the controller's type.
    virtual std::string className() const { return "NSWindowController"; }

  private:
    std::unique_ptr<NSWindow> window_;
};
