#include "Base/CoreGraphics/CGAlphaBlur.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

/// The widths of three box blurs whose sum comes closest to a Gaussian of `sigma`.
std::vector<int> boxWidths(double sigma) {
    constexpr int passes = 3;
    const double ideal = std::sqrt(12 * sigma * sigma / passes + 1);
    int lower = static_cast<int>(std::floor(ideal));
    if (lower % 2 == 0) --lower;
    const int upper = lower + 2;
    const double m =
        (12 * sigma * sigma - passes * lower * lower - 4.0 * passes * lower - 3.0 * passes) /
        (-4.0 * lower - 4);
    const int lowerCount = static_cast<int>(std::lround(m));
    std::vector<int> widths;
    for (int i = 0; i < passes; ++i)
        widths.push_back(i < lowerCount ? lower : upper);
    return widths;
}

}  // namespace

void CGAlphaBlur::boxPass(unsigned char* data, int count, int step, int lines, int lineStep,
                          int radius, unsigned char* scratch) {
    const int width = 2 * radius + 1;
    for (int line = 0; line < lines; ++line) {
        unsigned char* start = data + line * lineStep;
        for (int i = 0; i < count; ++i)
            scratch[i] = start[i * step];
        // A running sum over the window; what lies beyond either end is clear.
        long sum = 0;
        for (int i = 0; i <= std::min(radius, count - 1); ++i)
            sum += scratch[i];
        for (int i = 0; i < count; ++i) {
            start[i * step] = static_cast<unsigned char>((sum + width / 2) / width);
            const int entering = i + radius + 1, leaving = i - radius;
            if (entering < count) sum += scratch[entering];
            if (leaving >= 0) sum -= scratch[leaving];
        }
    }
}

void CGAlphaBlur::blur(unsigned char* data, int width, int height, int stride, double sigma) {
    if (!data || width <= 0 || height <= 0 || !(sigma >= 0.5) || !std::isfinite(sigma)) return;
    std::vector<unsigned char> scratch(static_cast<std::size_t>(std::max(width, height)));
    for (const int boxWidth : boxWidths(sigma)) {
        const int radius = (boxWidth - 1) / 2;
        if (radius <= 0) continue;
        boxPass(data, width, 1, height, stride, radius, scratch.data());
        boxPass(data, height, stride, width, 1, radius, scratch.data());
    }
}
