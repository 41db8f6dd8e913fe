#include "PictureCanvas.h"

#include <cmath>

namespace kelvo_pictures {

PictureCanvas::PictureCanvas(CGSize wanted, const NSColorRef& background) {
    // Whole points, so that the background covers every pixel.
    const CGSize size{std::ceil(wanted.width), std::ceil(wanted.height)};
    bitmap_ = CGBitmapContext::make(size, scale);
    bitmap_->translateBy(0, size.height);
    bitmap_->scaleBy(1, -1);
    bitmap_->setFillColor(background->CGColor());
    bitmap_->fill(CGRect(0, 0, size.width, size.height));
    graphics_ = std::make_unique<NSGraphicsContext>(*bitmap_, true);
    current_ = std::make_unique<NSGraphicsContextScope>(*graphics_);
}

void PictureCanvas::label(const std::string& text, CGPoint at, CGFloat size,
                          const NSColorRef& color, NSFontWeight weight) {
    NSTextAttributes attributes;
    attributes.font = NSFont::systemFontOfSize(size, weight);
    attributes.foregroundColor = color;
    NSAttributedString(text, attributes).drawAtPoint(at);
}

}  // namespace kelvo_pictures
