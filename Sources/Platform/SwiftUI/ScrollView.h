#pragma once

#include <string>

#include "Platform/SwiftUI/Animation.h"
#include "Platform/SwiftUI/View.h"

namespace SwiftUI {

class LayoutServices;

/// A vertical scroll view: it takes the room it is offered, lays its content out at its own
/// width and any height, and shows the part at its scroll offset, clipped.
View ScrollView(View content, bool showsIndicators = true);

/// Scrolls the scroll views inside a `ScrollViewReader` to the view of an identity.
class ScrollViewProxy {
  public:
    ScrollViewProxy(LayoutServices* services, std::string path)
        : services_(services), path_(std::move(path)) {}

    /// Brings the view whose `id` is `identifier` to `anchor` of the scroll view (its centre
    /// for `UnitPoint::center()`), as far as the content allows, on the next layout; over the
    /// animation's time when one is given. An identity that is not there scrolls nothing.
    void scrollTo(const std::string& identifier, UnitPoint anchor = UnitPoint::top(),
                  std::optional<Animation> animation = std::nullopt) const;

  private:
    LayoutServices* services_;
    std::string path_;
};

View ScrollViewReader(std::function<View(const ScrollViewProxy&)> content);

}  // namespace SwiftUI
