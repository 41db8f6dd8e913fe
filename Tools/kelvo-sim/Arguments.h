#pragma once

#include <optional>
#include <string_view>

namespace kelvo_sim {

/// A finite decimal number written out whole ("12", "-3.5", "1e3"); none for anything else.
std::optional<double> finiteNumber(std::string_view text);

}  // namespace kelvo_sim
