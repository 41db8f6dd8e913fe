#pragma once

#include <array>
#include <optional>
#include <string>

namespace kelvo {

/// Why a window that should be visible on the active desktop is not; the raw values are the
/// case names.
enum class InvisibleReason {
    unreachable,
    minimized,
    applicationHidden,
    offScreen,
    unmanageable,
    absentFromWindowList,
    frameDisagrees,
};

namespace invisible_reason {
inline constexpr std::array<InvisibleReason, 7> allCases = {
    InvisibleReason::unreachable,       InvisibleReason::minimized,
    InvisibleReason::applicationHidden, InvisibleReason::offScreen,
    InvisibleReason::unmanageable,      InvisibleReason::absentFromWindowList,
    InvisibleReason::frameDisagrees,
};
}

std::string rawValue(InvisibleReason reason);
std::optional<InvisibleReason> invisibleReasonFromRawValue(const std::string& raw);
/// The clause a finding's log line gives for the reason.
std::string explanation(InvisibleReason reason);

}  // namespace kelvo
