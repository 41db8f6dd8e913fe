#include "Base/CoreGraphics/CGImage.h"

#include <cairo.h>

#include <cstring>

namespace {

struct PNGReader {
    const std::vector<std::uint8_t>& data;
    std::size_t offset = 0;
};

cairo_status_t readPNG(void* closure, unsigned char* out, unsigned int length) {
    auto* reader = static_cast<PNGReader*>(closure);
    if (reader->data.size() - reader->offset < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, reader->data.data() + reader->offset, length);
    reader->offset += length;
    return CAIRO_STATUS_SUCCESS;
}

cairo_status_t writePNGBytes(void* closure, const unsigned char* data, unsigned int length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(closure);
    out->insert(out->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

/// The surface as 32-bit ARGB (a PNG of another kind is converted), or null.
cairo_surface_t* asARGB(cairo_surface_t* surface) {
    if (!surface) return nullptr;
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    if (cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32) return surface;
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    cairo_surface_t* converted = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(converted);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return converted;
}

}  // namespace

CGImage::CGImage(cairo_surface_t* surface)
    : surface_(surface),
      width_(cairo_image_surface_get_width(surface)),
      height_(cairo_image_surface_get_height(surface)) {}

CGImage::~CGImage() {
    cairo_surface_destroy(surface_);
}

CGImageRef CGImage::adopt(cairo_surface_t* surface) {
    surface = asARGB(surface);
    if (!surface) return nullptr;
    if (cairo_image_surface_get_width(surface) <= 0 ||
        cairo_image_surface_get_height(surface) <= 0) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    cairo_surface_flush(surface);
    return CGImageRef(new CGImage(surface));
}

CGImageRef CGImage::fromPNG(const std::vector<std::uint8_t>& data) {
    PNGReader reader{data};
    return adopt(cairo_image_surface_create_from_png_stream(readPNG, &reader));
}

CGImageRef CGImage::fromPNGFile(const std::string& path) {
    return adopt(cairo_image_surface_create_from_png(path.c_str()));
}

std::optional<CGPixel> CGImage::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return std::nullopt;
    const unsigned char* row =
        cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
    std::uint32_t argb;
    std::memcpy(&argb, row + 4 * x, 4);
    const int alpha = static_cast<int>(argb >> 24);
    const auto channel = [&](int shift) {
        const int premultiplied = static_cast<int>((argb >> shift) & 0xFF);
        return alpha == 0 ? 0 : (premultiplied * 255 + alpha / 2) / alpha;
    };
    return CGPixel{channel(16), channel(8), channel(0), alpha};
}

std::vector<std::uint8_t> CGImage::pngData() const {
    std::vector<std::uint8_t> out;
    if (cairo_surface_write_to_png_stream(surface_, writePNGBytes, &out) != CAIRO_STATUS_SUCCESS)
        out.clear();
    return out;
}

bool CGImage::writePNG(const std::string& path) const {
    return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}
