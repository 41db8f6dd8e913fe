#pragma once

#include <functional>
#include <vector>

#include "KelvoCore/Settings/SettingEntry.h"
#include "KelvoCore/Settings/SettingsTab.h"
#include "Platform/SwiftUI/Binding.h"
#include "Platform/SwiftUI/View.h"

namespace kelvo {

class SettingsModel;

/// The strip across the top of the window, under the transparent title bar: the mark, or the
/// word when the mark could not be drawn.
struct TitleStrip {
    static constexpr CGFloat height = 30;
    static constexpr CGFloat markSize = 22;

    SwiftUI::View markOrWord() const;
    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }
};

/// One tab of the sidebar: its symbol and title, the accent while selected; ⌘ and its number
/// choose it.
struct TabButton {
    SettingsTab tab;
    /// From 0.
    int index = 0;
    bool selected = false;
    std::function<void()> choose;

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }
};

/// The search field and, while a query is typed, the drop-down of found settings hanging over
/// the tabs and the page.
struct SearchBar {
    static constexpr std::size_t maximumRows = 8;
    static constexpr CGFloat height = 32;
    static constexpr CGFloat dropdownWidth = 380;
    static constexpr CGFloat dropdownOffset = 44;

    SettingsModel& model;

    /// The first eight matches.
    std::vector<SettingEntry> rows() const;
    SwiftUI::View field() const;
    SwiftUI::View dropdown() const;
    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }

  private:
    SwiftUI::View keyHint() const;
};

/// The left column: the search, then one button per tab.
struct Sidebar {
    static constexpr CGFloat width = 196;
    static constexpr CGFloat spacing = 2;

    SwiftUI::Binding<SettingsTab> section;
    SettingsModel& model;

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }
};

/// The page's content height, reported upwards; the largest of several wins.
struct ContentHeightKey {
    using Value = CGFloat;
    static Value defaultValue() { return 0; }
    static void reduce(Value& value, Value next) { value = std::max(value, next); }
};

}  // namespace kelvo
