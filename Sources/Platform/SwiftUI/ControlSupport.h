#pragma once

#include <functional>

#include "Platform/SwiftUI/Color.h"
#include "Platform/SwiftUI/LayoutNode.h"
#include "Platform/SwiftUI/View.h"

namespace SwiftUI {

/// The colours of the controls' dark look.
struct ControlColors {
    static Color fill() { return Color::white().opacity(0.1); }
    static Color raisedFill() { return Color::white().opacity(0.16); }
    static Color selectedFill() { return Color::white().opacity(0.24); }
    static Color edge() { return Color::white().opacity(0.12); }
    static Color text() { return Color::white().opacity(0.88); }
    static Color placeholder() { return Color::white().opacity(0.35); }
    static Color knob() { return Color::gray(0.92); }
    /// How much a disabled control keeps of its opacity.
    static constexpr double disabledOpacity = 0.5;
};

/// What a control does with a click: the point, and the control's frame when it was laid out.
using ControlClick =
    std::function<void(CGPoint point, const CGRect& frame, const EnvironmentValues& environment)>;

/// `look` as a control: dimmed when disabled, reporting `element`, taking clicks on its whole
/// frame. `finish` may change the node once it is laid out (its label from the texts inside).
View control(const View& look, AccessibilityElement element, ControlClick click,
             std::function<void(LayoutNode&)> finish = nullptr);

/// A small chevron pointing up or down, drawn as an open path in `rect`.
View chevron(bool up, const Color& color);

}  // namespace SwiftUI
