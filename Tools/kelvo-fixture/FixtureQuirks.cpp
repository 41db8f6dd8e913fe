#include "FixtureQuirks.h"

#include <algorithm>
#include <cstdio>

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

namespace {

/// A number as people write it: "480", "0.5".
std::string decimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

}  // namespace

std::string FixtureQuirks::what(FixtureQuirk quirk) {
    switch (quirk) {
        case FixtureQuirk::plain:
            return "an ordinary window; every position and size write lands as written.";
        case FixtureQuirk::refusesPosition:
            return "position writes are answered with success and move nothing (an application "
                   "that puts its window back wherever it wants it); size writes land.";
        case FixtureQuirk::clampsSize:
            return "the window keeps a minimum size of " + decimal(clampedMinimum.width) + " by " +
                   decimal(clampedMinimum.height) +
                   "; a smaller size write is clamped up to it, and the window opens at least "
                   "that large.";
        case FixtureQuirk::nonResizable:
            return "the size is not settable (\"AXSize\" reads as unsettable) and size writes "
                   "change nothing; position writes land.";
        case FixtureQuirk::selfMinimizes:
            return "the first time something else places the window (a frame write through "
                   "Accessibility that moves or resizes it), the application minimizes it "
                   "itself " +
                   decimal(reactionDelay) + " s later, once.";
        case FixtureQuirk::selfHides:
            return "the first time something else places the window, the whole application "
                   "hides itself " +
                   decimal(reactionDelay) + " s later, once.";
        case FixtureQuirk::fixedAspect:
            return "size writes keep the window's width-to-height ratio (the width wins).";
        case FixtureQuirk::absentFromAXWindows:
            return "the application leaves the window out of its \"AXWindows\" list, though the "
                   "window server lists it and its element answers reads and writes.";
    }
    return {};
}

bool FixtureQuirks::reactsToPlacement(FixtureQuirk quirk) {
    return quirk == FixtureQuirk::selfMinimizes || quirk == FixtureQuirk::selfHides;
}

}  // namespace kelvo_fixture
