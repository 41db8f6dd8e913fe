#include "Platform/AppKit/NSTextView.h"

#include "Platform/AppKit/NSPasteboard.h"

namespace {

/// The text as one line: every line break a space.
std::string oneLine(const std::string& text) {
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        line += text[i] == '\n' || text[i] == '\r' ? ' ' : text[i];
    }
    return line;
}

/// Characters that type nothing: controls below the space, delete, and the private-use
/// characters the function keys carry.
bool types(const std::string& characters) {
    if (characters.empty()) return false;
    const auto first = static_cast<unsigned char>(characters[0]);
    if (first < 0x20 || first == 0x7F) return false;
    // U+F700 to U+F8FF, the function keys: EF 9C 80 to EF A3 BF in UTF-8.
    if (characters.size() >= 3 && first == 0xEF) {
        const auto second = static_cast<unsigned char>(characters[1]);
        if (second >= 0x9C && second <= 0xA3) return false;
    }
    return true;
}

}  // namespace

NSTextView::NSTextView() = default;

void NSTextView::setString(std::string string) {
    text_.setText(std::move(string));
    typing_ = false;
    setNeedsDisplay();
}

void NSTextView::setSelectedRange(NSRange range) {
    text_.setSelectedRange(range);
    typing_ = false;
    setNeedsDisplay();
}

std::optional<Selector> NSTextView::commandForKey(std::uint16_t keyCode,
                                                  NSEventModifierFlags flags) {
    const bool shift = (flags & NSEventModifierFlagShift) != 0;
    switch (keyCode) {
        case returnKey:
        case enterKey:
            return Selector::insertNewline;
        case tabKey:
            return shift ? Selector::insertBacktab : Selector::insertTab;
        case escapeKey:
            return Selector::cancelOperation;
        case upArrowKey:
            return Selector::moveUp;
        case downArrowKey:
            return Selector::moveDown;
        case leftArrowKey:
            return shift ? Selector::moveLeftAndModifySelection : Selector::moveLeft;
        case rightArrowKey:
            return shift ? Selector::moveRightAndModifySelection : Selector::moveRight;
        case homeKey:
            return shift ? Selector::moveToBeginningOfLineAndModifySelection
                         : Selector::moveToBeginningOfLine;
        case endKey:
            return shift ? Selector::moveToEndOfLineAndModifySelection : Selector::moveToEndOfLine;
        case deleteKey:
            return Selector::deleteBackward;
        case forwardDeleteKey:
            return Selector::deleteForward;
        default:
            return std::nullopt;
    }
}

void NSTextView::interpretKey(std::uint16_t keyCode, NSEventModifierFlags flags,
                              const std::string& characters) {
    if (const auto command = commandForKey(keyCode, flags)) {
        doCommandBySelector(*command);
        return;
    }
    // Command and Control keys are key equivalents or nothing: they never type.
    if ((flags & (NSEventModifierFlagCommand | NSEventModifierFlagControl)) != 0) return;
    if (types(characters)) insertText(characters);
}

void NSTextView::insertText(const std::string& text) {
    const std::string line = oneLine(text);
    edit(true, [&](EditedText& edited) {
        if (line.empty() && !edited.hasSelection()) return false;
        edited.replaceSelection(line);
        return true;
    });
}

bool NSTextView::doCommandBySelector(Selector command) {
    if (delegate_ && delegate_->textViewDoCommandBySelector(*this, command)) return true;
    return performStandardCommand(command);
}

