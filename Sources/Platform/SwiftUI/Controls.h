#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Platform/SwiftUI/Binding.h"
#include "Platform/SwiftUI/Text.h"
#include "Platform/SwiftUI/View.h"

namespace SwiftUI {

// The controls, drawn in the dark look of the system's windows: each reports its element
// (role, label, value) and takes clicks where a person would click it. A disabled control
// (`disabled`, or an ancestor's) is dimmed and takes no clicks.

/// A button showing `label`, calling `action` when clicked (or its keyboard shortcut is
/// pressed). Its look comes from `buttonStyle` above it (bordered when none).
View Button(View label, std::function<void()> action);
View Button(const std::string& title, std::function<void()> action);

/// An on/off switch; a click anywhere on it flips the binding. An empty label shows the
/// switch alone.
View Toggle(const std::string& label, const Binding<bool>& isOn);

/// A horizontal slider over `lower` to `upper`: continuous without a step, else in multiples
/// of `step` from `lower`. A click on the track moves the value there.
View Slider(const Binding<double>& value, double lower, double upper,
            std::optional<double> step = std::nullopt);

/// Two arrows: the upper adds `step`, the lower takes it away, never leaving the range.
View Stepper(const Binding<long long>& value, long long lower, long long upper, long long step = 1);

enum class PickerStyle { segmented, menu };

/// One choice of a picker: a title, or a divider between choices (menu style only).
struct PickerItem {
    std::string title = {};
    bool divider = false;
    static PickerItem separator() { return {"", true}; }
};

/// A picker over choices by position: segments side by side, or a pop-up button whose click
/// opens a menu of the titles. `selection` is the chosen position (none: no choice shown).
View PickerByIndex(const Binding<std::optional<std::size_t>>& selection,
                   std::vector<PickerItem> items, PickerStyle style);

/// A picker over values: the item whose value equals the selection is shown chosen.
template <class T>
View Picker(const Binding<T>& selection, const std::vector<std::pair<std::string, T>>& options,
            PickerStyle style, std::vector<std::size_t> dividersBefore = {}) {
    std::vector<PickerItem> items;
    std::vector<std::optional<T>> values;
    for (std::size_t i = 0; i < options.size(); ++i) {
        for (std::size_t at : dividersBefore)
            if (at == i) {
                items.push_back(PickerItem::separator());
                values.push_back(std::nullopt);
            }
        items.push_back({options[i].first});
        values.push_back(options[i].second);
    }
    Binding<std::optional<std::size_t>> index(
        [selection, values]() -> std::optional<std::size_t> {
            const T current = selection.get();
            for (std::size_t i = 0; i < values.size(); ++i)
                if (values[i] && *values[i] == current) return i;
            return std::nullopt;
        },
        [selection, values](const std::optional<std::size_t>& chosen) {
            if (chosen && *chosen < values.size() && values[*chosen])
                selection.set(*values[*chosen]);
        });
    return PickerByIndex(index, std::move(items), style);
}

/// A one-line text field: its text follows the binding; a click gives it the keys.
View TextField(const std::string& placeholder, const Binding<std::string>& text);

/// A colour well: a swatch whose click opens the desktop's colour panel; the picked colour
/// is written to the binding.
View ColorPicker(const std::string& label, const Binding<Color>& selection);

/// A menu button in the borderless style: its label, and on a click a menu of the items;
/// choosing one calls its action. An item without an action is shown disabled.
struct MenuItem {
    std::string title = {};
    std::function<void()> action = nullptr;
};
View Menu(const std::string& label, std::vector<MenuItem> items);

}  // namespace SwiftUI
