#include <vector>

#include "KelvoApp/Services/CheatsheetPanelController.h"
#include "KelvoApp/Services/SwitchHUD.h"
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