bool NSTextView::performStandardCommand(Selector command) {
    const auto move = [this](void (EditedText::*step)(bool), bool extend) {
        (text_.*step)(extend);
        typing_ = false;
        setNeedsDisplay();
        return true;
    };
    if (command == Selector::moveLeft) return move(&EditedText::moveLeft, false);
    if (command == Selector::moveRight) return move(&EditedText::moveRight, false);
    if (command == Selector::moveLeftAndModifySelection) return move(&EditedText::moveLeft, true);
    if (command == Selector::moveRightAndModifySelection) return move(&EditedText::moveRight, true);
    // One line: up goes to its start, down to its end.
    if (command == Selector::moveToBeginningOfLine || command == Selector::moveUp)
        return move(&EditedText::moveToStart, false);
    if (command == Selector::moveToEndOfLine || command == Selector::moveDown)
        return move(&EditedText::moveToEnd, false);
    if (command == Selector::moveToBeginningOfLineAndModifySelection)
        return move(&EditedText::moveToStart, true);
    if (command == Selector::moveToEndOfLineAndModifySelection)
        return move(&EditedText::moveToEnd, true);
    if (command == Selector::deleteBackward) {
        edit(false, [](EditedText& edited) { return edited.deleteBackward(); });
        return true;
    }
    if (command == Selector::deleteForward) {
        edit(false, [](EditedText& edited) { return edited.deleteForward(); });
        return true;
    }
    if (command == Selector::insertNewline) {
        typing_ = false;
        if (delegate_) delegate_->textDidPressReturn(*this);
        return true;
    }
    if (command == Selector::cancelOperation) {
        // For a responder further along the chain: the panel, the window.
        NSResponder::cancelOperation(this);
        return true;
    }
    // Tab and Shift-Tab would go to the next key view, which these windows do not keep.
    return false;
}

bool NSTextView::resignFirstResponder() {
    typing_ = false;
    if (delegate_) delegate_->textDidEndEditing(*this);
    return true;
}

void NSTextView::keyDown(NSEvent& event) {
    interpretKey(event.keyCode(), event.modifierFlags(), event.characters());
}

bool NSTextView::performAction(const std::string& selector, const void* sender) {
    const auto is = [&](Selector action) { return selector == action.name; };
    if (is(Selector::selectAll)) {
        selectAll(sender);
    } else if (is(Selector::cut)) {
        cut(sender);
    } else if (is(Selector::copy)) {
        copy(sender);
    } else if (is(Selector::paste)) {
        paste(sender);
    } else if (is(Selector::undo)) {
        undoManager_.undo();
    } else if (is(Selector::redo)) {
        undoManager_.redo();
    } else {
        return NSView::performAction(selector, sender);
    }
    return true;
}

void NSTextView::selectAll(const void*) {
    text_.selectAll();
    typing_ = false;
    setNeedsDisplay();
}

void NSTextView::copy(const void*) {
    if (!text_.hasSelection()) return;
    NSPasteboard& pasteboard = NSPasteboard::generalPasteboard();
    pasteboard.clearContents();
    pasteboard.setString(text_.selectedText(), NSPasteboardTypeString);
}

void NSTextView::cut(const void* sender) {
    if (!text_.hasSelection()) return;
    copy(sender);
    edit(false, [](EditedText& edited) {
        edited.replaceSelection("");
        return true;
    });
}

void NSTextView::paste(const void*) {
    const auto string = NSPasteboard::generalPasteboard().stringForType(NSPasteboardTypeString);
    if (!string) return;
    const std::string line = oneLine(*string);
    edit(false, [&](EditedText& edited) {
        if (line.empty() && !edited.hasSelection()) return false;
        edited.replaceSelection(line);
        return true;
    });
}

void NSTextView::edit(bool typing, const std::function<bool(EditedText&)>& change) {
    const EditedText::Snapshot before = text_.snapshot();
    if (!change(text_)) return;
    if (allowsUndo_ && !(typing && typing_)) {
        undoManager_.registerUndo([this, before] { restore(before); });
    }
    typing_ = typing;
    changed();
}

void NSTextView::restore(const EditedText::Snapshot& snapshot) {
    const EditedText::Snapshot now = text_.snapshot();
    text_.restore(snapshot);
    typing_ = false;
    undoManager_.registerUndo([this, now] { restore(now); });
    changed();
}

void NSTextView::changed() {
    setNeedsDisplay();
    if (delegate_) delegate_->textDidChange(*this);
}
