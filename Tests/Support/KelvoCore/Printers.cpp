#include "Support/KelvoCore/Printers.h"

#include "Base/JSON/JSONWriter.h"

void PrintTo(const CGPoint& point, std::ostream* out) {
    *out << "(" << point.x << ", " << point.y << ")";
}

void PrintTo(const CGSize& size, std::ostream* out) {
    *out << "(" << size.width << " x " << size.height << ")";
}

void PrintTo(const CGRect& rect, std::ostream* out) {
    *out << "(" << rect.origin.x << ", " << rect.origin.y << ", " << rect.size.width << ", "
         << rect.size.height << ")";
}

namespace kelvo {

void PrintTo(const WindowID& id, std::ostream* out) {
    *out << id.description();
}

void PrintTo(const Display& display, std::ostream* out) {
    *out << "display " << display.id << " ";
    ::PrintTo(display.frame, out);
}

void PrintTo(const LayoutTree::Node& node, std::ostream* out) {
    *out << JSONWriter::write(encodeJSON(node));
}

void PrintTo(const LayoutTree& tree, std::ostream* out) {
    *out << JSONWriter::write(encodeJSON(tree));
}

}  // namespace kelvo
