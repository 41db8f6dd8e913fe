#include "KelvoCore/Store/VisibilityRepair.h"

#include "KelvoCore/Store/CaseText.h"

namespace kelvo {

namespace {

constexpr std::array<CaseText<VisibilityRepair>, 6> visibilityRepairTexts = {{
    {VisibilityRepair::unminimized, "unminimized", "un-minimized it"},
    {VisibilityRepair::unhidden, "unhidden", "unhid the application"},
    {VisibilityRepair::rearmed, "rearmed", "re-armed it; the next layout pass places it"},
    {VisibilityRepair::recentred, "recentred",
     "put it back on screen; nothing else writes to a floating window"},
    {VisibilityRepair::raisedOnReveal, "raisedOnReveal",
     "raised it explicitly when the desktop revealed it"},
    {VisibilityRepair::none, "none", "nothing Kelvo can do about it; ⌥G re-arms a desktop"},
}};

}  // namespace

std::string rawValue(VisibilityRepair repair) {
    return caseText(visibilityRepairTexts, repair).raw;
}

std::optional<VisibilityRepair> visibilityRepairFromRawValue(const std::string& raw) {
    return caseFromRaw(visibilityRepairTexts, raw);
}

std::string explanation(VisibilityRepair repair) {
    return caseText(visibilityRepairTexts, repair).explanation;
}

}  // namespace kelvo
