#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "KelvoApp/Services/Windows/GuideWindowController.h"
#include "KelvoApp/Settings/CFPreferenceStore.h"
#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoCore/Config/ConfigStore.h"
#include "KelvoCore/Tweaks/SystemTweakService.h"
#include "PanelDesk.h"
#include "PictureBook.h"

namespace kelvo_pictures {

namespace {

/// The guide's window on one step, over a configuration of defaults that is never written.
CGImageRef guideOn(kelvo::GuideStep step, bool trusted) {
    PanelDesk desk;
    desk.desktop().setTrusted(trusted);
    kelvo::ConfigStore store(unwrittenFolder("guide") / "config.json",
                             [](const kelvo::ConfigStore::WorkItem&) {});
    kelvo::SettingsModel settings(
        store, kelvo::SystemTweakService(std::make_shared<kelvo::CFPreferenceStore>(), [] {}),
        unwrittenFolder("guide") / "kelvo.log");
    kelvo::GuideWindowController guide(settings);
    guide.anchor = [] { return CGRect(1200, 875, 180, 25); };
    guide.show();
    kelvo::GuideFlow flow(kelvo::GuideStep::accessibility);
    while (flow.step != step)
        flow.advance();
    guide.model.setFlow(flow);
    desk.wait(0.1);
    return PanelDesk::picture(*guide.window, 24);
}

Picture guidePicture(kelvo::GuideStep step, bool trusted = true) {
    std::string name = "guide-" + kelvo::rawValue(step);
    if (!trusted) name += "-untrusted";
    return {name, [step, trusted] { return guideOn(step, trusted); }};
}

}  // namespace

std::vector<Picture> guidePictures() {
    std::vector<Picture> pictures{guidePicture(kelvo::GuideStep::accessibility, false)};
    for (kelvo::GuideStep step : kelvo::guide_step::allCases)
        pictures.push_back(guidePicture(step));
    return pictures;
}

}  // namespace kelvo_pictures
