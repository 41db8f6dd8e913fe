#include <vector>

#include "KelvoApp/Services/Overlays/CheatsheetPanelController.h"
#include "KelvoApp/Services/Overlays/SwitchHUD.h"
#include "KelvoCore/Bindings/KeyReference.h"
#include "PanelDesk.h"
#include "PictureBook.h"

namespace kelvo_pictures {

namespace {

CGImageRef switchDisplayAtRest() {
    PanelDesk desk;
    kelvo::SwitchHUD hud;
    hud.show(2);
    desk.wait(kelvo::SwitchHUD::fadeInDuration + kelvo::SwitchHUD::restDuration / 2);
    return PanelDesk::picture(hud.panel, 40);
}

/// The cheat sheet of the default configuration, as it opens or with its list turned by the
/// wheel as far down as it goes.
CGImageRef cheatsheet(bool scrolledToEnd) {
    PanelDesk desk;
    kelvo::CheatsheetPanelController sheet([] { return kelvo::KeyReference::sections({}); });
    sheet.toggle();
    desk.wait(0.1);
    if (scrolledToEnd) {
        const SwiftUI::LayoutNode* list =
            sheet.hosting->layoutTree().findKind(SwiftUI::NodeKind::scrollView);
        if (!list) return nullptr;
        const CGRect frame = list->frame;
        sheet.hosting->graph().scroll({frame.midX(), frame.midY()}, -frame.height() * 100);
        desk.wait(0.1);
    }
    return PanelDesk::picture(sheet.panel, 24);
}

}  // namespace

std::vector<Picture> overlayPictures() {
    return {
        {"switch-display-at-rest", switchDisplayAtRest},
        {"cheatsheet-default", [] { return cheatsheet(false); }},
        {"cheatsheet-scrolled-to-end", [] { return cheatsheet(true); }},
    };
}

}  // namespace kelvo_pictures
