#pragma once

#include <optional>
#include <string>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoAX/Classification/IgnoreReason.h"
#include "KelvoAX/Classification/WindowRole.h"
#include "KelvoAX/Classification/WindowTraits.h"
#include "KelvoCore/Config/Config.h"
#include "KelvoCore/Geometry/WindowID.h"
#include "KelvoCore/Store/ManagedWindow.h"

namespace kelvo {

/// The pure rules that decide whether a window is tiled, floats or is left alone, shared by the
/// bridge (which classifies every window it reads) and the coordinator (which decides what an
/// application's activation may adopt or sweep).
struct WindowClassification {
    /// The subrole of an ordinary document window.
    static constexpr const char* standardWindowSubrole = "AXStandardWindow";
    /// Below this width or height (strictly) a window that is not standard floats.
    static constexpr double minimumTiledLength = 480;
};

/// First matching rule wins: ignored applications, full screen and unmovable windows are
/// ignored; floating applications and unresizable windows float; standard windows are tiled
/// whatever their size; other small windows float.
WindowRole classify(const WindowTraits& traits, const Config& config);

/// Which of the three ignore rules leaves the window alone, in the order they are tried.
std::optional<IgnoreReason> ignoreReason(const WindowTraits& traits, const Config& config);

/// A floating verdict taken while a standard window cannot be resized yet: such a window may
/// still settle into a tiled one, so it is read again for longer before it is adopted.
bool floatingMayBeEarly(const WindowTraits& traits, WindowRole role);

/// The record the bridge builds for a window it can manage; none for an ignored one.
std::optional<ManagedWindow> adoptionCandidate(WindowID id, const CGRect& frame,
                                               const WindowTraits& traits, const Config& config,
                                               bool minimized);

/// Whether an activation of an application may adopt its front window: never for an unknown
/// application, this system itself, an application already managed or an ignored one.
bool shouldAdoptOnActivation(const std::optional<std::string>& bundleID,
                             const std::optional<std::string>& ownBundleID, bool alreadyManaged,
                             const Config& config);

/// Whether an activation that named no window may sweep the application's windows; the same
/// rule as adopting on activation.
bool shouldSweepOnActivation(const std::optional<std::string>& bundleID,
                             const std::optional<std::string>& ownBundleID, bool managesAnyWindow,
                             const Config& config);

}  // namespace kelvo
