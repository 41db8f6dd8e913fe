#pragma once

#include <ostream>
#include <vector>

#include "Base/JSON/JSONWriter.h"
#include "KelvoCore/Layout/LayoutTree.h"
#include "Support/KelvoCore/Printers.h"
#include "Support/KelvoCore/WindowIDs.h"

// Short spellings for the trees the layout tests build and compare; a node or tree that fails
// a comparison prints as its JSON form (Support/KelvoCore/Printers.h).
namespace kelvo {

using Node = LayoutTree::Node;

inline WindowID W(std::uint32_t raw) {
    return WindowID(raw);
}

inline Node L(std::uint32_t raw) {
    return Node::leaf(WindowID(raw));
}

inline Node V(double ratio, Node first, Node second) {
    return Node::split(Axis::vertical, ratio, std::move(first), std::move(second));
}

inline Node H(double ratio, Node first, Node second) {
    return Node::split(Axis::horizontal, ratio, std::move(first), std::move(second));
}

inline LayoutTree T(Node root) {
    return LayoutTree(std::move(root));
}

/// The main-and-stack chain of windows 1 … count: as deep as a tree can get.
inline LayoutTree chain(std::uint32_t count) {
    std::vector<WindowID> windows;
    for (std::uint32_t raw = 1; raw <= count; ++raw)
        windows.emplace_back(raw);
    return LayoutTree::masterStack(windows, 0.5);
}

/// Windows first … first + count - 1, each split off the right of the ones before: one chain
/// as deep as it is long.
inline LayoutTree splitChain(std::uint32_t first, std::uint32_t count) {
    Node node = Node::leaf(WindowID(first + count - 1));
    for (std::uint32_t i = count - 1; i-- > 0;)
        node = Node::split(Axis::vertical, 0.5, Node::leaf(WindowID(first + i)), std::move(node));
    return LayoutTree(std::move(node));
}

}  // namespace kelvo
