#include "Base/CoreGraphics/CGAlphaBlur.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr int passes = 3;

/// The widths of three box blurs whose sum comes closest to a Gaussian of `sigma`.
std::array<int, passes> boxWidths(double sigma) {
    const double ideal = std::sqrt(12 * sigma * sigma / passes + 1);
    int lower = static_cast<int>(std::floor(ideal));
    if (lower % 2 == 0) --lower;
    const int upper = lower + 2;
    const double m =
        (12 * sigma * sigma - passes * lower * lower - 4.0 * passes * lower - 3.0 * passes) /
        (-4.0 * lower - 4);
    const int lowerCount = static_cast<int>(std::lround(m));
    std::array<int, passes> widths{};
    for (int i = 0; i < passes; ++i)
        widths[static_cast<std::size_t>(i)] = i < lowerCount ? lower : upper;
    return widths;
}

/// The smallest rectangle that holds every pixel that is not clear.
struct PaintedArea {
    int left, top, right, bottom;
    bool empty() const { return right <= left; }
};

bool rowIsClear(const unsigned char* row, int width) {
    int x = 0;
    for (; x + 8 <= width; x += 8) {
        std::uint64_t word;
        std::memcpy(&word, row + x, sizeof word);
        if (word) return false;
    }
    for (; x < width; ++x)
        if (row[x]) return false;
    return true;
}

PaintedArea paintedArea(const unsigned char* data, int width, int height, int stride) {
    PaintedArea area{width, height, 0, 0};
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = data + static_cast<std::ptrdiff_t>(y) * stride;
        if (rowIsClear(row, width)) continue;
        area.top = std::min(area.top, y);
        area.bottom = y + 1;
        int first = 0;
        while (!row[first])
            ++first;
        int last = width - 1;
        while (!row[last])
            --last;
        area.left = std::min(area.left, first);
        area.right = std::max(area.right, last + 1);
    }
    return area;
}

/// The rounded mean of a box of pixels from their sum, by a multiplication: a division per
/// pixel would cost more than the rest of a pass.
class MultipliedMean {
  public:
    /// Exact for every sum of 8-bit values of a box up to this wide: with the factor rounded
    /// up, the product's error stays below one unit of the result while
    /// sum × (factor × box − 2^32) < 2^32, and sums are below 256 × box.
    static constexpr std::uint32_t widestBox = 4096;

    explicit MultipliedMean(std::uint32_t box)
        : half_(box / 2), factor_(((std::uint64_t{1} << shift) + box - 1) / box) {}
    unsigned char operator()(std::uint32_t sum) const {
        return static_cast<unsigned char>(((static_cast<std::uint64_t>(sum) + half_) * factor_) >>
                                          shift);
    }

  private:
    static constexpr int shift = 32;
    std::uint32_t half_;
    std::uint64_t factor_;
};

/// The same for the widest boxes, by division.
class DividedMean {
  public:
    explicit DividedMean(std::uint32_t box) : box_(box), half_(box / 2) {}
    unsigned char operator()(std::uint32_t sum) const {
        return static_cast<unsigned char>((sum + half_) / box_);
    }

  private:
    std::uint32_t box_;
    std::uint32_t half_;
};

/// Along each row.
template <class Mean>
void horizontalPass(unsigned char* data, int width, int height, int stride, int radius,
                    unsigned char* scratch) {
    const Mean mean(static_cast<std::uint32_t>(2 * radius + 1));
    // The row goes between clear margins as wide as the window reaches, so that what lies
    // beyond either end counts as clear without a test per pixel.
    const int margin = radius + 1;
    std::fill(scratch, scratch + margin, 0);
    std::fill(scratch + margin + width, scratch + 2 * margin + width, 0);
    const unsigned char* padded = scratch + margin;
    for (int line = 0; line < height; ++line) {
        unsigned char* row = data + static_cast<std::ptrdiff_t>(line) * stride;
        std::copy(row, row + width, scratch + margin);
        // A running sum over the window.
        std::uint32_t sum = 0;
        for (int i = 0; i <= std::min(radius, width - 1); ++i)
            sum += padded[i];
        for (int i = 0; i < width; ++i) {
            row[i] = mean(sum);
            sum = sum + padded[i + radius + 1] - padded[i - radius];
        }
    }
}

