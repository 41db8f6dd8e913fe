#include "KelvoApp/Views/Guide/GuidePermissionCard.h"

#include <vector>

#include "KelvoApp/Views/Guide/GuideNote.h"
#include "KelvoApp/Views/Guide/GuideStatusRow.h"
#include "KelvoApp/Views/Palette.h"
#include "KelvoApp/Views/Settings/Card.h"
#include "KelvoApp/Views/Settings/ValueControls.h"
#include "Platform/Accessibility/AXConstants.h"
#include "Platform/Accessibility/AXUIElement.h"
#include "Platform/SwiftUI/Font.h"
#include "Platform/SwiftUI/Image.h"

namespace kelvo {

using namespace SwiftUI;

View GuidePermissionCard::body() const {
    const View control = trusted ? View(Image::systemName("checkmark.circle.fill"))
                                       .font(Font::system(checkmarkSize))
                                       .foregroundColor(Palette::good())
                                 : View(Action{"Grant access…", grant});
    std::vector<View> rows{GuideStatusRow{
        "Accessibility access",
        trusted ? "Granted. Kelvo can move and arrange your windows."
                : "Not granted yet. Kelvo can see your windows but cannot move any of them.",
        trusted, control}};
    if (!trusted) {
        rows.push_back(Hairline());
        rows.push_back(GuideNote{
            "macOS opens System Settings ▸ Privacy & Security ▸ Accessibility and asks you "
            "there. Switch Kelvo on and come straight back - this screen notices on its own and "
            "moves to the next one."});
    }
    return Card("Permission", std::move(rows));
}

void GuidePermissionCard::requestAccess() {
    AXIsProcessTrustedWithOptions(
        CFDictionaryCreate({{kAXTrustedCheckOptionPrompt, CFBooleanCreate(true)}}));
}

}  // namespace kelvo
