#include "Platform/AppKit/NSWindowController.h"

NSWindowController::NSWindowController(std::unique_ptr<NSWindow> window)
    : window_(std::move(window)) {
    if (window_) window_->setWindowController(this);
}

NSWindowController::~NSWindowController() {
    if (window_) window_->setWindowController(nullptr);
}

void NSWindowController::showWindow(const void* sender) {
    if (window_) window_->makeKeyAndOrderFront(sender);
}

void NSWindowController::close() {
    if (window_) window_->close();
}
