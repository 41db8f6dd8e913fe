#pragma once

#include "Platform/AppKit/NSImage.h"

// The icons the file viewer shows for an item that has none of its own, drawn by us.
class GenericIcons {
  public:
    GenericIcons() = delete;
    /// Every icon is this many points square.
    static constexpr CGSize size{128, 128};

    /// A grey rounded tile with a simple frame of a window on it.
    static NSImageRef application();
    /// A white sheet with its top right corner folded.
    static NSImageRef document();
};
