#include "KelvoApp/Views/Settings/PaletteRow.h"

namespace kelvo {

SwiftUI::View PaletteRow::body() const {
    return SwiftUI::EmptyView();
}

SwiftUI::View PaletteRow::title() const {
    return SwiftUI::EmptyView();
}

SwiftUI::View PaletteRow::locationChip() const {
    return SwiftUI::EmptyView();
}

SwiftUI::View PaletteRow::detail() const {
    return SwiftUI::EmptyView();
}

SwiftUI::View PaletteRow::selectionPlate() const {
    return SwiftUI::EmptyView();
}

}  // namespace kelvo
