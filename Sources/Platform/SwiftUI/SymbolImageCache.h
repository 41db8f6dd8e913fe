#pragma once

#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "Platform/AppKit/NSImage.h"
#include "Platform/SwiftUI/Color.h"
#include "Platform/SwiftUI/Font.h"

namespace SwiftUI {

/// The system symbols a graph's images show, made once for each size, weight and tint: an
/// image keeps the bitmaps it was drawn into, so a pass after the first draws a symbol
/// without setting its strokes again. The graph that owns it keeps it across passes.
class SymbolImageCache {
  public:
    static constexpr std::size_t capacity = 1024;

    /// The symbol at the font's size and weight, in `tint` when one is given; none when the
    /// system does not know the name.
    NSImageRef image(const std::string& name, const Font& font, const std::optional<Color>& tint);
    /// The symbol at the font's size and weight, made anew.
    static NSImageRef make(const std::string& name, const Font& font);

  private:
    /// Name, point size, weight, then the tint's components (none: untinted).
    using Key =
        std::tuple<std::string, CGFloat, Font::Weight, bool, CGFloat, CGFloat, CGFloat, CGFloat>;

    std::map<Key, NSImageRef> images_;
};

}  // namespace SwiftUI
