#include <algorithm>
#include <cmath>

#include "Base/Text/DecimalText.h"
#include "Platform/SwiftUI/ControlSupport.h"
#include "Platform/SwiftUI/Controls.h"
#include "Platform/SwiftUI/Shape.h"

namespace SwiftUI {

namespace {

struct SwitchLook {
    static constexpr CGFloat width = 38;
    static constexpr CGFloat height = 22;
    static constexpr CGFloat knobInset = 2;
};

struct SliderLook {
    static constexpr CGFloat height = 20;
    static constexpr CGFloat knob = 16;
    static constexpr CGFloat track = 4;
    static constexpr CGFloat idealWidth = 100;
};

/// `value` on the slider's steps and within its range.
double settle(double value, double lower, double upper, std::optional<double> step) {
    if (!(upper > lower)) return lower;
    if (std::isnan(value)) value = lower;
    value = std::clamp(value, lower, upper);
    if (step && *step > 0 && std::isfinite(*step)) {
        value = lower + std::round((value - lower) / *step) * *step;
        if (value > upper) value -= *step;
        value = std::clamp(value, lower, upper);
    }
    return value;
}

}  // namespace

View Toggle(const std::string& label, const Binding<bool>& isOn) {
    const bool on = isOn.get();
    const View track = EnvironmentReader([on](const EnvironmentValues& environment) {
        const View knob = Circle()
                              .fill(ControlColors::knob())
                              .frame(SwitchLook::height - 2 * SwitchLook::knobInset,
                                     SwitchLook::height - 2 * SwitchLook::knobInset)
                              .padding(SwitchLook::knobInset);
        return ZStack(on ? Alignment::trailing() : Alignment::leading(),
                      {Capsule().fill(on ? environment.tint : ControlColors::raisedFill()), knob})
            .frame(SwitchLook::width, SwitchLook::height);
    });
    const View switchControl = control(
        track, AccessibilityElement{"switch", label, on ? "1" : "0"},
        [isOn](CGPoint, const CGRect&, const EnvironmentValues&) { isOn.set(!isOn.get()); });
    if (label.empty()) return switchControl;
    return EnvironmentReader([label, switchControl](const EnvironmentValues& environment) {
        if (environment.labelsHidden) return switchControl;
        return HStack({Text(label), Spacer(), switchControl});
    });
}

View Slider(const Binding<double>& value, double lower, double upper, std::optional<double> step) {
    const double current = settle(value.get(), lower, upper, std::nullopt);
    const double fraction = upper > lower ? (current - lower) / (upper - lower) : 0;
    const View look =
        GeometryReader([fraction](const GeometryProxy& proxy) {
            const CGFloat travel = std::max(proxy.size.width - SliderLook::knob, 0.0);
            const CGFloat knobX = travel * fraction;
            return EnvironmentReader([=](const EnvironmentValues& environment) {
                return ZStack(Alignment::leading(),
                              {Capsule()
                                   .fill(ControlColors::raisedFill())
                                   .frame(std::nullopt, SliderLook::track),
                               Capsule()
                                   .fill(environment.tint)
                                   .frame(knobX + SliderLook::knob / 2, SliderLook::track),
                               Circle()
                                   .fill(ControlColors::knob())
                                   .frame(SliderLook::knob, SliderLook::knob)
                                   .offset(knobX, 0)});
            });
        })
            .frame(FlexibleFrame{.idealWidth = SliderLook::idealWidth, .maxWidth = infinity})
            .frame(std::nullopt, SliderLook::height);
    return control(
        look, AccessibilityElement{"slider", "", kelvo::DecimalText::withoutPointZero(current)},
        [value, lower, upper, step](CGPoint point, const CGRect& frame, const EnvironmentValues&) {
            const CGFloat travel = frame.width() - SliderLook::knob;
            const double at =
                travel > 0 ? (point.x - frame.minX() - SliderLook::knob / 2) / travel : 0;
            const double chosen =
                settle(lower + std::clamp(at, 0.0, 1.0) * (upper - lower), lower, upper, step);
            // A drag moves through each step once, however many moves it takes.
            if (chosen != value.get()) value.set(chosen);
        },
        // A press on the knob or the track, then a drag: the value follows the pointer.
        [](LayoutNode& node) { node.onDrag = node.onClick; });
}

View Stepper(const Binding<long long>& value, long long lower, long long upper, long long step) {
    constexpr CGFloat width = 13;
    constexpr CGFloat height = 22;
    const long long current = value.get();
    const View look = ZStack({RoundedRectangle(4).fill(ControlColors::raisedFill()),
                              VStack(HorizontalAlignment::center, 4,
                                     {chevron(true, ControlColors::text()).frame(6, 3),
                                      chevron(false, ControlColors::text()).frame(6, 3)})})
                          .frame(width, height);
    return control(
        look, AccessibilityElement{"stepper", "", std::to_string(current)},
        [value, lower, upper, step](CGPoint point, const CGRect& frame, const EnvironmentValues&) {
            const long long now = value.get();
            // At a bound the arrow that would leave the range does nothing.
            if (point.y < frame.midY()) {
                if (now < upper && upper - now >= step) value.set(now + step);
            } else if (now > lower && now - lower >= step) {
                value.set(now - step);
            }
        });
}

}  // namespace SwiftUI
