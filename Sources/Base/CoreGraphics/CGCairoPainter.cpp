#include "Base/CoreGraphics/CGCairoPainter.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace {

/// How far a line's glyphs may reach outside its box (accents, descenders, italics), in
/// points.
constexpr double textReach = 8;

cairo_line_cap_t cairoCap(CGLineCap cap) {
    switch (cap) {
        case CGLineCap::round:
            return CAIRO_LINE_CAP_ROUND;
        case CGLineCap::square:
            return CAIRO_LINE_CAP_SQUARE;
        case CGLineCap::butt:
            break;
    }
    return CAIRO_LINE_CAP_BUTT;
}

cairo_line_join_t cairoJoin(CGLineJoin join) {
    switch (join) {
        case CGLineJoin::round:
            return CAIRO_LINE_JOIN_ROUND;
        case CGLineJoin::bevel:
            return CAIRO_LINE_JOIN_BEVEL;
        case CGLineJoin::miter:
            break;
    }
    return CAIRO_LINE_JOIN_MITER;
}

cairo_filter_t cairoFilter(CGInterpolationQuality quality) {
    switch (quality) {
        case CGInterpolationQuality::none:
            return CAIRO_FILTER_NEAREST;
        case CGInterpolationQuality::low:
            return CAIRO_FILTER_FAST;
        case CGInterpolationQuality::high:
            return CAIRO_FILTER_BEST;
        case CGInterpolationQuality::defaultQuality:
        case CGInterpolationQuality::medium:
            break;
    }
    return CAIRO_FILTER_GOOD;
}

void setColor(cairo_t* cr, const CGColorValue& color, double alpha) {
    const CGColorValue c = color.clamped();
    cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha * alpha);
}

/// The image's pixels in user space: upright over `rect` when y grows upwards.
CGAffineTransform imageToUser(const CGImageRef& image, const CGRect& rect) {
    return CGAffineTransform::scale(rect.width() / image->width(), -rect.height() / image->height())
        .concatenating(CGAffineTransform::translation(rect.minX(), rect.maxY()));
}

}  // namespace

void CGCairoPainter::setMatrix(cairo_t* cr, const CGAffineTransform& t) {
    cairo_matrix_t m;
    cairo_matrix_init(&m, t.a, t.b, t.c, t.d, t.tx, t.ty);
    cairo_set_matrix(cr, &m);
}

void CGCairoPainter::appendPath(cairo_t* cr, const CGPath& path) {
    cairo_new_path(cr);
    CGPoint current;
    for (const CGPathElement& e : path.elements()) {
        switch (e.type) {
            case CGPathElementType::moveToPoint:
                current = e.points[0];
                cairo_move_to(cr, current.x, current.y);
                break;
            case CGPathElementType::addLineToPoint:
                current = e.points[0];
                cairo_line_to(cr, current.x, current.y);
                break;
            case CGPathElementType::addQuadCurveToPoint: {
                const CGPoint q = e.points[0], end = e.points[1];
                cairo_curve_to(cr, current.x + 2.0 / 3 * (q.x - current.x),
                               current.y + 2.0 / 3 * (q.y - current.y),
                               end.x + 2.0 / 3 * (q.x - end.x), end.y + 2.0 / 3 * (q.y - end.y),
                               end.x, end.y);
                current = end;
                break;
            }
            case CGPathElementType::addCurveToPoint:
                cairo_curve_to(cr, e.points[0].x, e.points[0].y, e.points[1].x, e.points[1].y,
                               e.points[2].x, e.points[2].y);
                current = e.points[2];
                break;
            case CGPathElementType::closeSubpath:
                cairo_close_path(cr);
                break;
        }
    }
}

void CGCairoPainter::clipToPaths(cairo_t* cr, const CGDrawOperation& op,
                                 const CGAffineTransform& baseToDevice) {
    for (const CGClipRecord& clip : op.clips) {
        if (clip.mask) continue;
        const CGAffineTransform toDevice = clip.ctm.concatenating(baseToDevice);
        if (!toDevice.isInvertible()) {
            // A clip made in a space that has collapsed keeps nothing.
            cairo_identity_matrix(cr);
            cairo_new_path(cr);
            cairo_clip(cr);
            continue;
        }
        setMatrix(cr, toDevice);
        appendPath(cr, clip.path);
        cairo_set_fill_rule(cr, clip.rule == CGPathFillRule::evenOdd ? CAIRO_FILL_RULE_EVEN_ODD
                                                                     : CAIRO_FILL_RULE_WINDING);
        cairo_clip(cr);
    }
}

