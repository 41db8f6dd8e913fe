#include "Platform/AppKit/NSResponder.h"

void NSResponder::keyDown(NSEvent& event) {
    if (NSResponder* next = nextResponder()) next->keyDown(event);
}

void NSResponder::keyUp(NSEvent& event) {
    if (NSResponder* next = nextResponder()) next->keyUp(event);
}

void NSResponder::mouseDown(NSEvent& event) {
    if (NSResponder* next = nextResponder()) next->mouseDown(event);
}

void NSResponder::mouseUp(NSEvent& event) {
    if (NSResponder* next = nextResponder()) next->mouseUp(event);
}

void NSResponder::mouseDragged(NSEvent& event) {
    if (NSResponder* next = nextResponder()) next->mouseDragged(event);
}

void NSResponder::mouseMoved(NSEvent& event) {
    if (NSResponder* next = nextResponder()) next->mouseMoved(event);
}

void NSResponder::mouseExited(NSEvent& event) {
    if (NSResponder* next = nextResponder()) next->mouseExited(event);
}

void NSResponder::rightMouseDown(NSEvent& event) {
    if (NSResponder* next = nextResponder()) next->rightMouseDown(event);
}

void NSResponder::rightMouseUp(NSEvent& event) {
    if (NSResponder* next = nextResponder()) next->rightMouseUp(event);
}

void NSResponder::scrollWheel(NSEvent& event) {
    if (NSResponder* next = nextResponder()) next->scrollWheel(event);
}

bool NSResponder::performKeyEquivalent(NSEvent&) {
    return false;
}

void NSResponder::cancelOperation(const void* sender) {
    if (NSResponder* next = nextResponder()) next->cancelOperation(sender);
}

bool NSResponder::tryToPerform(const std::string& selector, const void* sender) {
    for (NSResponder* responder = this; responder; responder = responder->nextResponder()) {
        if (responder->performAction(selector, sender)) return true;
    }
    return false;
}
