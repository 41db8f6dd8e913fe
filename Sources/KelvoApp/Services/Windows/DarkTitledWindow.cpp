#include "KelvoApp/Services/Windows/DarkTitledWindow.h"

#include "KelvoApp/Views/Palette.h"
#include "Platform/AppKit/NSAppearance.h"

namespace kelvo {

void dressDarkTitledWindow(NSWindow& window, const std::string& title, NSWindowLevel level,
                           NSViewRef content, CGSize contentSize, CGSize minimumSize) {
    window.setTitle(title);
    window.setTitleVisibility(NSWindowTitleVisibility::hidden);
    window.setTitlebarAppearsTransparent(true);
    window.setLevel(level);
    window.setMovableByWindowBackground(true);
    window.setAppearance(NSAppearance::appearanceNamed(NSAppearanceNameDarkAqua));
    window.setBackgroundColor(Palette::background().nsColor());
    window.setContentView(std::move(content));
    window.setReleasedWhenClosed(false);
    window.setContentSize(contentSize);
    window.setMinSize(minimumSize);
}

}  // namespace kelvo
