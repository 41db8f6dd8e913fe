#pragma once

#include <array>
#include <optional>
#include <string>

namespace kelvo {

/// What the visibility audit did about an invisible window; the raw values are the case names.
enum class VisibilityRepair {
    unminimized,
    unhidden,
    rearmed,
    recentred,
    raisedOnReveal,
    none,
};

namespace visibility_repair {
inline constexpr std::array<VisibilityRepair, 6> allCases = {
    VisibilityRepair::unminimized, VisibilityRepair::unhidden,       VisibilityRepair::rearmed,
    VisibilityRepair::recentred,   VisibilityRepair::raisedOnReveal, VisibilityRepair::none,
};
}

std::string rawValue(VisibilityRepair repair);
std::optional<VisibilityRepair> visibilityRepairFromRawValue(const std::string& raw);
/// The clause a finding's log line gives for the repair.
std::string explanation(VisibilityRepair repair);

}  // namespace kelvo
