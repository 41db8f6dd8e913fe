#include "KelvoApp/Services/Launcher/LauncherPanel.h"

#include "Base/Text/UnicodeText.h"
#include "KelvoApp/Views/EditingChords.h"
#include "KelvoCore/Keys/KeyCode.h"
#include "Platform/AppKit/NSTextView.h"

namespace kelvo {

namespace {

NSEventModifierFlags deviceIndependent(const NSEvent& event) {
    return event.modifierFlags() & NSEventModifierFlagDeviceIndependentFlagsMask;
}

bool isReturn(std::uint16_t keyCode) {
    return keyCode == KeyCode::ret || keyCode == KeyCode::keypadEnter;
}

/// Whether ⇧ alone is held with Return or Enter. The keypad's Enter always carries the keypad's
/// flag, which is part of the key rather than a modifier the person holds.
bool shiftAloneWithReturn(const NSEvent& event) {
    return (deviceIndependent(event) & ~NSEventModifierFlagNumericPad) == NSEventModifierFlagShift;
}

LauncherModel::Key enterKey(const NSEvent& event) {
    return shiftAloneWithReturn(event) ? LauncherModel::Key::shiftEnter()
                                       : LauncherModel::Key::enter();
}

}  // namespace

std::optional<LauncherModel::Key> LauncherPanel::key(const NSEvent& event) {
    if (isReturn(event.keyCode())) return enterKey(event);
    if (event.keyCode() == KeyCode::escape) return LauncherModel::Key::escape();
    const std::string text = event.characters();
    if (text.empty()) return std::nullopt;
    if (text == "\x1b") return LauncherModel::Key::escape();
    if (text == "\r" || text == "\n" || text == "\x03") return enterKey(event);
    return LauncherModel::Key::character(text);
}

bool LauncherPanel::moveSelection(int delta) {
    if (onControlMove) onControlMove(delta);
    return true;
}

void LauncherPanel::keyDown(NSEvent& event) {
    if (event.keyCode() == KeyCode::upArrow) {
        moveSelection(-1);
        return;
    }
    if (event.keyCode() == KeyCode::downArrow) {
        moveSelection(1);
        return;
    }
    const auto launcherKey = key(event);
    if (launcherKey && onKey && onKey(*launcherKey)) return;
    NSPanel::keyDown(event);
}

bool LauncherPanel::performKeyEquivalent(NSEvent& event) {
    const NSEventModifierFlags flags = deviceIndependent(event);
    const std::string letter = UnicodeText::lowercased(event.charactersIgnoringModifiers());
    if (flags == NSEventModifierFlagControl) {
        if (letter == "n") return moveSelection(1);
        if (letter == "p") return moveSelection(-1);
    } else if (isReturn(event.keyCode()) && shiftAloneWithReturn(event)) {
        if (onKey && onKey(LauncherModel::Key::shiftEnter())) return true;
    } else if (flags == NSEventModifierFlagCommand ||
               flags == (NSEventModifierFlagCommand | NSEventModifierFlagShift)) {
        if (edit(letter, (flags & NSEventModifierFlagShift) != 0)) return true;
    }
    return NSPanel::performKeyEquivalent(event);
}

bool LauncherPanel::edit(const std::string& key, bool shift) {
    auto* editor = dynamic_cast<NSTextView*>(firstResponder());
    if (!editor) return false;
    return performEditingChord(*editor, key, shift, this).value_or(false);
}

void LauncherPanel::cancelOperation(const void*) {
    if (onCancel) onCancel();
}

}  // namespace kelvo
