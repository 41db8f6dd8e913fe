#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Platform/SwiftUI/Binding.h"
#include "Platform/SwiftUI/Color.h"
#include "Platform/SwiftUI/Controls.h"
#include "Platform/SwiftUI/View.h"

// The small controls at the trailing end of a setting row. Each shows its binding's value as
// it is now and writes every change straight through it.

namespace kelvo {

/// An on/off switch without a label.
struct Switch {
    SwiftUI::Binding<bool> isOn;

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }
};

/// A whole number and a stepper that never leaves the range.
struct Counter {
    static constexpr CGFloat spacing = 10;
    static constexpr CGFloat numberSize = 15;
    static constexpr CGFloat numberWidth = 18;

    SwiftUI::Binding<long long> value;
    long long lower = 0;
    long long upper = 0;

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }
};

/// Segments side by side, one per option, titled by `title`.
template <class Value>
struct Segmented {
    SwiftUI::Binding<Value> selection;
    std::vector<Value> options;
    std::function<std::string(const Value&)> title;

    SwiftUI::View body() const {
        std::vector<std::pair<std::string, Value>> items;
        for (const Value& option : options)
            items.emplace_back(title(option), option);
        return SwiftUI::Picker(selection, items, SwiftUI::PickerStyle::segmented).labelsHidden();
    }
    operator SwiftUI::View() const { return body(); }
};

/// A pop-up menu of titled options, with dividers before the positions given.
template <class Value>
struct Choice {
    SwiftUI::Binding<Value> selection;
    std::vector<std::pair<std::string, Value>> options;
    std::vector<std::size_t> dividersBefore = {};

    SwiftUI::View body() const {
        return SwiftUI::Picker(selection, options, SwiftUI::PickerStyle::menu, dividersBefore)
            .labelsHidden();
    }
    operator SwiftUI::View() const { return body(); }
};

/// A slider with the value's readout beside it, recomputed on every change.
struct ValueSlider {
    static constexpr CGFloat spacing = 12;
    static constexpr CGFloat sliderWidth = 150;
    static constexpr CGFloat readoutSize = 12;
    static constexpr CGFloat readoutWidth = 46;

    SwiftUI::Binding<double> value;
    double lower = 0;
    double upper = 1;
    /// None: continuous.
    std::optional<double> step = std::nullopt;
    std::function<std::string(double)> readout;

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }
};

/// A colour well over a "#RRGGBB" text: shows the text normalised (white's when it is no
/// colour) and stores a picked colour as "#" and six upper-case digits.
struct ColorWell {
    static constexpr CGFloat spacing = 12;
    static constexpr CGFloat textSize = 11.5;

    SwiftUI::Binding<std::string> hex;

    /// The colour the well shows for the text.
    static SwiftUI::Color colour(const std::string& hex);
    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }
};

/// A push button.
struct Action {
    std::string title;
    std::function<void()> act;

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }
};

/// A read-only text: prominent in a monospaced medium face, else small and plain.
struct Readout {
    static constexpr CGFloat prominentSize = 12.5;
    static constexpr CGFloat plainSize = 11.5;

    std::string text;
    bool prominent = false;
    std::optional<SwiftUI::Color> tint = std::nullopt;

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }
};

/// A short tag in a faint capsule, after a row's title; never cut, however little room the
/// title line leaves.
struct EffectBadge {
    static constexpr CGFloat textSize = 9.5;
    static constexpr CGFloat tracking = 0.3;
    static constexpr CGFloat horizontalInset = 6;
    static constexpr CGFloat verticalInset = 2.5;

    std::string text;

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }
};

}  // namespace kelvo
