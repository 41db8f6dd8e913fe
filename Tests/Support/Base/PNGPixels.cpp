#include "Support/Base/PNGPixels.h"

#include <cairo.h>

#include <cstdint>
#include <stdexcept>

namespace kelvo::testing {

PNGPixels::PNGPixels(const std::filesystem::path& file)
    : surface_(cairo_image_surface_create_from_png(file.c_str()), cairo_surface_destroy) {
    if (cairo_surface_status(surface_.get()) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot read " + file.string());
    cairo_surface_flush(surface_.get());
}

int PNGPixels::width() const {
    return cairo_image_surface_get_width(surface_.get());
}

int PNGPixels::height() const {
    return cairo_image_surface_get_height(surface_.get());
}

Pixel PNGPixels::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width() || y >= height()) throw std::out_of_range("no pixel there");
    // Cairo keeps each pixel as one native 32-bit word, alpha highest, colour premultiplied.
    const unsigned char* row =
        cairo_image_surface_get_data(surface_.get()) +
        static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(surface_.get());
    const std::uint32_t argb = reinterpret_cast<const std::uint32_t*>(row)[x];
    const int alpha = static_cast<int>(argb >> 24);
    const auto channel = [&](int shift) {
        const int premultiplied = static_cast<int>((argb >> shift) & 0xFF);
        return alpha == 0 ? 0 : (premultiplied * 255 + alpha / 2) / alpha;
    };
    return Pixel{channel(16), channel(8), channel(0), alpha};
}

}  // namespace kelvo::testing
