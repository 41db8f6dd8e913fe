#include "KelvoCore/Store/InvisibleReason.h"

#include "KelvoCore/Store/CaseText.h"

namespace kelvo {

namespace {

constexpr std::array<CaseText<InvisibleReason>, 7> invisibleReasonTexts = {{
    {InvisibleReason::unreachable, "unreachable",
     "Accessibility has no handle on it — every call Kelvo makes about it does nothing"},
    {InvisibleReason::minimized, "minimized", "macOS reports it minimized"},
    {InvisibleReason::applicationHidden, "applicationHidden", "its application is hidden"},
    {InvisibleReason::offScreen, "offScreen",
     "all but a sliver of it is off screen — it is still parked in the corner"},
    {InvisibleReason::unmanageable, "unmanageable",
     "given up on after repeated refusals, so nothing writes to it"},
    {InvisibleReason::absentFromWindowList, "absentFromWindowList",
     "its application does not list it, so unhiding the application cannot reveal it"},
    {InvisibleReason::frameDisagrees, "frameDisagrees", "it is not where the layout put it"},
}};

}  // namespace

std::string rawValue(InvisibleReason reason) {
    return caseText(invisibleReasonTexts, reason).raw;
}

std::optional<InvisibleReason> invisibleReasonFromRawValue(const std::string& raw) {
    return caseFromRaw(invisibleReasonTexts, raw);
}

std::string explanation(InvisibleReason reason) {
    return caseText(invisibleReasonTexts, reason).explanation;
}

}  // namespace kelvo
