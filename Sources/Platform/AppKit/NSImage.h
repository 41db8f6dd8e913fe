#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Base/CoreGraphics/CGContext.h"
#include "Platform/AppKit/NSColor.h"
#include "Platform/AppKit/NSFontDescriptor.h"
#include "Platform/AppKit/NSGraphicsContext.h"

class NSImage;
using NSImageRef = std::shared_ptr<NSImage>;

/// The size and weight a symbol image is drawn at.
struct NSImageSymbolConfiguration {
    CGFloat pointSize = 13;
    NSFontWeight weight = NSFontWeightRegular;
    bool operator==(const NSImageSymbolConfiguration&) const = default;

    static NSImageSymbolConfiguration configurationWithPointSize(CGFloat pointSize,
                                                                 NSFontWeight weight) {
        return {pointSize, weight};
    }
};

/// An image of a size in points: drawn by a drawing handler (run again for each bitmap it is
/// asked for, in a flipped or unflipped context as it was made), or made of a bitmap. A
/// template image is one whose alpha alone counts: whoever shows it tints it. An image without
/// area draws nothing and has no bitmap.
class NSImage {
  public:
    /// Draws the image into the current graphics context over the rectangle given (the image's
    /// bounds); false when it could not.
    using DrawingHandler = std::function<bool(const CGRect& bounds)>;

    NSImage(CGSize size, bool flipped, DrawingHandler handler);
    /// A bitmap shown at `size` points (a zero size: one point a pixel).
    NSImage(CGImageRef image, CGSize size);

    /// The system's symbol of that name as a template image at 13 points, regular weight; none
    /// for a name the system does not know.
    static NSImageRef imageWithSystemSymbolName(const std::string& name,
                                                const std::string& accessibilityDescription = {});
    /// The same symbol at another size and weight; none for an image that is no symbol.
    NSImageRef imageWithSymbolConfiguration(const NSImageSymbolConfiguration& configuration) const;

    CGSize size() const { return size_; }
    void setSize(CGSize size);
    bool isFlipped() const { return flipped_; }
    bool isTemplate() const { return template_; }
    void setTemplate(bool isTemplate) { template_ = isTemplate; }
    const std::string& accessibilityDescription() const { return description_; }
    void setAccessibilityDescription(std::string description) {
        description_ = std::move(description);
    }
    /// The name of the symbol it shows, if it is a symbol image.
    const std::optional<std::string>& symbolName() const { return symbolName_; }

    /// Draws into the current graphics context, stretched over `rect` and upright whether the
    /// context is flipped or not, with the operation and at the opacity given.
    void drawInRect(const CGRect& rect,
                    NSCompositingOperation operation = NSCompositingOperation::sourceOver,
                    CGFloat fraction = 1) const;
    /// Draws the image over (0, 0, size) of a context whose user space runs upwards.
    bool renderInContext(CGContext& context) const;
    /// The image as pixels at `scale` pixels a point (made once per scale); none without area
    /// or when the drawing handler fails.
    CGImageRef CGImageForScale(CGFloat scale = 1) const;
    /// An image of the same size whose pixels are this one's alpha in `color`: how a template
    /// image is drawn in a tint.
    NSImageRef imageTintedWithColor(const NSColorRef& color) const;
    /// The image's PNG at `scale`; empty without pixels.
    std::vector<std::uint8_t> PNGRepresentation(CGFloat scale = 1) const;

  private:
    CGSize size_;
    bool flipped_ = false;
    DrawingHandler handler_;
    CGImageRef bitmap_;
    bool template_ = false;
    std::string description_;
    std::optional<std::string> symbolName_;
    NSImageSymbolConfiguration symbolConfiguration_;
    mutable std::map<CGFloat, CGImageRef> bitmaps_;
};

enum class NSBitmapImageFileType { png };

/// A bitmap of an image, for its pixels and its file form.
class NSBitmapImageRep {
  public:
    explicit NSBitmapImageRep(CGImageRef image) : image_(std::move(image)) {}

    int pixelsWide() const { return image_ ? image_->width() : 0; }
    int pixelsHigh() const { return image_ ? image_->height() : 0; }
    CGImageRef CGImage() const { return image_; }
    /// The colour of a pixel counted from the top left; none outside.
    NSColorRef colorAtX(int x, int y) const;
    /// The file's bytes; none without pixels.
    std::optional<std::vector<std::uint8_t>> representationUsingType(
        NSBitmapImageFileType type) const;

  private:
    CGImageRef image_;
};
