#pragma once

#include <ostream>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoCore/Geometry/Display.h"
#include "KelvoCore/Geometry/WindowID.h"
#include "KelvoCore/Layout/LayoutTree.h"

// What a failing comparison prints: numbers for geometry, a window's description, a tree's
// JSON form. Found by GoogleTest through the types' own namespaces.

void PrintTo(const CGPoint& point, std::ostream* out);
void PrintTo(const CGSize& size, std::ostream* out);
/// "(x, y, width, height)".
void PrintTo(const CGRect& rect, std::ostream* out);

namespace kelvo {

void PrintTo(const WindowID& id, std::ostream* out);
void PrintTo(const Display& display, std::ostream* out);
void PrintTo(const LayoutTree::Node& node, std::ostream* out);
void PrintTo(const LayoutTree& tree, std::ostream* out);

}  // namespace kelvo
