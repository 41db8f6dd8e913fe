#pragma once

#include <filesystem>

#include "Base/CoreGraphics/CGImage.h"

namespace kelvo::testing {

/// One pixel of a picture, 0 to 255 per channel, not premultiplied.
using Pixel = CGPixel;

/// The pixels of a PNG file (a picture of the desktop), read by the drawing layer.
class PNGPixels {
  public:
    /// Throws std::runtime_error when the file is no PNG picture.
    explicit PNGPixels(const std::filesystem::path& file);

    int width() const { return image_->width(); }
    int height() const { return image_->height(); }
    /// The pixel whose top left corner is (x, y); throws std::out_of_range outside the
    /// picture.
    Pixel at(int x, int y) const;

  private:
    CGImageRef image_;
};

}  // namespace kelvo::testing
