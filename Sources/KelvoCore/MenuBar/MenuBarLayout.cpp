#include "KelvoCore/MenuBar/MenuBarLayout.h"

#include <algorithm>

namespace kelvo {

namespace {

int tileCount(int desktops) {
    return std::max(desktops, 1);
}

}  // namespace

CGFloat MenuBarLayout::nameSegment(bool showName) {
    return showName ? nameBand + gap : 0;
}

CGFloat MenuBarLayout::indicatorsOffset(int desktops) {
    const int n = tileCount(desktops);
    return cell * n + gap * (n - 1) + edge;
}

CGFloat MenuBarLayout::width(int desktops, bool showName) {
    return edge + nameSegment(showName) + modeSegment + indicatorsOffset(desktops);
}

MenuBarLayout::Frames MenuBarLayout::frames(int desktops, bool showName) {
    const CGFloat modeX = edge + nameSegment(showName);
    Frames frames;
    frames.width = width(desktops, showName);
    if (showName) frames.name = CGRect(edge, boxTop, nameBand, cell);
    frames.mode = CGRect(modeX, boxTop, modeCell, cell);
    const int n = tileCount(desktops);
    for (int i = 0; i < n; ++i)
        frames.cells.push_back(CGRect(modeX + modeSegment + (cell + gap) * i, boxTop, cell, cell));
    return frames;
}

}  // namespace kelvo