/// Down every column at once, a row at a time, so that memory is read in order.
template <class Mean>
void verticalPass(unsigned char* data, int width, int height, int stride, int radius,
                  unsigned char* rows, std::uint32_t* sums) {
    const Mean mean(static_cast<std::uint32_t>(2 * radius + 1));
    auto row = [&](int y) { return data + static_cast<std::ptrdiff_t>(y) * stride; };
    auto kept = [&](int y) { return rows + static_cast<std::ptrdiff_t>(y) * width; };
    for (int y = 0; y < height; ++y)
        std::copy(row(y), row(y) + width, kept(y));
    // Rows beyond either end are clear: they come from the last, clear row of the scratch.
    const unsigned char* clear = kept(height);
    std::fill(sums, sums + width, 0u);
    for (int y = 0; y <= std::min(radius, height - 1); ++y) {
        const unsigned char* in = kept(y);
        for (int x = 0; x < width; ++x)
            sums[x] += in[x];
    }
    for (int y = 0; y < height; ++y) {
        unsigned char* out = row(y);
        const unsigned char* entering = y + radius + 1 < height ? kept(y + radius + 1) : clear;
        const unsigned char* leaving = y - radius >= 0 ? kept(y - radius) : clear;
        for (int x = 0; x < width; ++x) {
            out[x] = mean(sums[x]);
            sums[x] = sums[x] + entering[x] - leaving[x];
        }
    }
}

}  // namespace

void CGAlphaBlur::blur(unsigned char* data, int width, int height, int stride, double sigma) {
    if (!data || width <= 0 || height <= 0 || !(sigma >= 0.5) || !std::isfinite(sigma)) return;
    const std::array<int, passes> widths = boxWidths(sigma);
    int reach = 0;
    for (const int boxWidth : widths)
        reach += std::max((boxWidth - 1) / 2, 0);
    // A clear pixel farther than the blurs reach from anything painted stays clear: only the
    // painted area and that margin around it are blurred.
    const PaintedArea painted = paintedArea(data, width, height, stride);
    if (painted.empty()) return;
    const int left = std::max(painted.left - reach, 0);
    const int top = std::max(painted.top - reach, 0);
    const int right = std::min(painted.right + reach, width);
    const int bottom = std::min(painted.bottom + reach, height);
    unsigned char* area = data + static_cast<std::ptrdiff_t>(top) * stride + left;
    const int areaWidth = right - left, areaHeight = bottom - top;
    // A row with the clear margins of the widest box.
    std::vector<unsigned char> scratch(static_cast<std::size_t>(areaWidth + 2 * (reach + 1)));
    // One clear row more than the area holds, for the rows beyond its ends.
    std::vector<unsigned char> rows(static_cast<std::size_t>(areaWidth) *
                                    static_cast<std::size_t>(areaHeight + 1));
    std::vector<std::uint32_t> sums(static_cast<std::size_t>(areaWidth));
    for (const int boxWidth : widths) {
        const int radius = (boxWidth - 1) / 2;
        if (radius <= 0) continue;
        if (static_cast<std::uint32_t>(boxWidth) <= MultipliedMean::widestBox) {
            horizontalPass<MultipliedMean>(area, areaWidth, areaHeight, stride, radius,
                                           scratch.data());
            verticalPass<MultipliedMean>(area, areaWidth, areaHeight, stride, radius, rows.data(),
                                         sums.data());
        } else {
            horizontalPass<DividedMean>(area, areaWidth, areaHeight, stride, radius,
                                        scratch.data());
            verticalPass<DividedMean>(area, areaWidth, areaHeight, stride, radius, rows.data(),
                                      sums.data());
        }
    }
}
