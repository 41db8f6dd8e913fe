#include "Platform/SwiftUI/NodeKind.h"

#include <ostream>

namespace SwiftUI {

std::string_view nameOf(NodeKind kind) {
    switch (kind) {
        case NodeKind::root:
            return "root";
        case NodeKind::empty:
            return "Empty";
        case NodeKind::text:
            return "Text";
        case NodeKind::image:
            return "Image";
        case NodeKind::color:
            return "Color";
        case NodeKind::rectangle:
            return "Rectangle";
        case NodeKind::roundedRectangle:
            return "RoundedRectangle";
        case NodeKind::circle:
            return "Circle";
        case NodeKind::capsule:
            return "Capsule";
        case NodeKind::path:
            return "Path";
        case NodeKind::hStack:
            return "HStack";
        case NodeKind::vStack:
            return "VStack";
        case NodeKind::zStack:
            return "ZStack";
        case NodeKind::spacer:
            return "Spacer";
        case NodeKind::divider:
            return "Divider";
        case NodeKind::lazyVGrid:
            return "LazyVGrid";
        case NodeKind::scrollView:
            return "ScrollView";
        case NodeKind::geometryReader:
            return "GeometryReader";
        case NodeKind::representable:
            return "NSViewRepresentable";
        case NodeKind::frame:
            return "frame";
        case NodeKind::fixedSize:
            return "fixedSize";
        case NodeKind::padding:
            return "padding";
        case NodeKind::background:
            return "background";
        case NodeKind::overlay:
            return "overlay";
        case NodeKind::opacity:
            return "opacity";
        case NodeKind::shadow:
            return "shadow";
        case NodeKind::clipShape:
            return "clipShape";
        case NodeKind::scaleEffect:
            return "scaleEffect";
    }
    return "unknown";
}

std::ostream& operator<<(std::ostream& out, NodeKind kind) {
    return out << nameOf(kind);
}

}  // namespace SwiftUI
