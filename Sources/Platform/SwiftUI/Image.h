#pragma once

#include <string>

#include "Platform/AppKit/NSImage.h"
#include "Platform/SwiftUI/View.h"

namespace SwiftUI {

/// An image: a system symbol drawn at the environment's font size and weight in the
/// foreground colour, or an `NSImage` at its own size. A resizable image takes the size it is
/// offered.
class Image : public View {
  public:
    enum class Interpolation { none, low, medium, high };

    /// A symbol the system does not know shows nothing and takes no room.
    static Image systemName(const std::string& name);
    explicit Image(NSImageRef image);

    Image resizable() const;
    Image interpolation(Interpolation quality) const;

  private:
    struct Source {
        std::string symbol;
        NSImageRef image;
        bool resizable = false;
        Interpolation interpolation = Interpolation::medium;
    };
    explicit Image(Source source);

    Source source_;
};

}  // namespace SwiftUI
