#include "Platform/AppKit/NSAlert.h"

#include "Simulator/SharedConnection.h"

NSModalResponse NSAlert::runModal() {
    return static_cast<NSModalResponse>(sim::SharedConnection::current()->runAlert(
        sim::AlertSpec{messageText, informativeText, buttons_}));
}
