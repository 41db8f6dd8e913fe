#include "Base/CoreGraphics/CGBitmapContext.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "Base/CoreGraphics/CGAlphaBlur.h"
#include "Base/CoreGraphics/CGCairoPainter.h"

namespace {

cairo_operator_t cairoOperator(CGBlendMode mode) {
    switch (mode) {
        case CGBlendMode::destinationOut:
            return CAIRO_OPERATOR_DEST_OUT;
        case CGBlendMode::destinationIn:
            return CAIRO_OPERATOR_DEST_IN;
        case CGBlendMode::plusLighter:
            return CAIRO_OPERATOR_ADD;
        case CGBlendMode::normal:
            break;
    }
    return CAIRO_OPERATOR_OVER;
}

}  // namespace

std::unique_ptr<CGBitmapContext> CGBitmapContext::make(int width, int height) {
    if (width <= 0 || height <= 0 || width > maximumSide || height > maximumSide) return nullptr;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    return std::unique_ptr<CGBitmapContext>(new CGBitmapContext(surface, {}));
}

std::unique_ptr<CGBitmapContext> CGBitmapContext::make(CGSize size, CGFloat scale) {
    const auto pixels = [&](double points) {
        const double p = std::ceil(points * scale - 1e-9);
        return std::isfinite(p) && p > 0 && p <= maximumSide ? static_cast<int>(p) : 0;
    };
    if (!(scale > 0) || !std::isfinite(scale)) return nullptr;
    auto context = make(pixels(size.width), pixels(size.height));
    if (context) context->scaleBy(scale, scale);
    return context;
}

CGBitmapContext::CGBitmapContext(cairo_surface_t* surface, CGAffineTransform base)
    : CGContext(base),
      surface_(surface),
      cr_(cairo_create(surface)),
      width_(cairo_image_surface_get_width(surface)),
      height_(cairo_image_surface_get_height(surface)) {}

CGBitmapContext::~CGBitmapContext() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

CGAffineTransform CGBitmapContext::baseToDevice() const {
    return CGAffineTransform{1, 0, 0, -1, 0, static_cast<CGFloat>(height_)};
}

CGImageRef CGBitmapContext::makeImage() const {
    cairo_surface_flush(surface_);
    cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width_, height_);
    cairo_t* cr = cairo_create(copy);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, surface_, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    return CGImage::adopt(copy);
}

void CGBitmapContext::clear() {
    cairo_save(cr_);
    cairo_reset_clip(cr_);
    cairo_set_operator(cr_, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr_);
    cairo_restore(cr_);
}

const std::uint32_t* CGBitmapContext::pixels() const {
    cairo_surface_flush(surface_);
    return reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface_));
}

std::size_t CGBitmapContext::rowLength() const {
    return static_cast<std::size_t>(cairo_image_surface_get_stride(surface_)) / 4;
}

void CGBitmapContext::perform(const CGDrawOperation& op) {
    switch (op.kind) {
        case CGDrawOperationKind::beginTransparencyLayer:
            openLayers_.push_back(op);
            // The layer is only as large as the clip it is composed through: what it holds
            // beyond that would never be seen, and a layer the size of the bitmap costs more
            // than what is drawn into it.
            cairo_save(cr_);
            CGCairoPainter::clipToPaths(cr_, op, baseToDevice());
            cairo_identity_matrix(cr_);
            cairo_push_group(cr_);
            return;
        case CGDrawOperationKind::endTransparencyLayer: {
            if (openLayers_.empty()) return;
            const CGDrawOperation begin = std::move(openLayers_.back());
            openLayers_.pop_back();
            cairo_pattern_t* layer = cairo_pop_group(cr_);
            cairo_restore(cr_);
            const CGAffineTransform deviceOrigin = baseToDevice().inverted();
            compose(begin, [&](cairo_t* cr, const CGAffineTransform& baseToTarget, double alpha) {
                // The layer is in this bitmap's device space; the target may be offset from it.
                const CGAffineTransform shift = deviceOrigin.concatenating(baseToTarget);
                cairo_identity_matrix(cr);
                cairo_translate(cr, shift.tx, shift.ty);
                cairo_set_source(cr, layer);
                cairo_paint_with_alpha(cr, alpha);
            });
            cairo_pattern_destroy(layer);
            return;
        }
        default:
            compose(op, [&](cairo_t* cr, const CGAffineTransform& baseToTarget, double alpha) {
                CGCairoPainter::paint(cr, op, baseToTarget, alpha);
            });
    }
}

