#include "Support/Base/PNGPixels.h"

#include <stdexcept>

namespace kelvo::testing {

PNGPixels::PNGPixels(const std::filesystem::path& file)
    : image_(CGImage::fromPNGFile(file.string())) {
    if (!image_) throw std::runtime_error("cannot read " + file.string());
}

Pixel PNGPixels::at(int x, int y) const {
    const auto pixel = image_->pixel(x, y);
    if (!pixel) throw std::out_of_range("no pixel there");
    return *pixel;
}

}  // namespace kelvo::testing