CGCairoPainter::ImageMask CGCairoPainter::maskOfImages(const CGDrawOperation& op,
                                                       const CGAffineTransform& baseToDevice,
                                                       int width, int height) {
    if (std::none_of(op.clips.begin(), op.clips.end(),
                     [](const CGClipRecord& c) { return c.mask != nullptr; }))
        return {};
    // Outside every mask's rectangle nothing is kept: the surface need not reach further.
    CGRect area(0, 0, width, height);
    for (const CGClipRecord& clip : op.clips)
        if (clip.mask)
            area = area.intersection(
                CGRectApplyAffineTransform(clip.maskRect, clip.ctm.concatenating(baseToDevice)));
    ImageMask mask;
    int right = 0, bottom = 0;
    if (!area.isNull() && std::isfinite(area.minX()) && std::isfinite(area.minY()) &&
        std::isfinite(area.maxX()) && std::isfinite(area.maxY())) {
        mask.x = std::clamp(static_cast<int>(std::floor(area.minX())), 0, width);
        mask.y = std::clamp(static_cast<int>(std::floor(area.minY())), 0, height);
        right = std::clamp(static_cast<int>(std::ceil(area.maxX())), 0, width);
        bottom = std::clamp(static_cast<int>(std::ceil(area.maxY())), 0, height);
    }
    // Nothing overlaps: one transparent pixel keeps nothing anywhere.
    const bool empty = right <= mask.x || bottom <= mask.y;
    mask.surface = cairo_image_surface_create(CAIRO_FORMAT_A8, empty ? 1 : right - mask.x,
                                              empty ? 1 : bottom - mask.y);
    if (empty) return mask;
    cairo_t* cr = cairo_create(mask.surface);
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    cairo_paint(cr);
    // Each mask keeps only what it covers: the masks' alphas multiply.
    cairo_set_operator(cr, CAIRO_OPERATOR_DEST_IN);
    const CGAffineTransform toSurface = CGAffineTransform::translation(-mask.x, -mask.y);
    for (const CGClipRecord& clip : op.clips) {
        if (!clip.mask) continue;
        const CGAffineTransform toDevice = imageToUser(clip.mask, clip.maskRect)
                                               .concatenating(clip.ctm)
                                               .concatenating(baseToDevice);
        if (!toDevice.isInvertible()) {
            cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
            cairo_paint(cr);
            break;
        }
        setMatrix(cr, toDevice.concatenating(toSurface));
        cairo_set_source_surface(cr, clip.mask->surface(), 0, 0);
        cairo_paint(cr);
    }
    cairo_destroy(cr);
    return mask;
}

void CGCairoPainter::fill(cairo_t* cr, const CGDrawOperation& op, double alpha) {
    appendPath(cr, op.path);
    cairo_set_fill_rule(cr, op.fillRule == CGPathFillRule::evenOdd ? CAIRO_FILL_RULE_EVEN_ODD
                                                                   : CAIRO_FILL_RULE_WINDING);
    setColor(cr, op.color, alpha);
    cairo_fill(cr);
}

void CGCairoPainter::stroke(cairo_t* cr, const CGDrawOperation& op, double alpha) {
    const CGStrokeStyle& s = op.stroke;
    cairo_set_line_width(cr, s.lineWidth);
    cairo_set_line_cap(cr, cairoCap(s.lineCap));
    cairo_set_line_join(cr, cairoJoin(s.lineJoin));
    cairo_set_miter_limit(cr, std::max(s.miterLimit, 1.0));
    cairo_set_dash(cr, s.dashLengths.data(), static_cast<int>(s.dashLengths.size()), s.dashPhase);
    appendPath(cr, op.path);
    setColor(cr, op.color, alpha);
    cairo_stroke(cr);
}

