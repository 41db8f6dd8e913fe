#pragma once

#include <string>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoCore/Wire/FixtureQuirk.h"
#include "Simulator/WindowInfo.h"

namespace kelvo_fixture {

/// What each quirk makes a fixture window do, as a tiler meets it in real applications: one
/// sentence per quirk in `what`, which `kelvo-fixture --help` lists. Moves the application makes
/// itself (the fixture's "move") never count as being placed.
struct FixtureQuirks {
    FixtureQuirks() = delete;

    static constexpr CGSize clampedMinimum{480, 360};
    static constexpr double reactionDelay = 0.5;

    /// The window the desktop opens for a quirk.
    static sim::WindowSpec windowSpec(kelvo::FixtureQuirk quirk, const std::string& title,
                                      const CGRect& frame);
    /// True for the quirks that react to the window's first placement from outside.
    static bool reactsToPlacement(kelvo::FixtureQuirk quirk);
    /// What the quirk makes a window do, in one sentence.
    static std::string what(kelvo::FixtureQuirk quirk);
};

}  // namespace kelvo_fixture
