#pragma once

#include <vector>

#include "KelvoCore/Bindings/KeyReference.h"
#include "Platform/SwiftUI/View.h"

namespace kelvo {

/// One shortcut on the guide's pages: the command's glyph, its keys and what it does.
struct GuideKeyRow {
    static constexpr CGFloat keysWidth = 150;

    KeyReference::Entry entry;

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }

    /// One row per entry, in order, with a hairline between rows, all in one card.
    static SwiftUI::View card(const std::string& title,
                              const std::vector<KeyReference::Entry>& entries);
};

}  // namespace kelvo
