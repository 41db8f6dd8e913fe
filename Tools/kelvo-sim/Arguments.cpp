#include "Arguments.h"

#include <charconv>
#include <cmath>

namespace kelvo_sim {

std::optional<double> finiteNumber(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace kelvo_sim
