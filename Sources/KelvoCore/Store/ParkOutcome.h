#pragma once

#include <array>
#include <optional>
#include <string>

namespace kelvo {

/// How a park write that needs telling about ended; the raw values are the case names.
enum class ParkOutcome {
    /// Missed the corner; stays where it is and is asked again on the next park.
    leftOnScreen,
    /// Missed the corner while unmanageable; minimized instead.
    minimized,
    /// Had left the corner by itself and was put back.
    reparked,
};

namespace park_outcome {
inline constexpr std::array<ParkOutcome, 3> allCases = {
    ParkOutcome::leftOnScreen,
    ParkOutcome::minimized,
    ParkOutcome::reparked,
};
}

std::string rawValue(ParkOutcome outcome);
std::optional<ParkOutcome> parkOutcomeFromRawValue(const std::string& raw);
/// The clause a park finding's log line gives for the outcome.
std::string explanation(ParkOutcome outcome);

}  // namespace kelvo
