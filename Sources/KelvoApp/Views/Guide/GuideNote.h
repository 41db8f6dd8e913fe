#pragma once

#include <string>

#include "Platform/SwiftUI/View.h"

namespace kelvo {

/// A paragraph inside one of the guide's cards; "**…**" spans are shown bold.
struct GuideNote {
    std::string text;

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }
};

}  // namespace kelvo
