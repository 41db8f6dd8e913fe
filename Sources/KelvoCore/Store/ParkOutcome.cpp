#include "KelvoCore/Store/ParkOutcome.h"

#include "KelvoCore/Store/CaseText.h"

namespace kelvo {

namespace {

constexpr std::array<CaseText<ParkOutcome>, 3> parkOutcomeTexts = {{
    {ParkOutcome::leftOnScreen, "leftOnScreen",
     "the corner write did not take; left on screen, asked again on the next park"},
    {ParkOutcome::minimized, "minimized",
     "the corner write did not take and it is unmanageable; minimized as a last resort"},
    {ParkOutcome::reparked, "reparked",
     "it moved away from the corner by itself; written back once"},
}};

}  // namespace

std::string rawValue(ParkOutcome outcome) {
    return caseText(parkOutcomeTexts, outcome).raw;
}

std::optional<ParkOutcome> parkOutcomeFromRawValue(const std::string& raw) {
    return caseFromRaw(parkOutcomeTexts, raw);
}

std::string explanation(ParkOutcome outcome) {
    return caseText(parkOutcomeTexts, outcome).explanation;
}

}  // namespace kelvo
