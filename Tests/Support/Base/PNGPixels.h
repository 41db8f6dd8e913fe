#pragma once

#include <filesystem>
#include <memory>

typedef struct _cairo_surface cairo_surface_t;

namespace kelvo::testing {

/// One pixel of a picture, 0 to 255 per channel.
struct Pixel {
    int red = 0;
    int green = 0;
    int blue = 0;
    int alpha = 0;
    bool operator==(const Pixel&) const = default;
};

/// The pixels of a PNG file (a picture of the desktop), read with cairo.
class PNGPixels {
  public:
    /// Throws std::runtime_error when the file is no PNG picture.
    explicit PNGPixels(const std::filesystem::path& file);

    int width() const;
    int height() const;
    /// The pixel whose top left corner is (x, y), its colour not premultiplied; throws
    /// std::out_of_range outside the picture.
    Pixel at(int x, int y) const;

  private:
    std::shared_ptr<cairo_surface_t> surface_;
};

}  // namespace kelvo::testing
