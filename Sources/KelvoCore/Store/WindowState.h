#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoCore/Layout/LayoutTree.h"
#include "KelvoCore/Store/Pane.h"

namespace kelvo {

/// Everything the workspace store knows of one managed window that is the window's alone. The
/// store keeps exactly one per managed window. Other tables name windows too: the layout trees,
/// the zoomed window of each desktop, the expected and the native focus, the parked key window,
/// and the reconciler's strikes, floors, overshoots and ledger of frames. Letting a window go
/// clears it from each of them (`remove`, through `purge`), so that a window number handed out
/// again starts clean; only the reconciler's report of its last pass may name it until the next
/// pass.
struct WindowState {
    /// A parked window: the frame to bring it back to, and how its last move to the parking
    /// corner went.
    struct Park {
        enum class Landing {
            /// It sits in the corner (or could not be read back after the move).
            inCorner,
            /// Its last move to the corner did not land; every later park asks again.
            refused,
            /// It cannot be moved, so it was minimized instead.
            minimized,
        };

        /// The frame it had (or was meant to have) when it was parked.
        CGRect frame;
        Landing landing = Landing::inCorner;
        /// Moved back into the corner once since it last sat there: one heal per park.
        bool reparkedOnce = false;

        bool operator==(const Park&) const = default;
    };

    /// Whether the window's refused writes count as strikes in the coming layout passes.
    enum class Exemption {
        /// They count; a command exempts the window for the burst of writes it causes.
        none,
        /// They do not count until the passes settle.
        exempt,
        /// Its exemption ran out while it was still unsettled: commands do not exempt it again
        /// until it starts afresh (out of the Dock, tiled by hand, rebalanced, or settled while
        /// exempt).
        spent,
    };

    /// Where a window that left full screen returns: its pane, the pane's tree before the
    /// window left and right after.
    struct FullScreenReturn {
        Pane pane;
        LayoutTree before;
        LayoutTree after;

        bool operator==(const FullScreenReturn&) const = default;
    };

    /// The display it lives on; none: the managed display.
    std::optional<std::uint32_t> displayHome;
    /// Its desktop.
    int home = 0;
    /// Its application, none until adoption names it.
    std::optional<std::string> bundleID;
    std::optional<Park> parked;
    Exemption exemption = Exemption::none;
    /// Floating windows are in no tree.
    bool floating = false;
    /// Tiled by the user: the minimum-size rule never floats it.
    bool tiledByHand = false;
    /// Minimized by the user: it keeps its slot and the layout pass leaves it out.
    bool inTheDock = false;
    bool fullScreened = false;
    /// While it settles back from full screen, the frame events seen since it left.
    std::optional<int> fullScreenSettleFrames;
    std::optional<FullScreenReturn> fullScreenReturn;
    /// Its frame changed while a mouse button was held, since the last drag settle.
    bool dragging = false;
    /// A frame change that the live drag step has not looked at yet.
    bool liveUnread = false;
    /// Its edge moved a divider during the live drag steps.
    bool liveMoved = false;
    /// A frame change made with no button held, still to check.
    bool externalUnread = false;

    bool isParked() const { return parked.has_value(); }
    bool parkRefused() const;
    bool minimizedToPark() const;
    bool reparkedOnce() const;
    bool burstExempt() const { return exemption == Exemption::exempt; }
    bool spentExemption() const { return exemption == Exemption::spent; }
    bool settlingFromFullScreen() const { return fullScreenSettleFrames.has_value(); }

    /// Exempts it for a command's burst, unless its exemption is spent.
    void exemptForBurst();
    /// Exempts it whatever came before: it starts afresh.
    void exemptAfresh();
    /// A spent exemption no longer keeps commands from exempting it.
    void clearSpentExemption();
    /// The passes have settled: an exempt window that is still unsettled has spent its
    /// exemption, a settled one is clear.
    void endBurst(bool unsettled);

    bool operator==(const WindowState&) const = default;
};

}  // namespace kelvo
