#pragma once

#include "KelvoCore/Settings/SettingEntry.h"
#include "Platform/SwiftUI/View.h"

namespace kelvo {

/// One result of the settings search: the row's title with a chip naming its tab and card, and
/// its detail under them; the selected row on an accent plate.
class PaletteRow {
  public:
    static constexpr CGFloat height = 42;
    static constexpr CGFloat horizontalPadding = 18;
    /// " › ": between the tab and the card on the location chip.
    static constexpr const char* locationSeparator = " › ";

    PaletteRow(SettingEntry entry, bool selected) : entry(std::move(entry)), selected(selected) {}

    SwiftUI::View body() const;

    SettingEntry entry;
    bool selected;

  private:
    SwiftUI::View title() const;
    SwiftUI::View locationChip() const;
    SwiftUI::View detail() const;
    SwiftUI::View selectionPlate() const;
};

}  // namespace kelvo
