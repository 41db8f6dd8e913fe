#pragma once

#include <string>

#include "Platform/SwiftUI/View.h"

namespace kelvo {

/// A row of one of the guide's cards: a title, a line of prose and a trailing control. A good
/// row shows its title in the palette's good colour.
struct GuideStatusRow {
    static constexpr CGFloat detailWidth = 400;

    std::string title;
    std::string detail;
    bool good = false;
    SwiftUI::View control;

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }
};

}  // namespace kelvo
