#pragma once

#include <cairo.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>

namespace kelvo::testing {

/// One pixel of a picture, 0 to 255 per channel.
struct Pixel {
    int red = 0;
    int green = 0;
    int blue = 0;
    int alpha = 0;
    bool operator==(const Pixel&) const = default;
};

/// The pixels of a PNG file, read with cairo. Header only: a suite that includes it links
/// cairo itself.
class PNGPixels {
  public:
    explicit PNGPixels(const std::filesystem::path& file)
        : surface_(cairo_image_surface_create_from_png(file.c_str()), cairo_surface_destroy) {
        if (cairo_surface_status(surface_.get()) != CAIRO_STATUS_SUCCESS)
            throw std::runtime_error("cannot read " + file.string());
        cairo_surface_flush(surface_.get());
    }

    int width() const { return cairo_image_surface_get_width(surface_.get()); }
    int height() const { return cairo_image_surface_get_height(surface_.get()); }

    /// The pixel whose top left corner is (x, y), with its colour not premultiplied.
    Pixel at(int x, int y) const {
        if (x < 0 || y < 0 || x >= width() || y >= height())
            throw std::out_of_range("no pixel there");
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

  private:
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface_;
};

}  // namespace kelvo::testing
