#pragma once

#include <functional>

#include "Platform/SwiftUI/View.h"

namespace kelvo {

/// The Accessibility step's card: whether the permission is granted and, until it is, the
/// button that asks macOS for it with a note on what happens next.
struct GuidePermissionCard {
    static constexpr CGFloat checkmarkSize = 15;

    bool trusted = false;
    std::function<void()> grant;

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }

    /// Asks macOS for the permission, with its own prompt that points to the Accessibility list.
    static void requestAccess();
};

}  // namespace kelvo
