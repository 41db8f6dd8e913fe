#pragma once

#include <string>
#include <vector>

#include "Platform/SwiftUI/View.h"

namespace kelvo {

/// A titled, rounded group of setting rows; the pages are columns of them.
class Card {
  public:
    static constexpr CGFloat spacing = 9;
    static constexpr CGFloat titleSize = 10.5;
    static constexpr CGFloat titleTracking = 1.1;
    static constexpr CGFloat titleInset = 2;
    static constexpr CGFloat cornerRadius = 12;

    Card(std::string title, std::vector<SwiftUI::View> content)
        : title(std::move(title)), content(std::move(content)) {}

    std::string title;
    /// The rows, top to bottom; nothing is put between them.
    std::vector<SwiftUI::View> content;

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }
};

/// The one-point rule between rows and under the title strip, as wide as it is offered.
class Hairline {
  public:
    static constexpr CGFloat height = 1;

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }
};

}  // namespace kelvo
