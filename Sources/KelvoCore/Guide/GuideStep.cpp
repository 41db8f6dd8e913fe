#include "KelvoCore/Guide/GuideStep.h"

#include <algorithm>

#include "Base/JSON/JSONCoding.h"

namespace kelvo {

std::string rawValue(GuideStep step) {
    switch (step) {
        case GuideStep::accessibility:
            return "accessibility";
        case GuideStep::desktops:
            return "desktops";
        case GuideStep::keys:
            return "keys";
        case GuideStep::tweaks:
            return "tweaks";
        case GuideStep::done:
            return "done";
    }
    return "";
}

std::optional<GuideStep> guideStepFromRawValue(const std::string& raw) {
    return caseWithRawValue<GuideStep>(guide_step::allCases, raw,
                                       [](GuideStep s) { return rawValue(s); });
}

int number(GuideStep step) {
    const auto& cases = guide_step::allCases;
    return static_cast<int>(std::find(cases.begin(), cases.end(), step) - cases.begin()) + 1;
}

std::string title(GuideStep step) {
    switch (step) {
        case GuideStep::accessibility:
            return "Accessibility";
        case GuideStep::desktops:
            return "Your desktops";
        case GuideStep::keys:
            return "The keys worth knowing";
        case GuideStep::tweaks:
            return "Five macOS settings";
        case GuideStep::done:
            return "That's it";
    }
    return "";
}

std::string blurb(GuideStep step) {
    switch (step) {
        case GuideStep::accessibility:
            return "macOS will not let any application move another application's windows "
                   "without this. It is the one thing Kelvo cannot work around, and the one "
                   "thing this guide cannot do for you - the switch has to be flipped by a "
                   "person, in System Settings.";
        case GuideStep::desktops:
            return "Kelvo keeps its own desktops, separate from Mission Control's. Hold the Kelvo "
                   "modifier and press a number to go to one, add shift to send the focused "
                   "window there instead. Pick how many you want; you can change it later on "
                   "the General tab.";
        case GuideStep::keys:
            return "Eight of the twenty-two. The rest are on the Shortcuts tab, where every one "
                   "of them can be rebound or unbound.";
        case GuideStep::tweaks:
            return "These are changes to macOS itself, not to Kelvo - the ones tiling users "
                   "normally paste out of a gist. Every one is off, and stays off unless you turn "
                   "it on here. Read what each one costs first.";
        case GuideStep::done:
            return "Nothing here is hidden in a database. Every setting you just saw is a line "
                   "in one file you can read, edit and copy to another Mac.";
    }
    return "";
}

}  // namespace kelvo
