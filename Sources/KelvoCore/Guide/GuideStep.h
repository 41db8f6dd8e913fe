#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

namespace kelvo {

/// The guide's pages, in the order it shows them.
enum class GuideStep { accessibility, desktops, keys, tweaks, done };

namespace guide_step {
inline constexpr std::array<GuideStep, 5> allCases = {GuideStep::accessibility, GuideStep::desktops,
                                                      GuideStep::keys, GuideStep::tweaks,
                                                      GuideStep::done};
inline constexpr std::size_t count = allCases.size();
}  // namespace guide_step

/// The case's own name, which also identifies the step.
std::string rawValue(GuideStep step);
/// Exact raw values only.
std::optional<GuideStep> guideStepFromRawValue(const std::string& raw);
/// The step's position in the guide, from 1.
int number(GuideStep step);
std::string title(GuideStep step);
/// The paragraph under the step's title.
std::string blurb(GuideStep step);

}  // namespace kelvo
