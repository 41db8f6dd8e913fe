#include "Platform/SwiftUI/Image.h"

#include "Platform/AppKit/NSGraphicsContext.h"
#include "Platform/SwiftUI/LayoutServices.h"
#include "Platform/SwiftUI/ViewNode.h"

namespace SwiftUI {

namespace {

NSImageInterpolation imageInterpolation(Image::Interpolation quality) {
    switch (quality) {
        case Image::Interpolation::none:
            return NSImageInterpolation::none;
        case Image::Interpolation::low:
            return NSImageInterpolation::low;
        case Image::Interpolation::medium:
            return NSImageInterpolation::medium;
        case Image::Interpolation::high:
            return NSImageInterpolation::high;
    }
    return NSImageInterpolation::defaultInterpolation;
}

class ImagePaint final : public LayoutPaint {
  public:
    ImagePaint(NSImageRef image, NSImageInterpolation interpolation)
        : image_(std::move(image)), interpolation_(interpolation) {}

    void paint(const LayoutNode& node, const PaintTarget& target) const override {
        CGContext& context = target.context;
        if (!image_) return;
        NSGraphicsContext graphics(context, true);
        NSGraphicsContextScope scope(graphics);
        graphics.setImageInterpolation(interpolation_);
        image_->drawInRect(node.frame);
    }

  private:
    NSImageRef image_;
    NSImageInterpolation interpolation_;
};

}  // namespace

class ImageNode final : public ViewNode {
  public:
    ImageNode(std::string symbol, NSImageRef image, bool resizable,
              Image::Interpolation interpolation)
        : symbol_(std::move(symbol)),
          image_(std::move(image)),
          resizable_(resizable),
          interpolation_(interpolation) {}

    CGSize sizeThatFits(const ProposedViewSize& proposal,
                        const EnvironmentValues& environment) const override {
        const NSImageRef image = resolve(environment);
        const CGSize own = image ? image->size() : CGSize{};
        if (!resizable_) return own;
        return proposal.replacingUnspecified(own);
    }

    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        LayoutNode& node = parent.add();
        node.kind = NodeKind::image;
        node.frame = frame;
        node.opacity = environment.opacity;
        node.enabled = environment.isEnabled;
        node.text = symbol_;
        NSImageRef image = resolve(environment);
        if (!image) return;
        if (image->isTemplate()) {
            const Color tint = environment.resolvedForeground();
            node.color = tint;
            image = symbol_.empty() || !environment.services
                        ? image->imageTintedWithColor(tint.nsColor())
                        : environment.services->symbols().image(symbol_, environment.font, tint);
        }
        node.element =
            AccessibilityElement{"image", image->accessibilityDescription(), std::nullopt};
        node.paint = std::make_shared<ImagePaint>(image, imageInterpolation(interpolation_));
    }

  private:
    NSImageRef resolve(const EnvironmentValues& environment) const {
        if (symbol_.empty()) return image_;
        if (environment.services)
            return environment.services->symbols().image(symbol_, environment.font, std::nullopt);
        return SymbolImageCache::make(symbol_, environment.font);
    }

    std::string symbol_;
    NSImageRef image_;
    bool resizable_;
    Image::Interpolation interpolation_;
};

Image::Image(Source source) : source_(std::move(source)) {
    node_ = std::make_shared<ImageNode>(source_.symbol, source_.image, source_.resizable,
                                        source_.interpolation);
}

Image::Image(NSImageRef image) : Image(Source{{}, std::move(image)}) {}

Image Image::systemName(const std::string& name) {
    return Image(Source{name, nullptr});
}

Image Image::resizable() const {
    Source source = source_;
    source.resizable = true;
    return Image(source);
}

Image Image::interpolation(Interpolation quality) const {
    Source source = source_;
    source.interpolation = quality;
    return Image(source);
}

}  // namespace SwiftUI
