#pragma once

#include <iosfwd>
#include <string_view>

namespace SwiftUI {

/// What made a laid-out node: the view, shape or modifier it was placed for. Each kind is
/// listed here once, so that a tree is searched and told apart by these names rather than by
/// spellings scattered through its makers and readers.
enum class NodeKind {
    /// The top of a graph's tree, which the root view is placed in.
    root,
    /// What a modifier leaves where its content placed nothing.
    empty,
    text,
    image,
    color,
    rectangle,
    roundedRectangle,
    circle,
    capsule,
    path,
    hStack,
    vStack,
    zStack,
    spacer,
    divider,
    lazyVGrid,
    scrollView,
    geometryReader,
    representable,
    frame,
    fixedSize,
    padding,
    background,
    overlay,
    opacity,
    shadow,
    clipShape,
    scaleEffect,
};

/// The kind as its view or modifier is spelt ("Text", "VStack", "padding", …), for the
/// descriptions of a tree a failing test prints.
std::string_view nameOf(NodeKind kind);
std::ostream& operator<<(std::ostream& out, NodeKind kind);

}  // namespace SwiftUI
