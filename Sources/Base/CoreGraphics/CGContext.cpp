#include "Base/CoreGraphics/CGContext.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

bool finite(CGPoint p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

bool finite(const CGRect& r) {
    return finite(r.origin) && std::isfinite(r.size.width) && std::isfinite(r.size.height);
}

}  // namespace

CGContext::CGContext(CGAffineTransform baseCTM) {
    state_.ctm = baseCTM;
    pathCTM_ = baseCTM;
}

void CGContext::saveGState() {
    saved_.push_back(state_);
}

void CGContext::restoreGState() {
    // A transparency layer's own state is not given up before the layer ends.
    const std::size_t floor = layers_.empty() ? 0 : layers_.back() + 1;
    if (saved_.size() <= floor) return;
    state_ = std::move(saved_.back());
    saved_.pop_back();
}

void CGContext::setCTM(const CGAffineTransform& ctm) {
    state_.ctm = ctm;
}

void CGContext::translateBy(CGFloat x, CGFloat y) {
    setCTM(state_.ctm.translatedBy(x, y));
}

void CGContext::scaleBy(CGFloat sx, CGFloat sy) {
    setCTM(state_.ctm.scaledBy(sx, sy));
}

void CGContext::rotate(CGFloat angle) {
    setCTM(state_.ctm.rotated(angle));
}

void CGContext::concatenate(const CGAffineTransform& transform) {
    setCTM(transform.concatenating(state_.ctm));
}

void CGContext::setFillColor(const CGColorRef& color) {
    state_.fillColor = color ? *color : CGColorValue{};
}

void CGContext::setStrokeColor(const CGColorRef& color) {
    state_.strokeColor = color ? *color : CGColorValue{};
}

void CGContext::setLineWidth(CGFloat width) {
    if (std::isfinite(width) && width >= 0) state_.stroke.lineWidth = width;
}

void CGContext::setLineCap(CGLineCap cap) {
    state_.stroke.lineCap = cap;
}

void CGContext::setLineJoin(CGLineJoin join) {
    state_.stroke.lineJoin = join;
}

void CGContext::setMiterLimit(CGFloat limit) {
    if (std::isfinite(limit) && limit >= 0) state_.stroke.miterLimit = limit;
}

void CGContext::setLineDash(CGFloat phase, const std::vector<CGFloat>& lengths) {
    const bool usable = std::isfinite(phase) &&
                        std::all_of(lengths.begin(), lengths.end(),
                                    [](CGFloat l) { return std::isfinite(l) && l >= 0; }) &&
                        std::accumulate(lengths.begin(), lengths.end(), 0.0) > 0;
    state_.stroke.dashPhase = usable ? phase : 0;
    state_.stroke.dashLengths = usable ? lengths : std::vector<CGFloat>{};
}

void CGContext::setAlpha(CGFloat alpha) {
    if (!std::isnan(alpha)) state_.alpha = std::clamp(alpha, 0.0, 1.0);
}

void CGContext::setBlendMode(CGBlendMode mode) {
    state_.blendMode = mode;
}

void CGContext::setShadow(CGSize offset, CGFloat blur) {
    setShadow(offset, blur, CGColorCreateSRGB(0, 0, 0, 1.0 / 3));
}

void CGContext::setShadow(CGSize offset, CGFloat blur, const CGColorRef& color) {
    const bool usable =
        color && std::isfinite(offset.width) && std::isfinite(offset.height) && std::isfinite(blur);
    state_.shadow = usable ? CGShadow{offset, std::max(blur, 0.0), *color} : CGShadow{};
}

void CGContext::setShouldAntialias(bool antialias) {
    state_.antialias = antialias;
}

void CGContext::setInterpolationQuality(CGInterpolationQuality quality) {
    state_.interpolation = quality;
}

CGPath& CGContext::pathForAdding() {
    if (pathCTM_ != state_.ctm) {
        if (!path_.isEmpty()) {
            path_ = state_.ctm.isInvertible()
                        ? path_.applying(pathCTM_.concatenating(state_.ctm.inverted()))
                        : CGPath();
        }
        pathCTM_ = state_.ctm;
    }
    return path_;
}

CGPath CGContext::takePath() {
    CGPath taken = std::move(pathForAdding());
    path_ = CGPath();
    return taken;
}

void CGContext::beginPath() {
    path_ = CGPath();
}

void CGContext::move(CGPoint to) {
    pathForAdding().move(to);
}

void CGContext::addLine(CGPoint to) {
    pathForAdding().addLine(to);
}

void CGContext::addQuadCurve(CGPoint to, CGPoint control) {
    pathForAdding().addQuadCurve(to, control);
}

void CGContext::addCurve(CGPoint to, CGPoint control1, CGPoint control2) {
    pathForAdding().addCurve(to, control1, control2);
}

void CGContext::closePath() {
    pathForAdding().closeSubpath();
}

