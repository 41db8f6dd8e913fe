#include "KelvoApp/Views/CommandGlyph.h"

#include "KelvoApp/Views/GlyphPrimitives.h"
#include "KelvoApp/Views/GlyphScenes.h"

namespace kelvo {

using namespace SwiftUI;
using Glyph = KeyReference::Glyph;

std::vector<View> CommandGlyph::shapes() const {
    switch (glyph) {
        case Glyph::desktopSwitch:
            return GlyphScenes::desktopSwitch();
        case Glyph::desktopThrow:
            return GlyphScenes::desktopThrow();
        case Glyph::focusLeft:
            return GlyphScenes::focus(Direction::left);
        case Glyph::focusDown:
            return GlyphScenes::focus(Direction::down);
        case Glyph::focusUp:
            return GlyphScenes::focus(Direction::up);
        case Glyph::focusRight:
            return GlyphScenes::focus(Direction::right);
        case Glyph::moveLeft:
            return GlyphScenes::move(Direction::left);
        case Glyph::moveDown:
            return GlyphScenes::move(Direction::down);
        case Glyph::moveUp:
            return GlyphScenes::move(Direction::up);
        case Glyph::moveRight:
            return GlyphScenes::move(Direction::right);
        case Glyph::resizeLeft:
            return GlyphScenes::resize(Direction::left);
        case Glyph::resizeDown:
            return GlyphScenes::resize(Direction::down);
        case Glyph::resizeUp:
            return GlyphScenes::resize(Direction::up);
        case Glyph::resizeRight:
            return GlyphScenes::resize(Direction::right);
        case Glyph::zoom:
            return GlyphScenes::zoom();
        case Glyph::rebalance:
            return GlyphScenes::rebalance();
        case Glyph::split:
            return GlyphScenes::split();
        case Glyph::rotate:
            return GlyphScenes::rotate();
        case Glyph::float_:
            return GlyphScenes::floating();
        case Glyph::terminal:
            return GlyphScenes::terminal();
        case Glyph::launcher:
            return GlyphScenes::launcher();
        case Glyph::master:
            return GlyphScenes::master();
        case Glyph::layoutMode:
            return GlyphScenes::layoutMode();
        case Glyph::showDesktop:
            return GlyphScenes::showDesktop();
        case Glyph::cheatsheet:
            return GlyphScenes::cheatsheet();
    }
    return {};
}

View CommandGlyph::body() const {
    std::vector<View> layers{Color::clear().view()};
    for (View& shape : shapes())
        layers.push_back(std::move(shape));
    return ZStack(Alignment::topLeading(), std::move(layers))
        .frame(width, height)
        .accessibilityHidden(true);
}

}  // namespace kelvo
