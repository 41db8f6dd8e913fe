#pragma once

#include <cmath>
#include <limits>
#include <optional>

#include "Base/Foundation/CGGeometry.h"

namespace SwiftUI {

inline constexpr CGFloat infinity = std::numeric_limits<CGFloat>::infinity();

enum class LayoutAxis { horizontal, vertical };

/// What a parent offers a child: a length per axis, or none for "your ideal size". A child
/// answers with the size it chooses; the parent then places it at that size.
struct ProposedViewSize {
    std::optional<CGFloat> width;
    std::optional<CGFloat> height;
    bool operator==(const ProposedViewSize&) const = default;

    static ProposedViewSize unspecified() { return {}; }
    static ProposedViewSize zero() { return {0.0, 0.0}; }
    static ProposedViewSize infinite() { return {infinity, infinity}; }
    static ProposedViewSize of(CGSize size) { return {size.width, size.height}; }

    /// Lengths that are not numbers count as none; negative ones as zero.
    ProposedViewSize sanitized() const { return {sanitizedLength(width), sanitizedLength(height)}; }
    std::optional<CGFloat> along(LayoutAxis axis) const {
        return axis == LayoutAxis::horizontal ? width : height;
    }
    std::optional<CGFloat> across(LayoutAxis axis) const {
        return axis == LayoutAxis::horizontal ? height : width;
    }
    /// The proposal with `length` along `axis` and `cross` across it.
    static ProposedViewSize make(LayoutAxis axis, std::optional<CGFloat> length,
                                 std::optional<CGFloat> cross) {
        return axis == LayoutAxis::horizontal ? ProposedViewSize{length, cross}
                                              : ProposedViewSize{cross, length};
    }
    /// The proposal with every none replaced by the size's own length.
    CGSize replacingUnspecified(CGSize size) const;

  private:
    /// Asked of every proposal a view hears, so kept where the compiler can fold it in.
    static std::optional<CGFloat> sanitizedLength(std::optional<CGFloat> length) {
        if (!length || std::isnan(*length)) return std::nullopt;
        return *length < 0 ? 0.0 : *length;
    }
};

// The helpers below are asked many times for every view a layout meets: they are kept where
// the compiler can fold them in.

/// A size that is not a number or negative is zero: a view never answers with one. An
/// infinite answer stays: a view may take all of an infinite offer, and the parent decides
/// what that means; only what cannot be measured at all becomes zero.
inline CGSize sanitizedSize(CGSize size) {
    auto clean = [](CGFloat value) { return std::isnan(value) || value < 0 ? 0.0 : value; };
    return {clean(size.width), clean(size.height)};
}
inline CGFloat length(CGSize size, LayoutAxis axis) {
    return axis == LayoutAxis::horizontal ? size.width : size.height;
}
inline CGSize sizeAlong(LayoutAxis axis, CGFloat length, CGFloat cross) {
    return axis == LayoutAxis::horizontal ? CGSize{length, cross} : CGSize{cross, length};
}

enum class HorizontalAlignment { leading, center, trailing };
enum class VerticalAlignment { top, center, bottom, firstTextBaseline };

struct Alignment {
    HorizontalAlignment horizontal = HorizontalAlignment::center;
    VerticalAlignment vertical = VerticalAlignment::center;
    bool operator==(const Alignment&) const = default;

    static constexpr Alignment center() { return {}; }
    static constexpr Alignment leading() { return {HorizontalAlignment::leading}; }
    static constexpr Alignment trailing() { return {HorizontalAlignment::trailing}; }
    static constexpr Alignment top() {
        return {HorizontalAlignment::center, VerticalAlignment::top};
    }
    static constexpr Alignment bottom() {
        return {HorizontalAlignment::center, VerticalAlignment::bottom};
    }
    static constexpr Alignment topLeading() {
        return {HorizontalAlignment::leading, VerticalAlignment::top};
    }
    static constexpr Alignment topTrailing() {
        return {HorizontalAlignment::trailing, VerticalAlignment::top};
    }
    static constexpr Alignment bottomLeading() {
        return {HorizontalAlignment::leading, VerticalAlignment::bottom};
    }
    static constexpr Alignment bottomTrailing() {
        return {HorizontalAlignment::trailing, VerticalAlignment::bottom};
    }
};

/// Where along `available` a length starts when placed by the alignment (top-down, left to
/// right). The baseline alignment places by baseline only in stacks; elsewhere it is the top.
inline CGFloat alignedOffset(HorizontalAlignment alignment, CGFloat available, CGFloat length) {
    auto finiteOrZero = [](CGFloat value) { return std::isfinite(value) && value > 0 ? value : 0; };
    switch (alignment) {
        case HorizontalAlignment::leading:
            return 0;
        case HorizontalAlignment::center:
            return finiteOrZero(available) / 2 - finiteOrZero(length) / 2;
        case HorizontalAlignment::trailing:
            return finiteOrZero(available) - finiteOrZero(length);
    }
    return 0;
}
inline CGFloat alignedOffset(VerticalAlignment alignment, CGFloat available, CGFloat length) {
    switch (alignment) {
        case VerticalAlignment::top:
        case VerticalAlignment::firstTextBaseline:
            return 0;
        case VerticalAlignment::center:
            return alignedOffset(HorizontalAlignment::center, available, length);
        case VerticalAlignment::bottom:
            return alignedOffset(HorizontalAlignment::trailing, available, length);
    }
    return 0;
}

struct EdgeInsets {
    CGFloat top = 0;
    CGFloat leading = 0;
    CGFloat bottom = 0;
    CGFloat trailing = 0;
    bool operator==(const EdgeInsets&) const = default;
};

/// A set of edges, for padding one or several sides.
struct Edges {
    unsigned bits = 0;
    static constexpr unsigned topBit = 1, leadingBit = 2, bottomBit = 4, trailingBit = 8;
    static constexpr Edges top() { return {topBit}; }
    static constexpr Edges leading() { return {leadingBit}; }
    static constexpr Edges bottom() { return {bottomBit}; }
    static constexpr Edges trailing() { return {trailingBit}; }
    static constexpr Edges horizontal() { return {leadingBit | trailingBit}; }
    static constexpr Edges vertical() { return {topBit | bottomBit}; }
    static constexpr Edges all() { return {topBit | leadingBit | bottomBit | trailingBit}; }
    constexpr Edges operator|(Edges other) const { return {bits | other.bits}; }
    constexpr bool contains(unsigned bit) const { return (bits & bit) != 0; }
    /// The insets of `amount` on these edges.
    EdgeInsets insets(CGFloat amount) const;
};

/// A point in a rectangle's own unit square: (0, 0) top leading, (1, 1) bottom trailing.
struct UnitPoint {
    CGFloat x = 0.5;
    CGFloat y = 0.5;
    bool operator==(const UnitPoint&) const = default;
    static constexpr UnitPoint center() { return {}; }
    static constexpr UnitPoint top() { return {0.5, 0}; }
    static constexpr UnitPoint bottom() { return {0.5, 1}; }
    static constexpr UnitPoint leading() { return {0, 0.5}; }
    static constexpr UnitPoint trailing() { return {1, 0.5}; }
};

}  // namespace SwiftUI
