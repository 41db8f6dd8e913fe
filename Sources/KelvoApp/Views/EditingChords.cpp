#include "KelvoApp/Views/EditingChords.h"

#include <utility>

#include "Platform/AppKit/NSTextView.h"

namespace kelvo {

std::optional<bool> performEditingChord(NSTextView& editor, std::string_view key, bool shift,
                                        const void* sender) {
    if (key == "z") {
        NSUndoManager* undo = editor.undoManager();
        if (!undo) return false;
        if (shift && undo->canRedo()) undo->redo();
        if (!shift && undo->canUndo()) undo->undo();
        return true;
    }
    if (shift) return std::nullopt;
    static constexpr std::pair<std::string_view, const char*> edits[] = {
        {"a", "selectAll:"}, {"x", "cut:"}, {"c", "copy:"}, {"v", "paste:"}};
    for (const auto& [letter, action] : edits) {
        if (key == letter) return editor.performAction(action, sender);
    }
    return std::nullopt;
}

}  // namespace kelvo
