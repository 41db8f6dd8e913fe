#include "KelvoCore/Geometry/Display.h"

namespace kelvo {

std::optional<Display> holding(const std::vector<Display>& displays, const CGRect& rect) {
    std::optional<Display> holder;
    double holderOverlap = 0;
    for (const Display& display : displays) {
        const CGRect overlap = display.frame.intersection(rect);
        if (overlap.isNull()) continue;
        const double area = overlap.width() * overlap.height();
        if (!(area > 0)) continue;
        if (!holder || area > holderOverlap || (area == holderOverlap && display.id < holder->id)) {
            holder = display;
            holderOverlap = area;
        }
    }
    return holder;
}

}  // namespace kelvo
