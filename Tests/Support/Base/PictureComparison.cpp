#include "Support/Base/PictureComparison.h"

#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace kelvo::testing {

namespace {

/// The row of 32-bit pixels (alpha, red, green, blue from the high byte down).
const std::uint32_t* row(const CGImage& image, int y) {
    cairo_surface_t* surface = image.surface();
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    return reinterpret_cast<const std::uint32_t*>(
        data + std::size_t(y) * cairo_image_surface_get_stride(surface));
}

/// The largest distance of the four channels of two pixels.
int distance(std::uint32_t a, std::uint32_t b) {
    int most = 0;
    for (int shift = 0; shift < 32; shift += 8)
        most = std::max(most, std::abs(int((a >> shift) & 0xff) - int((b >> shift) & 0xff)));
    return most;
}

}  // namespace

PictureComparison::PictureComparison(const CGImage& drawn, const CGImage& reference,
                                     Tolerance tolerance)
    : drawn_(drawn),
      reference_(reference),
      tolerance_(tolerance),
      sameSize_(drawn.width() == reference.width() && drawn.height() == reference.height()) {
    if (!sameSize_) return;
    const std::size_t bytes = std::size_t(drawn.width()) * sizeof(std::uint32_t);
    for (int y = 0; y < drawn.height(); ++y) {
        const std::uint32_t* mine = row(drawn, y);
        const std::uint32_t* theirs = row(reference, y);
        if (std::memcmp(mine, theirs, bytes) == 0) continue;
        for (int x = 0; x < drawn.width(); ++x) {
            const int apart = distance(mine[x], theirs[x]);
            largest_ = std::max(largest_, apart);
            if (apart > tolerance_.channelCounts) ++differing_;
        }
    }
}

std::string PictureComparison::describe() const {
    const auto size = [](const CGImage& image) {
        return std::to_string(image.width()) + " × " + std::to_string(image.height());
    };
    std::string text = size(drawn_) + " against " + size(reference_);
    if (!sameSize_) return text + ": the sizes differ";
    return text + ": " + std::to_string(differing_) + " pixels differ by more than " +
           std::to_string(tolerance_.channelCounts) + " counts (at most " +
           std::to_string(tolerance_.pixels) + " may), by up to " + std::to_string(largest_);
}

CGImageRef PictureComparison::differencePicture() const {
    if (!sameSize_) return nullptr;
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, drawn_.width(), drawn_.height());
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < drawn_.height(); ++y) {
        const std::uint32_t* mine = row(drawn_, y);
        const std::uint32_t* theirs = row(reference_, y);
        auto* out = reinterpret_cast<std::uint32_t*>(data + std::size_t(y) * stride);
        for (int x = 0; x < drawn_.width(); ++x) {
            if (distance(mine[x], theirs[x]) > tolerance_.channelCounts) {
                out[x] = 0xffff0000;
                continue;
            }
            // The reference's brightness, a quarter of it over three quarters of white.
            const std::uint32_t p = theirs[x];
            const int grey = (((p >> 16) & 0xff) + ((p >> 8) & 0xff) + (p & 0xff)) / 3;
            const std::uint32_t light = std::uint32_t(191 + grey / 4);
            out[x] = 0xff000000 | light << 16 | light << 8 | light;
        }
    }
    cairo_surface_mark_dirty(surface);
    return CGImage::adopt(surface);
}

}  // namespace kelvo::testing
