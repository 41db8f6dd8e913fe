#pragma once

#include <stdexcept>
#include <string>

#include "Platform/SwiftUI/ViewGraph.h"

namespace kelvo::testing {

/// A view laid out at a proposed size, with its tree kept for assertions.
struct LaidOutView {
    LaidOutView(SwiftUI::View view, CGSize size) : graph([view] { return view; }) {
        graph.layout(size);
    }
    const SwiftUI::LayoutNode& tree() const { return graph.tree(); }
    /// The node of that identifier; throws with the whole tree when there is none.
    const SwiftUI::LayoutNode& id(const std::string& identifier) const {
        const SwiftUI::LayoutNode* found = tree().findIdentifier(identifier);
        if (!found) throw std::runtime_error("no view " + identifier + "\n" + tree().describe());
        return *found;
    }
    SwiftUI::ViewGraph graph;
};

}  // namespace kelvo::testing
