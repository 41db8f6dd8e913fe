#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "Platform/AppKit/NSRange.h"

/// The text a field editor edits, with its selection: an anchor that stays where the
/// selection began and a caret that moves. Both sit on boundaries of user-perceived characters
/// (byte offsets into the UTF-8 text), so a caret never splits a character; callers see ranges
/// in UTF-16 code units, as the text system gives them.
class EditedText {
  public:
    /// What undo puts back.
    struct Snapshot {
        std::string text;
        std::size_t anchor = 0;
        std::size_t caret = 0;
        bool operator==(const Snapshot&) const = default;
    };

    const std::string& text() const { return text_; }
    /// Replaces the whole text; the caret goes to its end.
    void setText(std::string text);
    NSRange selectedRange() const;
    /// Clamped to the text and widened to whole characters.
    void setSelectedRange(NSRange range);
    bool hasSelection() const { return anchor_ != caret_; }
    std::string selectedText() const;
    /// Byte offsets of the selection's ends, and of the caret.
    std::size_t selectionStart() const { return std::min(anchor_, caret_); }
    std::size_t selectionEnd() const { return std::max(anchor_, caret_); }
    std::size_t caret() const { return caret_; }

    /// Replaces the selection with `text`; the caret follows it.
    void replaceSelection(const std::string& text);
    /// Deletes the selection, or else the character before (after) the caret. False when there
    /// was nothing to delete.
    bool deleteBackward();
    bool deleteForward();
    /// One character to the left or right; without `extend` a selection collapses to its start
    /// (end) first.
    void moveLeft(bool extend);
    void moveRight(bool extend);
    void moveToStart(bool extend);
    void moveToEnd(bool extend);
    void selectAll();

    Snapshot snapshot() const { return {text_, anchor_, caret_}; }
    void restore(const Snapshot& snapshot);

    /// UTF-16 code units in the first `bytes` bytes of the text.
    std::size_t utf16Length(std::size_t bytes) const;

  private:
    void placeCaret(std::size_t offset, bool extend);
    std::size_t previousBoundary(std::size_t offset) const;
    std::size_t nextBoundary(std::size_t offset) const;
    /// The byte offset of a UTF-16 position, on a character boundary at or before it.
    std::size_t byteOffset(std::size_t utf16) const;

    std::string text_;
    std::vector<std::size_t> boundaries_{0};
    std::size_t anchor_ = 0;
    std::size_t caret_ = 0;
};