void CGContext::addRect(const CGRect& rect) {
    pathForAdding().addRect(rect);
}

void CGContext::addEllipse(const CGRect& rect) {
    pathForAdding().addEllipse(rect);
}

void CGContext::addArc(CGPoint center, CGFloat radius, CGFloat startAngle, CGFloat endAngle,
                       bool clockwise) {
    pathForAdding().addArc(center, radius, startAngle, endAngle, clockwise);
}

void CGContext::addArc(CGPoint tangent1End, CGPoint tangent2End, CGFloat radius) {
    pathForAdding().addArc(tangent1End, tangent2End, radius);
}

void CGContext::addPath(const CGPath& path) {
    pathForAdding().addPath(path);
}

CGDrawOperation CGContext::operation(CGDrawOperationKind kind) const {
    CGDrawOperation op;
    op.kind = kind;
    op.ctm = state_.ctm;
    op.color = kind == CGDrawOperationKind::strokePath ? state_.strokeColor : state_.fillColor;
    op.stroke = state_.stroke;
    op.interpolation = state_.interpolation;
    op.alpha = state_.alpha;
    op.blendMode = state_.blendMode;
    op.shadow = state_.shadow;
    op.antialias = state_.antialias;
    op.clips = state_.clips;
    return op;
}

void CGContext::submit(const CGDrawOperation& op) {
    if (!op.ctm.isInvertible()) return;
    perform(op);
}

void CGContext::fillPath(CGPathFillRule rule) {
    CGDrawOperation op = operation(CGDrawOperationKind::fillPath);
    op.path = takePath();
    op.fillRule = rule;
    if (!op.path.isEmpty()) submit(op);
}

void CGContext::strokePath() {
    CGDrawOperation op = operation(CGDrawOperationKind::strokePath);
    op.path = takePath();
    if (!op.path.isEmpty()) submit(op);
}

void CGContext::fill(const CGRect& rect) {
    beginPath();
    addRect(rect);
    fillPath();
}

void CGContext::stroke(const CGRect& rect) {
    beginPath();
    addRect(rect);
    strokePath();
}

void CGContext::fillEllipse(const CGRect& rect) {
    beginPath();
    addEllipse(rect);
    fillPath();
}

void CGContext::clip(CGPathFillRule rule) {
    state_.clips.push_back(CGClipRecord{takePath(), rule, state_.ctm, nullptr, CGRect()});
}

void CGContext::clip(const CGRect& rect) {
    beginPath();
    addRect(rect);
    clip();
}

void CGContext::clip(const CGRect& rect, const CGImageRef& mask) {
    if (!mask || !finite(rect)) return;
    state_.clips.push_back(CGClipRecord{CGPath(), CGPathFillRule::winding, state_.ctm, mask, rect});
}

void CGContext::drawLinearGradient(const CGGradientRef& gradient, CGPoint start, CGPoint end,
                                   unsigned options) {
    if (!gradient || !finite(start) || !finite(end)) return;
    CGDrawOperation op = operation(CGDrawOperationKind::linearGradient);
    op.gradient = CGGradientDrawing{gradient, start, end, 0, 0, options};
    submit(op);
}

void CGContext::drawRadialGradient(const CGGradientRef& gradient, CGPoint startCenter,
                                   CGFloat startRadius, CGPoint endCenter, CGFloat endRadius,
                                   unsigned options) {
    if (!gradient || !finite(startCenter) || !finite(endCenter) || !std::isfinite(startRadius) ||
        !std::isfinite(endRadius) || startRadius < 0 || endRadius < 0)
        return;
    CGDrawOperation op = operation(CGDrawOperationKind::radialGradient);
    op.gradient =
        CGGradientDrawing{gradient, startCenter, endCenter, startRadius, endRadius, options};
    submit(op);
}

void CGContext::draw(const CGImageRef& image, const CGRect& rect) {
    if (!image || !finite(rect) || rect.isEmpty()) return;
    CGDrawOperation op = operation(CGDrawOperationKind::image);
    op.image = image;
    op.rect = rect.standardized();
    submit(op);
}

void CGContext::drawText(CGTextDrawing text) {
    if (!text.paint || !finite(text.box) || text.box.isNull()) return;
    CGDrawOperation op = operation(CGDrawOperationKind::text);
    op.text = std::move(text);
    submit(op);
}

void CGContext::beginTransparencyLayer() {
    perform(operation(CGDrawOperationKind::beginTransparencyLayer));
    saved_.push_back(state_);
    layers_.push_back(saved_.size() - 1);
    state_.alpha = 1;
    state_.blendMode = CGBlendMode::normal;
    state_.shadow = CGShadow{};
}

void CGContext::endTransparencyLayer() {
    if (layers_.empty()) return;
    saved_.resize(layers_.back() + 1);
    layers_.pop_back();
    state_ = std::move(saved_.back());
    saved_.pop_back();
    perform(operation(CGDrawOperationKind::endTransparencyLayer));
}
