#include "Platform/AppKit/NSImage.h"

#include <cmath>

#include "Base/CoreGraphics/CGBitmapContext.h"
#include "Platform/AppKit/SymbolImages.h"

namespace {

bool hasArea(CGSize size) {
    return std::isfinite(size.width) && std::isfinite(size.height) && size.width > 0 &&
           size.height > 0;
}

}  // namespace

NSImage::NSImage(CGSize size, bool flipped, DrawingHandler handler)
    : size_(size), flipped_(flipped), handler_(std::move(handler)) {}

NSImage::NSImage(CGImageRef image, CGSize size) : size_(size), bitmap_(std::move(image)) {
    if (bitmap_ && size_ == CGSize{})
        size_ = CGSize{double(bitmap_->width()), double(bitmap_->height())};
}

NSImageRef NSImage::imageWithSystemSymbolName(const std::string& name,
                                              const std::string& accessibilityDescription) {
    if (!SymbolImages::find(name)) return nullptr;
    auto image = std::make_shared<NSImage>(CGSize{}, true, nullptr);
    image->symbolName_ = name;
    image->description_ = accessibilityDescription;
    return image->imageWithSymbolConfiguration(NSImageSymbolConfiguration{});
}

NSImageRef NSImage::imageWithSymbolConfiguration(
    const NSImageSymbolConfiguration& configuration) const {
    if (!symbolName_) return nullptr;
    const SymbolImages::Symbol* symbol = SymbolImages::find(*symbolName_);
    if (!symbol) return nullptr;
    const SymbolImages::Metrics metrics = SymbolImages::metrics(*symbol, configuration);
    auto image = std::make_shared<NSImage>(metrics.size, true, [symbol, metrics](const CGRect&) {
        auto* current = NSGraphicsContext::currentContext();
        if (!current) return false;
        SymbolImages::draw(*symbol, metrics, current->cgContext());
        return true;
    });
    image->template_ = true;
    image->description_ = description_;
    image->symbolName_ = symbolName_;
    image->symbolConfiguration_ = configuration;
    return image;
}

void NSImage::setSize(CGSize size) {
    size_ = size;
    bitmaps_.clear();
}

bool NSImage::renderInContext(CGContext& context) const {
    if (!hasArea(size_)) return false;
    if (bitmap_) {
        context.draw(bitmap_, CGRect(0, 0, size_.width, size_.height));
        return true;
    }
    if (!handler_) return false;
    context.saveGState();
    if (flipped_) {
        context.translateBy(0, size_.height);
        context.scaleBy(1, -1);
    }
    NSGraphicsContext graphics(context, flipped_);
    bool drawn;
    {
        NSGraphicsContextScope scope(graphics);
        drawn = handler_(CGRect(0, 0, size_.width, size_.height));
    }
    context.restoreGState();
    return drawn;
}

void NSImage::drawInRect(const CGRect& rect, NSCompositingOperation operation,
                         CGFloat fraction) const {
    auto* current = NSGraphicsContext::currentContext();
    if (!current || !hasArea(size_) || rect.isEmpty()) return;
    CGContext& context = current->cgContext();
    const CGRect r = rect.standardized();
    context.saveGState();
    current->setCompositingOperation(operation);
    context.setAlpha(fraction);
    // Into the image's own space: its bounds over the rectangle, y running upwards.
    context.translateBy(r.minX(), r.minY());
    if (current->isFlipped()) {
        context.translateBy(0, r.height());
        context.scaleBy(1, -1);
    }
    context.scaleBy(r.width() / size_.width, r.height() / size_.height);
    // A bitmap keeps what the handler drew at once, for one opacity over the whole picture,
    // and nothing beyond its bounds.
    context.clip(CGRect(CGPoint{}, size_));
    context.beginTransparencyLayer();
    renderInContext(context);
    context.endTransparencyLayer();
    context.restoreGState();
}

CGImageRef NSImage::CGImageForScale(CGFloat scale) const {
    if (!hasArea(size_) || !(scale > 0) || !std::isfinite(scale)) return nullptr;
    if (const auto found = bitmaps_.find(scale); found != bitmaps_.end()) return found->second;
    CGImageRef pixels;
    if (auto context = CGBitmapContext::make(size_, scale)) {
        // The bitmap covers whole pixels: the image keeps to its top, base space running
        // upwards from the bottom.
        const double extra = context->height() / scale - size_.height;
        context->translateBy(0, extra);
        if (renderInContext(*context)) pixels = context->makeImage();
    }
    bitmaps_[scale] = pixels;
    return pixels;
}

NSImageRef NSImage::imageTintedWithColor(const NSColorRef& color) const {
    const auto original = std::make_shared<NSImage>(*this);
    const CGColorRef tint = color ? color->CGColor() : CGColorCreateGenericGray(0, 1);
    auto tinted = std::make_shared<NSImage>(size_, false, [original, tint](const CGRect& bounds) {
        auto* current = NSGraphicsContext::currentContext();
        if (!current) return false;
        CGContext& context = current->cgContext();
        // The mask at the pixels the destination gives the image.
        const CGAffineTransform ctm = context.ctm();
        const double scale =
            std::ceil(std::max(std::hypot(ctm.a, ctm.b), std::hypot(ctm.c, ctm.d)));
        const CGImageRef mask = original->CGImageForScale(std::max(1.0, scale));
        if (!mask) return false;
        context.saveGState();
        context.clip(bounds, mask);
        context.setFillColor(tint);
        context.fill(bounds);
        context.restoreGState();
        return true;
    });
    tinted->description_ = description_;
    return tinted;
}

std::vector<std::uint8_t> NSImage::PNGRepresentation(CGFloat scale) const {
    return NSBitmapImageRep(CGImageForScale(scale))
        .representationUsingType(NSBitmapImageFileType::png)
        .value_or(std::vector<std::uint8_t>{});
}

NSColorRef NSBitmapImageRep::colorAtX(int x, int y) const {
    if (!image_) return nullptr;
    const auto pixel = image_->pixel(x, y);
    if (!pixel) return nullptr;
    return NSColor::colorWithSRGBRed(pixel->red / 255.0, pixel->green / 255.0, pixel->blue / 255.0,
                                     pixel->alpha / 255.0);
}

std::optional<std::vector<std::uint8_t>> NSBitmapImageRep::representationUsingType(
    NSBitmapImageFileType) const {
    if (!image_) return std::nullopt;
    auto bytes = image_->pngData();
    if (bytes.empty()) return std::nullopt;
    return bytes;
}
