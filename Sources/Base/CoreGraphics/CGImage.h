#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

class CGImage;
using CGImageRef = std::shared_ptr<const CGImage>;

/// One pixel of an image, 0 to 255 per channel, not premultiplied.
struct CGPixel {
    int red = 0;
    int green = 0;
    int blue = 0;
    int alpha = 0;
    bool operator==(const CGPixel&) const = default;
};

/// A picture of whole pixels, 8 bits per channel with premultiplied alpha; it never changes
/// once made. An image has at least one pixel in each direction: what would have none is no
/// image (null) instead.
class CGImage {
  public:
    /// The image of a PNG file's bytes, or null when they are no PNG picture.
    static CGImageRef fromPNG(const std::vector<std::uint8_t>& data);
    static CGImageRef fromPNGFile(const std::string& path);
    /// Takes over an image surface of cairo's 32-bit ARGB format (null for anything else).
    static CGImageRef adopt(cairo_surface_t* surface);

    ~CGImage();
    CGImage(const CGImage&) = delete;
    CGImage& operator=(const CGImage&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    /// The pixel whose top left corner is (x, y), counted from the top row; none outside.
    std::optional<CGPixel> pixel(int x, int y) const;

    std::vector<std::uint8_t> pngData() const;
    /// False when the file cannot be written.
    bool writePNG(const std::string& path) const;

    /// For the drawing layer: the pixels as a cairo surface, which nobody may change.
    cairo_surface_t* surface() const { return surface_; }

  private:
    explicit CGImage(cairo_surface_t* surface);
    cairo_surface_t* surface_;
    int width_;
    int height_;
};
