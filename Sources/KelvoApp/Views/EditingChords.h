#pragma once

#include <optional>
#include <string_view>

class NSTextView;

namespace kelvo {

/// The field editor's standard editing chords, which an application without an Edit menu has
/// to take itself: ⌘A, ⌘X, ⌘C, ⌘V (without shift), ⌘Z undoes and ⌘⇧Z redoes. `key` is the
/// key's character without modifiers, lower-cased. Whether the chord was taken; none for a key
/// that is no editing chord. Undo and redo are taken even with nothing to undo, but not by an
/// editor without an undo manager.
std::optional<bool> performEditingChord(NSTextView& editor, std::string_view key, bool shift,
                                        const void* sender);

}  // namespace kelvo
