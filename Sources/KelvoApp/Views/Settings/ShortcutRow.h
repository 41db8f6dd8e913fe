#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "KelvoCore/Bindings/KeyReference.h"
#include "Platform/SwiftUI/View.h"

namespace kelvo {

class SettingsModel;

/// One line of the shortcut list: a gap before a section, its heading, one of its shortcuts,
/// or the space after it.
struct ShortcutItem {
    enum class Kind { separator, heading, row, tail };

    Kind kind = Kind::heading;
    /// The section's title (all but rows).
    std::string title;
    /// The shortcut of a row.
    std::optional<KeyReference::Entry> entry;

    static ShortcutItem separator(std::string title) { return {Kind::separator, title, {}}; }
    static ShortcutItem heading(std::string title) { return {Kind::heading, title, {}}; }
    static ShortcutItem row(KeyReference::Entry entry) { return {Kind::row, {}, entry}; }
    static ShortcutItem tail(std::string title) { return {Kind::tail, title, {}}; }

    /// "sep.", "head." or "tail." and the title; a row's search id ("key." and its id), so
    /// that a found shortcut scrolls to and flashes its row.
    std::string id() const;

    bool operator==(const ShortcutItem&) const = default;
};

/// One line of the shortcut list as drawn.
struct ShortcutItemView {
    static constexpr CGFloat headingSize = 10;
    static constexpr CGFloat headingTracking = 1;
    static constexpr CGFloat tailHeight = 9;

    ShortcutItem item;
    SettingsModel& model;

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }
};

/// The click target that shows a shortcut's caps, or that it is being recorded.
struct ShortcutField {
    static constexpr CGFloat spacing = 5;
    static constexpr CGFloat textSize = 11.5;
    static constexpr CGFloat cornerRadius = 7;

    std::vector<std::vector<std::string>> caps;
    bool recording = false;
    std::function<void()> action;

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }
};

/// A shortcut: its glyph, its keys (editable with unbind and reset buttons, or fixed caps) and
/// what it does.
struct ShortcutRow {
    static constexpr CGFloat spacing = 13;
    static constexpr CGFloat horizontalInset = 16;
    static constexpr CGFloat verticalInset = 6;
    static constexpr CGFloat keysWidth = 182;
    static constexpr CGFloat buttonsWidth = 40;
    static constexpr CGFloat buttonSize = 12;
    static constexpr double fadedOpacity = 0.25;

    KeyReference::Entry entry;
    SettingsModel& model;

    /// The row's shortcut is being recorded.
    bool isRecording() const;
    /// The unbind and reset buttons of the shortcut.
    SwiftUI::View buttons(Shortcut shortcut) const;

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }

  private:
    SwiftUI::View glyph() const;
    SwiftUI::View keys() const;
};

}  // namespace kelvo
