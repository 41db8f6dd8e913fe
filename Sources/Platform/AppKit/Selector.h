#pragma once

#include <string_view>

/// An action message by name, as the responder chain and the text system send it
/// ("insertTab:", "moveUp:"); two are the same message when their names are.
struct Selector {
    std::string_view name;
    constexpr bool operator==(const Selector&) const = default;

    // The standard commands of text editing, which the key bindings turn keys into.
    static const Selector insertTab;
    static const Selector insertBacktab;
    static const Selector insertNewline;
    static const Selector cancelOperation;
    static const Selector moveUp;
    static const Selector moveDown;
    static const Selector moveLeft;
    static const Selector moveRight;
    static const Selector moveLeftAndModifySelection;
    static const Selector moveRightAndModifySelection;
    static const Selector moveToBeginningOfLine;
    static const Selector moveToEndOfLine;
    static const Selector moveToBeginningOfLineAndModifySelection;
    static const Selector moveToEndOfLineAndModifySelection;
    static const Selector deleteBackward;
    static const Selector deleteForward;
    // The editing actions, which reach a text view only as key equivalents or menu items.
    static const Selector selectAll;
    static const Selector cut;
    static const Selector copy;
    static const Selector paste;
    static const Selector undo;
    static const Selector redo;
};

inline constexpr Selector Selector::insertTab{"insertTab:"};
inline constexpr Selector Selector::insertBacktab{"insertBacktab:"};
inline constexpr Selector Selector::insertNewline{"insertNewline:"};
inline constexpr Selector Selector::cancelOperation{"cancelOperation:"};
inline constexpr Selector Selector::moveUp{"moveUp:"};
inline constexpr Selector Selector::moveDown{"moveDown:"};
inline constexpr Selector Selector::moveLeft{"moveLeft:"};
inline constexpr Selector Selector::moveRight{"moveRight:"};
inline constexpr Selector Selector::moveLeftAndModifySelection{"moveLeftAndModifySelection:"};
inline constexpr Selector Selector::moveRightAndModifySelection{"moveRightAndModifySelection:"};
inline constexpr Selector Selector::moveToBeginningOfLine{"moveToBeginningOfLine:"};
inline constexpr Selector Selector::moveToEndOfLine{"moveToEndOfLine:"};
inline constexpr Selector Selector::moveToBeginningOfLineAndModifySelection{
    "moveToBeginningOfLineAndModifySelection:"};
inline constexpr Selector Selector::moveToEndOfLineAndModifySelection{
    "moveToEndOfLineAndModifySelection:"};
inline constexpr Selector Selector::deleteBackward{"deleteBackward:"};
inline constexpr Selector Selector::deleteForward{"deleteForward:"};
inline constexpr Selector Selector::selectAll{"selectAll:"};
inline constexpr Selector Selector::cut{"cut:"};
inline constexpr Selector Selector::copy{"copy:"};
inline constexpr Selector Selector::paste{"paste:"};
inline constexpr Selector Selector::undo{"undo:"};
inline constexpr Selector Selector::redo{"redo:"};
