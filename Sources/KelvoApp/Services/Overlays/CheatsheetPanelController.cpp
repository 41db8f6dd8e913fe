#include "KelvoApp/Services/Overlays/CheatsheetPanelController.h"

#include <algorithm>

#include "KelvoApp/Services/Overlays/HUDBackdrop.h"
#include "KelvoApp/Views/CheatsheetView.h"
#include "Platform/AppKit/NSAppearance.h"
#include "Platform/AppKit/NSColor.h"
#include "Platform/AppKit/NSEvent.h"
#include "Platform/AppKit/NSScreen.h"

namespace kelvo {

namespace {

/// The screen under the pointer, else the main screen; null with neither.
NSScreenRef screenUnderPointer() {
    const CGPoint pointer = NSEvent::mouseLocation();
    for (const NSScreenRef& screen : NSScreen::screens())
        if (screen->frame().contains(pointer)) return screen;
    return NSScreen::mainScreen();
}

}  // namespace

CheatsheetPanelController::CheatsheetPanelController(Sections sections)
    : panel(CGRect(0, 0, width, height), NSWindowStyleMaskNonactivatingPanel,
            NSBackingStoreBuffered, false),
      backdrop(makeHUDBackdrop(CGRect(0, 0, width, height), cornerRadius)),
      sections_(std::move(sections)) {
    panel.setFloatingPanel(true);
    panel.setLevel(level);
    panel.setBackgroundColor(NSColor::clearColor());
    panel.setOpaque(false);
    panel.setHasShadow(true);
    panel.setMovable(false);
    panel.setHidesOnDeactivate(false);
    panel.setReleasedWhenClosed(false);
    panel.setCollectionBehavior(collectionBehavior);
    panel.setAppearance(NSAppearance::appearanceNamed(NSAppearanceNameDarkAqua));
    panel.setAnimationBehavior(NSWindowAnimationBehavior::utilityWindow);

    const CALayerRef& layer = backdrop->layer();
    layer->setCornerCurve(CALayerCornerCurve::continuous);
    layer->setBorderWidth(borderWidth);
    layer->setBorderColor(NSColor::whiteColor()->colorWithAlphaComponent(borderOpacity)->CGColor());

    hosting = std::make_shared<SwiftUI::NSHostingView>(
        [this] { return SwiftUI::View(CheatsheetView(model)); });
    hosting->observe(model);
    hosting->setTranslatesAutoresizingMaskIntoConstraints(false);
    backdrop->addSubview(hosting);
    NSLayoutConstraint::activateConstraints({
        hosting->leadingAnchor().constraintEqualToAnchor(backdrop->leadingAnchor()),
        hosting->trailingAnchor().constraintEqualToAnchor(backdrop->trailingAnchor()),
        hosting->topAnchor().constraintEqualToAnchor(backdrop->topAnchor()),
        hosting->bottomAnchor().constraintEqualToAnchor(backdrop->bottomAnchor()),
    });
    panel.setContentView(backdrop);
}

CheatsheetPanelController::~CheatsheetPanelController() = default;

void CheatsheetPanelController::toggle() {
    if (isShown()) {
        putAway();
        return;
    }
    model.sections = sections_ ? sections_() : std::vector<KeyReference::Section>{};
    reposition();
    panel.orderFrontRegardless();
}

void CheatsheetPanelController::putAway() {
    if (isShown()) panel.orderOut(nullptr);
}

void CheatsheetPanelController::reposition() {
    const NSScreenRef screen = screenUnderPointer();
    if (!screen) return;
    const CGRect visible = screen->visibleFrame();
    const double w = std::min(visible.width() - screenMargin, width);
    const double h = std::min(visible.height() - screenMargin, height);
    panel.setFrame(CGRect(visible.midX() - w / 2, visible.midY() - h / 2, w, h), true);
}

}  // namespace kelvo
