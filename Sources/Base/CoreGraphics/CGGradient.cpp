#include "Base/CoreGraphics/CGGradient.h"

#include <algorithm>
#include <cmath>

CGGradientRef CGGradient::make(const std::vector<CGColorRef>& colors,
                               const std::vector<double>& locations) {
    if (colors.empty() || (!locations.empty() && locations.size() != colors.size())) return nullptr;
    std::vector<Stop> stops;
    for (std::size_t i = 0; i < colors.size(); ++i) {
        if (!colors[i]) return nullptr;
        const double location =
            locations.empty() ? (colors.size() == 1 ? 0.0 : double(i) / double(colors.size() - 1))
                              : locations[i];
        if (!std::isfinite(location)) return nullptr;
        stops.push_back({*colors[i], std::clamp(location, 0.0, 1.0)});
    }
    std::stable_sort(stops.begin(), stops.end(),
                     [](const Stop& a, const Stop& b) { return a.location < b.location; });
    return CGGradientRef(new CGGradient(std::move(stops)));
}
