#pragma once

#include <string>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoCore/Wire/FixtureQuirk.h"
#include "Simulator/WindowInfo.h"

namespace kelvo_fixture {

/// What each quirk makes a fixture window do, as a tiler meets it in real applications:
///
/// - `plain`: an ordinary window; every position and size write lands as written.
/// - `refusesPosition`: position writes are answered with success and move nothing (an
///   application that puts its window back wherever it wants it). Size writes land.
/// - `clampsSize`: the window keeps a minimum size of `clampedMinimum`; a smaller size write
///   is clamped up to it, and the window opens at least that large.
/// - `nonResizable`: the size is not settable ("AXSize" reads as unsettable) and size writes
///   change nothing; position writes land.
/// - `selfMinimizes`: the first time something else places the window (a frame write through
///   Accessibility that moves or resizes it), the application minimizes it itself
///   `reactionDelay` later, once.
/// - `selfHides`: the first time something else places the window, the whole application
///   hides itself `reactionDelay` later, once.
/// - `fixedAspect`: size writes keep the window's width-to-height ratio (the width wins).
/// - `absentFromAXWindows`: the application leaves the window out of its "AXWindows" list,
///   though the window server lists it and its element answers reads and writes.
///
/// Moves the application makes itself (the fixture's "move") never count as being placed.
struct FixtureQuirks {
    FixtureQuirks() = delete;

    static constexpr CGSize clampedMinimum{480, 360};
    static constexpr double reactionDelay = 0.5;

    /// The window the desktop opens for a quirk.
    static sim::WindowSpec windowSpec(kelvo::FixtureQuirk quirk, const std::string& title,
                                      const CGRect& frame);
    /// True for the quirks that react to the window's first placement from outside.
    static bool reactsToPlacement(kelvo::FixtureQuirk quirk);
};

}  // namespace kelvo_fixture
