#include "Platform/AppKit/EditedText.h"

#include <algorithm>

#include "Base/Text/UnicodeText.h"

namespace {

/// UTF-16 code units of one UTF-8 sequence led by `lead`: two for the four-byte forms (beyond
/// the basic plane), one otherwise; continuation bytes count none.
std::size_t utf16Units(unsigned char lead) {
    if ((lead & 0xC0) == 0x80) return 0;
    return lead >= 0xF0 ? 2 : 1;
}

}  // namespace

void EditedText::setText(std::string text) {
    text_ = std::move(text);
    boundaries_ = kelvo::UnicodeText::characterBoundaries(text_);
    anchor_ = caret_ = text_.size();
}

std::size_t EditedText::utf16Length(std::size_t bytes) const {
    std::size_t units = 0;
    for (std::size_t i = 0; i < std::min(bytes, text_.size()); ++i)
        units += utf16Units(static_cast<unsigned char>(text_[i]));
    return units;
}

std::size_t EditedText::byteOffset(std::size_t utf16) const {
    std::size_t found = 0;
    for (const std::size_t boundary : boundaries_) {
        if (utf16Length(boundary) > utf16) break;
        found = boundary;
    }
    return found;
}

NSRange EditedText::selectedRange() const {
    const std::size_t start = utf16Length(selectionStart());
    return NSRange{start, utf16Length(selectionEnd()) - start};
}

void EditedText::setSelectedRange(NSRange range) {
    anchor_ = byteOffset(range.location);
    const std::size_t end = byteOffset(range.end());
    // An end inside a character takes the whole character.
    caret_ = utf16Length(end) < range.end() ? nextBoundary(end) : end;
}

std::string EditedText::selectedText() const {
    return text_.substr(selectionStart(), selectionEnd() - selectionStart());
}

void EditedText::replaceSelection(const std::string& text) {
    const std::size_t start = selectionStart();
    text_.replace(start, selectionEnd() - start, text);
    boundaries_ = kelvo::UnicodeText::characterBoundaries(text_);
    // The inserted text may join the character before it (a combining accent): the caret
    // lands on the first boundary at or after the insertion's end.
    const std::size_t end = start + text.size();
    const auto at = std::lower_bound(boundaries_.begin(), boundaries_.end(), end);
    anchor_ = caret_ = at == boundaries_.end() ? text_.size() : *at;
}

bool EditedText::deleteBackward() {
    if (!hasSelection()) {
        if (caret_ == 0) return false;
        anchor_ = previousBoundary(caret_);
    }
    replaceSelection("");
    return true;
}

bool EditedText::deleteForward() {
    if (!hasSelection()) {
        if (caret_ == text_.size()) return false;
        anchor_ = nextBoundary(caret_);
    }
    replaceSelection("");
    return true;
}

void EditedText::moveLeft(bool extend) {
    if (!extend && hasSelection()) {
        anchor_ = caret_ = selectionStart();
        return;
    }
    placeCaret(previousBoundary(caret_), extend);
}

void EditedText::moveRight(bool extend) {
    if (!extend && hasSelection()) {
        anchor_ = caret_ = selectionEnd();
        return;
    }
    placeCaret(nextBoundary(caret_), extend);
}

void EditedText::moveToStart(bool extend) {
    placeCaret(0, extend);
}

void EditedText::moveToEnd(bool extend) {
    placeCaret(text_.size(), extend);
}

void EditedText::selectAll() {
    anchor_ = 0;
    caret_ = text_.size();
}

void EditedText::restore(const Snapshot& snapshot) {
    text_ = snapshot.text;
    boundaries_ = kelvo::UnicodeText::characterBoundaries(text_);
    anchor_ = std::min(snapshot.anchor, text_.size());
    caret_ = std::min(snapshot.caret, text_.size());
}

void EditedText::placeCaret(std::size_t offset, bool extend) {
    caret_ = offset;
    if (!extend) anchor_ = offset;
}

std::size_t EditedText::previousBoundary(std::size_t offset) const {
    const auto at = std::lower_bound(boundaries_.begin(), boundaries_.end(), offset);
    return at == boundaries_.begin() ? 0 : *std::prev(at);
}

std::size_t EditedText::nextBoundary(std::size_t offset) const {
    const auto at = std::upper_bound(boundaries_.begin(), boundaries_.end(), offset);
    return at == boundaries_.end() ? text_.size() : *at;
}
