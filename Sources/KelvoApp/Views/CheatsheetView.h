#pragma once

#include <optional>
#include <string>
#include <vector>

#include "KelvoApp/Views/CheatsheetModel.h"
#include "Platform/SwiftUI/LazyVGrid.h"
#include "Platform/SwiftUI/View.h"

namespace kelvo {

/// The cheat sheet's content: a header, the sections of the key reference in three columns,
/// and a footer that tells how to close it again.
struct CheatsheetView {
    static constexpr int columnCount = 3;
    static constexpr CGFloat columnMinimumWidth = 10;
    static constexpr CGFloat columnSpacing = 28;
    static constexpr double backgroundOpacity = 0.92;
    static constexpr CGFloat edgePadding = 26;
    static constexpr CGFloat headerSpacing = 10;
    static constexpr CGFloat headerPadding = 16;
    static constexpr CGFloat markSide = 22;
    static constexpr CGFloat titleSize = 15;
    static constexpr CGFloat noteSize = 11;
    static constexpr CGFloat rowSpacing = 22;
    static constexpr CGFloat gridPadding = 22;
    static constexpr CGFloat sectionSpacing = 10;
    static constexpr CGFloat sectionTitleSize = 10;
    static constexpr CGFloat sectionTitleTracking = 0.8;
    static constexpr CGFloat footerSpacing = 6;
    static constexpr CGFloat footerPadding = 12;
    static constexpr CGFloat badgeTextSize = 10;
    static constexpr CGFloat badgePaddingAcross = 6;
    static constexpr CGFloat badgePaddingDown = 2;
    static constexpr CGFloat badgeCornerRadius = 4;
    static constexpr double badgeFillOpacity = 0.07;

    explicit CheatsheetView(const CheatsheetModel& model);

    const CheatsheetModel& model;
    std::vector<SwiftUI::GridItem> columns;

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }

    /// The cheat-sheet shortcut's first chord, its caps joined: the first entry of that
    /// shortcut over all sections in order; none when it has no chord or there is no entry.
    static std::optional<std::string> ownKeys(const std::vector<KeyReference::Section>& sections);

  private:
    SwiftUI::View header() const;
    SwiftUI::View grid() const;
    SwiftUI::View footer() const;
    static SwiftUI::View section(const KeyReference::Section& section);
};

}  // namespace kelvo