void CGBitmapContext::compose(const CGDrawOperation& op, const Painting& paint) {
    cairo_save(cr_);
    CGCairoPainter::clipToPaths(cr_, op, baseToDevice());
    cairo_set_antialias(cr_, op.antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
    const CGCairoPainter::ImageMask mask =
        CGCairoPainter::maskOfImages(op, baseToDevice(), width_, height_);
    // With image masks, the drawing is made apart, only where the masks are, and then composed
    // through them.
    if (mask.surface) {
        cairo_identity_matrix(cr_);
        cairo_rectangle(cr_, mask.x, mask.y, cairo_image_surface_get_width(mask.surface),
                        cairo_image_surface_get_height(mask.surface));
        cairo_clip(cr_);
        cairo_push_group(cr_);
    } else {
        cairo_set_operator(cr_, cairoOperator(op.blendMode));
    }
    if (op.shadow.isVisible()) paintShadow(op, paint);
    paint(cr_, baseToDevice(), op.alpha);
    if (mask.surface) {
        cairo_pop_group_to_source(cr_);
        cairo_identity_matrix(cr_);
        cairo_set_operator(cr_, cairoOperator(op.blendMode));
        cairo_mask_surface(cr_, mask.surface, mask.x, mask.y);
        cairo_surface_destroy(mask.surface);
    }
    cairo_restore(cr_);
}

void CGBitmapContext::paintShadow(const CGDrawOperation& op, const Painting& paint) {
    const double sigma = op.shadow.blur / 2;
    const double pad = std::ceil(3 * sigma) + 1;
    // The shadow's offset is in base space, where y grows upwards.
    const double dx = op.shadow.offset.width, dy = -op.shadow.offset.height;
    double x1, y1, x2, y2;
    cairo_save(cr_);
    cairo_identity_matrix(cr_);
    cairo_clip_extents(cr_, &x1, &y1, &x2, &y2);
    cairo_restore(cr_);
    // The shape that can cast a shadow into the visible area, even from outside the bitmap.
    const double left = std::floor(x1 - dx - pad), top = std::floor(y1 - dy - pad);
    const double right = std::ceil(x2 - dx + pad), bottom = std::ceil(y2 - dy + pad);
    const double w = right - left, h = bottom - top;
    if (!(w > 0 && h > 0) || w > 2 * maximumSide || h > 2 * maximumSide) return;
    cairo_surface_t* shape =
        cairo_image_surface_create(CAIRO_FORMAT_A8, static_cast<int>(w), static_cast<int>(h));
    cairo_t* sc = cairo_create(shape);
    cairo_set_antialias(sc, op.antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
    paint(sc, baseToDevice().concatenating(CGAffineTransform::translation(-left, -top)), 1);
    cairo_destroy(sc);
    cairo_surface_flush(shape);
    CGAlphaBlur::blur(cairo_image_surface_get_data(shape), static_cast<int>(w), static_cast<int>(h),
                      cairo_image_surface_get_stride(shape), sigma);
    cairo_surface_mark_dirty(shape);
    const CGColorValue color = op.shadow.color.clamped();
    cairo_save(cr_);
    cairo_identity_matrix(cr_);
    cairo_set_source_rgba(cr_, color.red, color.green, color.blue, color.alpha * op.alpha);
    cairo_mask_surface(cr_, shape, left + dx, top + dy);
    cairo_restore(cr_);
    cairo_surface_destroy(shape);
}
