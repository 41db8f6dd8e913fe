#include "FixtureQuirks.h"

#include <algorithm>

namespace kelvo_fixture {

using kelvo::FixtureQuirk;

sim::WindowSpec FixtureQuirks::windowSpec(FixtureQuirk quirk, const std::string& title,
                                          const CGRect& frame) {
    sim::WindowSpec spec;
    spec.title = title;
    spec.frame = frame;
    switch (quirk) {
        case FixtureQuirk::plain:
        case FixtureQuirk::selfMinimizes:
        case FixtureQuirk::selfHides:
            break;
        case FixtureQuirk::refusesPosition:
            spec.answer.refusesPosition = true;
            break;
        case FixtureQuirk::clampsSize:
            spec.minimumSize = clampedMinimum;
            spec.frame.size.width = std::max(frame.size.width, clampedMinimum.width);
            spec.frame.size.height = std::max(frame.size.height, clampedMinimum.height);
            break;
        case FixtureQuirk::nonResizable:
            spec.sizeSettable = false;
            spec.answer.refusesSize = true;
            break;
        case FixtureQuirk::fixedAspect:
            spec.answer.keepsAspectRatio = true;
            break;
        case FixtureQuirk::absentFromAXWindows:
            spec.listedInAXWindows = false;
            break;
    }
    return spec;
}

bool FixtureQuirks::reactsToPlacement(FixtureQuirk quirk) {
    return quirk == FixtureQuirk::selfMinimizes || quirk == FixtureQuirk::selfHides;
}

}  // namespace kelvo_fixture