void CGCairoPainter::clipGradientExtension(cairo_t* cr, const CGGradientDrawing& g, bool radial) {
    const bool before = g.options & kCGGradientDrawsBeforeStartLocation;
    const bool after = g.options & kCGGradientDrawsAfterEndLocation;
    if (before == after) return;
    // Far enough to cover the whole target (its extents in user space) from anywhere.
    double x1, y1, x2, y2;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    const CGRect user(x1, y1, x2 - x1, y2 - y1);
    const double far =
        2 * (std::hypot(user.width(), user.height()) + std::hypot(g.start.x, g.start.y) +
             std::hypot(g.end.x, g.end.y) + g.startRadius + g.endRadius) +
        1;
    cairo_new_path(cr);
    if (radial) {
        // Before the start circle lies inside it; after the end circle lies outside it.
        if (before) {
            cairo_arc(cr, g.end.x, g.end.y, g.endRadius, 0, 2 * M_PI);
        } else {
            cairo_rectangle(cr, -far, -far, 2 * far, 2 * far);
            cairo_new_sub_path(cr);
            cairo_arc(cr, g.start.x, g.start.y, g.startRadius, 0, 2 * M_PI);
            cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        }
    } else {
        const double dx = g.end.x - g.start.x, dy = g.end.y - g.start.y;
        const double length = std::hypot(dx, dy);
        if (length == 0) return;
        const double ux = dx / length, uy = dy / length, nx = -uy, ny = ux;
        // The half plane on the kept side of the line through the end (or the start).
        const CGPoint edge = before ? g.end : g.start;
        const double away = before ? -far : far;
        cairo_move_to(cr, edge.x + nx * far, edge.y + ny * far);
        cairo_line_to(cr, edge.x - nx * far, edge.y - ny * far);
        cairo_line_to(cr, edge.x - nx * far + ux * away, edge.y - ny * far + uy * away);
        cairo_line_to(cr, edge.x + nx * far + ux * away, edge.y + ny * far + uy * away);
        cairo_close_path(cr);
    }
    cairo_clip(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
}

void CGCairoPainter::gradient(cairo_t* cr, const CGDrawOperation& op, double alpha) {
    const CGGradientDrawing& g = *op.gradient;
    const bool radial = op.kind == CGDrawOperationKind::radialGradient;
    cairo_pattern_t* pattern =
        radial ? cairo_pattern_create_radial(g.start.x, g.start.y, g.startRadius, g.end.x, g.end.y,
                                             g.endRadius)
               : cairo_pattern_create_linear(g.start.x, g.start.y, g.end.x, g.end.y);
    for (const CGGradient::Stop& stop : g.gradient->stops()) {
        const CGColorValue c = stop.color.clamped();
        cairo_pattern_add_color_stop_rgba(pattern, stop.location, c.red, c.green, c.blue, c.alpha);
    }
    cairo_pattern_set_extend(pattern, g.options != 0 ? CAIRO_EXTEND_PAD : CAIRO_EXTEND_NONE);
    cairo_save(cr);
    clipGradientExtension(cr, g, radial);
    cairo_set_source(cr, pattern);
    cairo_paint_with_alpha(cr, alpha);
    cairo_restore(cr);
    cairo_pattern_destroy(pattern);
}

void CGCairoPainter::image(cairo_t* cr, const CGImageRef& image, const CGRect& rect,
                           CGInterpolationQuality quality, double alpha) {
    cairo_save(cr);
    const CGAffineTransform toUser = imageToUser(image, rect);
    cairo_matrix_t imageMatrix;
    cairo_matrix_init(&imageMatrix, toUser.a, toUser.b, toUser.c, toUser.d, toUser.tx, toUser.ty);
    cairo_transform(cr, &imageMatrix);
    cairo_set_source_surface(cr, image->surface(), 0, 0);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(cairo_get_source(cr), cairoFilter(quality));
    cairo_rectangle(cr, 0, 0, image->width(), image->height());
    cairo_clip(cr);
    cairo_paint_with_alpha(cr, alpha);
    cairo_restore(cr);
}

void CGCairoPainter::text(cairo_t* cr, const CGDrawOperation& op, const CGAffineTransform& toDevice,
                          double alpha) {
    const CGTextDrawing& t = *op.text;
    // Text reads downwards from the top of its box, whichever way user space's y runs: a
    // reflection between user space and the device (y growing upwards) puts the top at maxY.
    const bool yUp = toDevice.determinant() < 0;
    const CGAffineTransform textToUser = CGAffineTransform::scale(1, yUp ? -1 : 1)
                                             .concatenating(CGAffineTransform::translation(
                                                 t.box.minX(), yUp ? t.box.maxY() : t.box.minY()));
    setMatrix(cr, textToUser.concatenating(toDevice));
    if (alpha >= 1) return t.paint(cr);
    // The group is only as large as the clip: the box and what glyphs reach beyond it.
    cairo_save(cr);
    cairo_rectangle(cr, -textReach, -textReach, t.box.width() + 2 * textReach,
                    t.box.height() + 2 * textReach);
    cairo_clip(cr);
    cairo_push_group(cr);
    t.paint(cr);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, alpha);
    cairo_restore(cr);
}

void CGCairoPainter::paint(cairo_t* cr, const CGDrawOperation& op,
                           const CGAffineTransform& baseToDevice, double alpha) {
    const CGAffineTransform toDevice = op.ctm.concatenating(baseToDevice);
    if (!toDevice.isInvertible()) return;
    setMatrix(cr, toDevice);
    switch (op.kind) {
        case CGDrawOperationKind::fillPath:
            return fill(cr, op, alpha);
        case CGDrawOperationKind::strokePath:
            return stroke(cr, op, alpha);
        case CGDrawOperationKind::linearGradient:
        case CGDrawOperationKind::radialGradient:
            return gradient(cr, op, alpha);
        case CGDrawOperationKind::image:
            return image(cr, op.image, op.rect, op.interpolation, alpha);
        case CGDrawOperationKind::text:
            return text(cr, op, toDevice, alpha);
        case CGDrawOperationKind::beginTransparencyLayer:
        case CGDrawOperationKind::endTransparencyLayer:
            return;
    }
}
