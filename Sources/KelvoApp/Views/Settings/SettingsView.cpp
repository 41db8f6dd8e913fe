#include "KelvoApp/Views/Settings/SettingsView.h"

#include "KelvoApp/Settings/SettingsModel.h"
#include "Platform/SwiftUI/Text.h"

namespace kelvo {

SwiftUI::View SettingsView::body() const {
    (void)model_;
    return SwiftUI::Text("Kelvo Settings");
}

}  // namespace kelvo
