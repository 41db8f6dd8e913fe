#include "PanelDesk.h"

#include <unistd.h>

#include "Base/CoreGraphics/CGBitmapContext.h"
#include "Platform/AppKit/NSApplication.h"
#include "Simulator/SharedConnection.h"

namespace kelvo_pictures {

PanelDesk::PanelDesk(CGRect display) {
    desktop_->addDisplay(display);
    sim::SharedConnection::install(connection_);
    sim::ApplicationSpec self;
    self.bundleID = "com.skarvelt.kelvo";
    self.name = "Kelvo";
    self.executablePath = "/build/KelvoApp";
    self.activationPolicy = sim::ActivationPolicy::accessory;
    self.pid = static_cast<sim::Pid>(getpid());
    connection_->registerClient(self);
    // The application object is what hands the desktop's clicks and keys to this process's
    // windows.
    NSApplication::sharedApplication();
}

PanelDesk::~PanelDesk() {
    sim::SharedConnection::install(nullptr);
}

CGImageRef PanelDesk::picture(NSWindow& window, CGFloat margin) {
    const CGBitmapContext* drawn = window.renderContent();
    const CGImageRef content = drawn ? drawn->makeImage() : nullptr;
    const CGSize size = window.frame().size;
    // A window draws one pixel a point: a larger picture would only spread the same pixels.
    const auto context =
        CGBitmapContext::make(CGSize{size.width + 2 * margin, size.height + 2 * margin}, 1);
    if (!content || !context) return nullptr;
    context->setFillColor(CGColorCreateGenericGray(0.36, 1));
    context->fill(CGRect(0, 0, size.width + 2 * margin, size.height + 2 * margin));
    context->draw(content, CGRect(margin, margin, size.width, size.height));
    return context->makeImage();
}

}  // namespace kelvo_pictures
