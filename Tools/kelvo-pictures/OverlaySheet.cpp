#include <unistd.h>

#include <memory>
#include <vector>

#include "Base/CoreGraphics/CGBitmapContext.h"
#include "Base/Foundation/ManualClock.h"
#include "KelvoApp/Services/CheatsheetPanelController.h"
#include "KelvoApp/Services/SwitchHUD.h"
#include "KelvoCore/Bindings/KeyReference.h"
#include "PictureBook.h"
#include "Simulator/Desktop.h"
#include "Simulator/InProcessConnection.h"
#include "Simulator/SharedConnection.h"

namespace kelvo_pictures {

namespace {

/// A desktop of this process for the panels to be windows of, on a clock that the picture
/// moves on; the panels' pictures are their content as drawn, over a grey like a desktop's.
class PanelDesk {
  public:
    PanelDesk() {
        desktop_->addDisplay(CGRect(0, 0, 1440, 900));
        sim::SharedConnection::install(connection_);
        sim::ApplicationSpec self;
        self.bundleID = "com.skarvelt.kelvo";
        self.name = "Kelvo";
        self.executablePath = "/build/KelvoApp";
        self.activationPolicy = sim::ActivationPolicy::accessory;
        self.pid = static_cast<sim::Pid>(getpid());
        connection_->registerClient(self);
    }
    ~PanelDesk() { sim::SharedConnection::install(nullptr); }
    PanelDesk(const PanelDesk&) = delete;
    PanelDesk& operator=(const PanelDesk&) = delete;

    void wait(double seconds) { clock_.advance(seconds); }

    /// The window's content on a margin of desktop grey.
    static CGImageRef picture(NSWindow& window, CGFloat margin) {
        const CGBitmapContext* drawn = window.renderContent();
        const CGImageRef content = drawn ? drawn->makeImage() : nullptr;
        const CGSize size = window.frame().size;
        const auto context =
            CGBitmapContext::make(CGSize{size.width + 2 * margin, size.height + 2 * margin}, 2);
        if (!content || !context) return nullptr;
        context->setFillColor(CGColorCreateGenericGray(0.36, 1));
        context->fill(CGRect(0, 0, size.width + 2 * margin, size.height + 2 * margin));
        context->draw(content, CGRect(margin, margin, size.width, size.height));
        return context->makeImage();
    }

  private:
    ManualClock clock_;
    std::shared_ptr<sim::Desktop> desktop_ = std::make_shared<sim::Desktop>();
    std::shared_ptr<sim::InProcessConnection> connection_ =
        std::make_shared<sim::InProcessConnection>(desktop_);
};

CGImageRef switchDisplayAtRest() {
    PanelDesk desk;
    kelvo::SwitchHUD hud;
    hud.show(2);
    desk.wait(kelvo::SwitchHUD::fadeInDuration + kelvo::SwitchHUD::restDuration / 2);
    return PanelDesk::picture(hud.panel, 40);
}

CGImageRef cheatsheetDefault() {
    PanelDesk desk;
    kelvo::CheatsheetPanelController sheet([] { return kelvo::KeyReference::sections({}); });
    sheet.toggle();
    desk.wait(0.1);
    return PanelDesk::picture(sheet.panel, 24);
}

}  // namespace

std::vector<Picture> overlayPictures() {
    return {
        {"switch-display-at-rest", switchDisplayAtRest},
        {"cheatsheet-default", cheatsheetDefault},
    };
}

}  // namespace kelvo_pictures
