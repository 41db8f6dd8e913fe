#include "KelvoApp/Views/GlyphScenes.h"

#include "KelvoApp/Views/GlyphPrimitives.h"

namespace kelvo {

using namespace SwiftUI;

namespace {

using Colour = GlyphColour;

bool horizontal(Direction direction) {
    return direction == Direction::left || direction == Direction::right;
}

/// The pane of a resize glyph, its divider with the divider's radius, and the other pane.
struct ResizeScene {
    CGRect first;
    CGRect divider;
    CGFloat dividerRadius;
    CGRect second;
};

ResizeScene resizeScene(Direction direction) {
    switch (direction) {
        case Direction::up:
            return {{1.6, 1.6, 18.8, 3.0}, {1.6, 5.2, 18.8, 1.4}, 0.7, {1.6, 7.2, 18.8, 7.2}};
        case Direction::down:
            return {{1.6, 1.6, 18.8, 7.2}, {1.6, 9.4, 18.8, 1.4}, 0.7, {1.6, 11.4, 18.8, 3.0}};
        case Direction::left:
            return {{1.6, 1.6, 5.0, 12.8}, {7.2, 1.6, 1.6, 12.8}, 0.8, {9.4, 1.6, 11.0, 12.8}};
        case Direction::right:
            return {{1.6, 1.6, 11.0, 12.8}, {13.2, 1.6, 1.6, 12.8}, 0.8, {15.4, 1.6, 5.0, 12.8}};
    }
    return {};
}

}  // namespace

CGFloat GlyphScenes::halfWidth() {
    return (inner.width() - paneGap) / 2;
}

CGFloat GlyphScenes::halfHeight() {
    return (inner.height() - paneGap) / 2;
}

View GlyphScenes::screenFrame() {
    return GlyphOutline(screen, Colour::edge());
}

std::vector<View> GlyphScenes::halves(const Color& colour) {
    const CGFloat right = inner.minX() + halfWidth() + paneGap;
    return {
        GlyphPane({inner.minX(), inner.minY(), halfWidth(), inner.height()}, colour, paneRadius),
        GlyphPane({right, inner.minY(), halfWidth(), inner.height()}, colour, paneRadius)};
}

std::vector<View> GlyphScenes::focus(Direction direction) {
    const CGFloat w = halfWidth(), h = halfHeight();
    const CGFloat left = inner.minX(), top = inner.minY();
    const CGFloat right = left + w + paneGap, bottom = top + h + paneGap;
    auto pane = [](const CGRect& rect, const Color& colour) {
        return GlyphPane(rect, colour, paneRadius);
    };
    switch (direction) {
        case Direction::left:
            return {pane({left, top, w, inner.height()}, Colour::accent()),
                    pane({right, top, w, h}, Colour::quiet()),
                    pane({right, bottom, w, h}, Colour::quiet())};
        case Direction::right:
            return {pane({right, top, w, inner.height()}, Colour::accent()),
                    pane({left, top, w, h}, Colour::quiet()),
                    pane({left, bottom, w, h}, Colour::quiet())};
        case Direction::up:
            return {pane({left, top, inner.width(), h}, Colour::accent()),
                    pane({left, bottom, w, h}, Colour::quiet()),
                    pane({right, bottom, w, h}, Colour::quiet())};
        case Direction::down:
            return {pane({left, bottom, inner.width(), h}, Colour::accent()),
                    pane({left, top, w, h}, Colour::quiet()),
                    pane({right, top, w, h}, Colour::quiet())};
    }
    return {};
}

std::vector<View> GlyphScenes::move(Direction direction) {
    const bool across = horizontal(direction);
    const CGRect first = across ? CGRect(1.6, 1.6, 7.2, 12.8) : CGRect(1.6, 1.6, 18.8, 4.2);
    const CGRect second = across ? CGRect(13.2, 1.6, 7.2, 12.8) : CGRect(1.6, 10.2, 18.8, 4.2);
    const CGRect chevron = across ? CGRect(9.3, 5.4, 3.4, 5.2) : CGRect(8.4, 6.3, 5.2, 3.4);
    // The window leaves the pane behind the direction.
    const bool leavesFirst = direction == Direction::right || direction == Direction::down;
    return {GlyphPane(first, leavesFirst ? Colour::accent() : Colour::quiet(), paneRadius),
            GlyphPane(second, leavesFirst ? Colour::quiet() : Colour::accent(), paneRadius),
            GlyphChevron(direction, chevron, Colour::accent(), chevronWidth)};
}

std::vector<View> GlyphScenes::resize(Direction direction) {
    const ResizeScene scene = resizeScene(direction);
    return {GlyphPane(scene.first, Colour::quiet(), paneRadius),
            GlyphPane(scene.divider, Colour::accent(), scene.dividerRadius),
            GlyphPane(scene.second, Colour::quiet(), paneRadius)};
}

std::vector<View> GlyphScenes::desktopSwitch() {
    return {GlyphOutline({4.0, 0.6, 17.4, 11.0}, Colour::faint()),
            GlyphOutline({2.3, 2.3, 17.4, 11.0}, Colour::edge()),
            GlyphPane({0.6, 4.0, 17.4, 11.0}, Colour::accent(), 2.4)};
}

std::vector<View> GlyphScenes::desktopThrow() {
    return {GlyphOutline({0.5, 1.5, 14.5, 13.0}, Colour::edge()),
            GlyphPane({2.6, 3.6, 5.5, 8.8}, Colour::accent(), paneRadius),
            GlyphPane({11.5, 7.4, 7.0, 1.2}, Colour::accent(), 0.6),
            GlyphChevron(Direction::right, {17.2, 5.4, 3.4, 5.2}, Colour::accent(), chevronWidth)};
}

std::vector<View> GlyphScenes::zoom() {
    return {screenFrame(), GlyphPane({2.4, 2.4, 17.2, 11.2}, Colour::accent(), paneRadius)};
}

std::vector<View> GlyphScenes::rebalance() {
    const CGFloat w = halfWidth(), h = halfHeight();
    std::vector<View> panes;
    for (CGFloat y : {inner.minY(), inner.minY() + h + paneGap})
        for (CGFloat x : {inner.minX(), inner.minX() + w + paneGap})
            panes.push_back(GlyphPane({x, y, w, h}, Colour::even(), paneRadius));
    return panes;
}

std::vector<View> GlyphScenes::split() {
    return {
        GlyphPane({0.8, 3.0, 3.8, 10.0}, Colour::accent(), paneRadius),
        GlyphPane({5.6, 3.0, 3.8, 10.0}, Colour::accent(), paneRadius),
        GlyphChevron(Direction::right, {10.2, 6.6, 1.8, 2.8}, Colour::edge(), smallChevronWidth),
        GlyphPane({12.8, 3.0, 8.4, 4.0}, Colour::accent(), paneRadius),
        GlyphPane({12.8, 9.0, 8.4, 4.0}, Colour::accent(), paneRadius)};
}

std::vector<View> GlyphScenes::rotate() {
    std::vector<View> shapes = halves(Colour::faintFill());
    const CGRect canvas(0, 0, 22, 16);
    const View arc = RotationArc().stroke(Colour::accent(),
                                          StrokeStyle{1.5, CGLineCap::round, CGLineJoin::miter});
    shapes.push_back(arc.frame(canvas.width(), canvas.height()));
    shapes.push_back(RotationHead().fill(Colour::accent()).frame(canvas.width(), canvas.height()));
    return shapes;
}

std::vector<View> GlyphScenes::floating() {
    std::vector<View> shapes = halves(Colour::faintFill());
    shapes.push_back(GlyphPane({6.4, 3.2, 11.0, 8.0}, Colour::accent(), 2.0)
                         .shadow(Color::black().opacity(0.55), 2.2, 0, 1.4));
    return shapes;
}

std::vector<View> GlyphScenes::terminal() {
    return {screenFrame(),
            GlyphChevron(Direction::right, {4.0, 5.4, 3.0, 5.2}, Colour::accent(), chevronWidth),
            GlyphPane({8.6, 9.4, 6.4, 1.2}, Colour::accent(), 0.6)};
}

std::vector<View> GlyphScenes::launcher() {
    const CGFloat lens = 3.4;
    const CGPoint lensCentre{7.0, 7.9};
    const Color textBar = Color::white().opacity(0.22);
    return {screenFrame(),
            GlyphPane({3.0, 5.2, 16.0, 5.6}, Color::white().opacity(0.1), 2.8),
            Circle()
                .stroke(Colour::accent(), 1.1)
                .frame(lens, lens)
                .offset(lensCentre.x - lens / 2, lensCentre.y - lens / 2),
            GlyphPane({8.9, 9.6, 1.1, 1.1}, Colour::accent(), 0.5),
            GlyphPane({12.0, 6.6, 4.6, 0.9}, textBar, 0.45),
            GlyphPane({12.0, 8.6, 3.0, 0.9}, textBar, 0.45)};
}

std::vector<View> GlyphScenes::master() {
    return {GlyphPane({1.6, 1.6, 7.2, 12.8}, Colour::accent(), paneRadius),
            GlyphPane({13.2, 1.6, 7.2, 5.75}, Colour::quiet(), paneRadius),
            GlyphPane({13.2, 8.65, 7.2, 5.75}, Colour::quiet(), paneRadius),
            GlyphChevron(Direction::left, {9.3, 5.4, 3.4, 5.2}, Colour::accent(), chevronWidth)};
}

std::vector<View> GlyphScenes::layoutMode() {
    const CGFloat radius = 1.2;
    std::vector<View> shapes{
        GlyphPane({0.8, 3.0, 3.2, 10.0}, Colour::accent(), radius),
        GlyphPane({4.6, 3.0, 2.6, 4.6}, Colour::quiet(), radius),
        GlyphPane({4.6, 8.4, 2.6, 4.6}, Colour::quiet(), radius),
        GlyphChevron(Direction::right, {8.4, 6.6, 1.8, 2.8}, Colour::edge(), smallChevronWidth)};
    for (CGFloat y : {3.0, 8.4})
        for (CGFloat x : {11.8, 16.6})
            shapes.push_back(GlyphPane({x, y, 4.2, 4.6}, Colour::even(), radius));
    return shapes;
}

std::vector<View> GlyphScenes::showDesktop() {
    return {screenFrame(), GlyphPane({2.2, 3.4, 2.6, 9.2}, Colour::faintFill(), paneRadius),
            GlyphPane({17.2, 3.4, 2.6, 9.2}, Colour::faintFill(), paneRadius),
            GlyphChevron(Direction::left, {6.6, 5.4, 2.6, 5.2}, Colour::accent(), chevronWidth),
            GlyphChevron(Direction::right, {12.8, 5.4, 2.6, 5.2}, Colour::accent(), chevronWidth)};
}

std::vector<View> GlyphScenes::cheatsheet() {
    std::vector<View> shapes{screenFrame()};
    for (CGFloat y : {4.0, 8.4})
        for (CGFloat x : {3.4, 8.0, 12.6}) {
            const bool lit = x == 8.0 && y == 4.0;
            shapes.push_back(
                GlyphPane({x, y, 3.4, 2.4}, lit ? Colour::accent() : Colour::faintFill(), 0.6));
        }
    return shapes;
}

}  // namespace kelvo
