#pragma once

#include <string>

#include "Base/Foundation/CGGeometry.h"
#include "Platform/AppKit/NSWindow.h"

namespace kelvo {

/// The look the settings window and the guide share: titled, closable, resizable, with the title
/// hidden over a transparent bar and the content reaching under it.
constexpr NSWindowStyleMask darkTitledStyle =
    NSWindowStyleMaskTitled | NSWindowStyleMaskClosable | NSWindowStyleMaskMiniaturizable |
    NSWindowStyleMaskResizable | NSWindowStyleMaskFullSizeContentView;

/// Dresses a window made with `darkTitledStyle`: its hidden title, its level, movable by its
/// background, dark, on the palette's background, `content` at `contentSize`, kept when closed
/// and no smaller than `minimumSize`.
void dressDarkTitledWindow(NSWindow& window, const std::string& title, NSWindowLevel level,
                           NSViewRef content, CGSize contentSize, CGSize minimumSize);

}  // namespace kelvo
