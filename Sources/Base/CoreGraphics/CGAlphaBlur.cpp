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

void CGAlphaBlur::horizontalPass(unsigned char* data, int width, int height, int stride, int radius,
                                 unsigned char* scratch) {
    const int box = 2 * radius + 1;
    for (int line = 0; line < height; ++line) {
        unsigned char* row = data + static_cast<std::ptrdiff_t>(line) * stride;
        std::copy(row, row + width, scratch);
        // A running sum over the window; what lies beyond either end is clear.
        long sum = 0;
        for (int i = 0; i <= std::min(radius, width - 1); ++i)
            sum += scratch[i];
        for (int i = 0; i < width; ++i) {
            row[i] = static_cast<unsigned char>((sum + box / 2) / box);
            const int entering = i + radius + 1, leaving = i - radius;
            if (entering < width) sum += scratch[entering];
            if (leaving >= 0) sum -= scratch[leaving];
        }
    }
}

void CGAlphaBlur::verticalPass(unsigned char* data, int width, int height, int stride, int radius,
                               unsigned char* rows, long* sums) {
    const int box = 2 * radius + 1;
    auto row = [&](int y) { return data + static_cast<std::ptrdiff_t>(y) * stride; };
    auto kept = [&](int y) { return rows + static_cast<std::ptrdiff_t>(y) * width; };
    for (int y = 0; y < height; ++y)
        std::copy(row(y), row(y) + width, kept(y));
    std::fill(sums, sums + width, 0L);
    for (int y = 0; y <= std::min(radius, height - 1); ++y) {
        const unsigned char* in = kept(y);
        for (int x = 0; x < width; ++x)
            sums[x] += in[x];
    }
    for (int y = 0; y < height; ++y) {
        unsigned char* out = row(y);
        for (int x = 0; x < width; ++x)
            out[x] = static_cast<unsigned char>((sums[x] + box / 2) / box);
        if (y + radius + 1 < height) {
            const unsigned char* in = kept(y + radius + 1);
            for (int x = 0; x < width; ++x)
                sums[x] += in[x];
        }
        if (y - radius >= 0) {
            const unsigned char* out = kept(y - radius);
            for (int x = 0; x < width; ++x)
                sums[x] -= out[x];
        }
    }
}

void CGAlphaBlur::blur(unsigned char* data, int width, int height, int stride, double sigma) {
    if (!data || width <= 0 || height <= 0 || !(sigma >= 0.5) || !std::isfinite(sigma)) return;
    std::vector<unsigned char> scratch(static_cast<std::size_t>(width));
    std::vector<unsigned char> rows(static_cast<std::size_t>(width) *
                                    static_cast<std::size_t>(height));
    std::vector<long> sums(static_cast<std::size_t>(width));
    for (const int boxWidth : boxWidths(sigma)) {
        const int radius = (boxWidth - 1) / 2;
        if (radius <= 0) continue;
        horizontalPass(data, width, height, stride, radius, scratch.data());
        verticalPass(data, width, height, stride, radius, rows.data(), sums.data());
    }
}
