#include "KelvoCore/Layout/Gaps.h"

namespace kelvo {

std::map<WindowID, CGRect> Gaps::apply(const std::map<WindowID, CGRect>& frames,
                                       const CGRect& container) const {
    if (inner == 0 && outer == 0) return frames;
    const double half = inner * 0.5;
    std::map<WindowID, CGRect> gapped;
    for (const auto& [id, r] : frames) {
        const double left = r.minX() <= container.minX() + edgeTolerance ? outer : half;
        const double top = r.minY() <= container.minY() + edgeTolerance ? outer : half;
        const double right = r.maxX() >= container.maxX() - edgeTolerance ? outer : half;
        const double bottom = r.maxY() >= container.maxY() - edgeTolerance ? outer : half;
        gapped[id] = CGRect(r.minX() + left, r.minY() + top, r.width() - left - right,
                            r.height() - top - bottom);
    }
    return gapped;
}

JSONValue JSONCoding<Gaps>::encode(const Gaps& gaps) {
    JSONValue object = JSONValue::object();
    object["inner"] = gaps.inner;
    object["outer"] = gaps.outer;
    return object;
}

Gaps JSONCoding<Gaps>::decode(const JSONNode& node) {
    return Gaps{node.decode<double>("inner"), node.decode<double>("outer")};
}

}  // namespace kelvo
