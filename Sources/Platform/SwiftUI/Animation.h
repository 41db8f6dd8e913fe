#pragma once

namespace SwiftUI {

/// A timing curve over a duration, in seconds on the runtime's clock.
struct Animation {
    enum class Curve { linear, easeIn, easeOut, easeInOut };
    Curve curve = Curve::easeInOut;
    double duration = 0.35;
    bool operator==(const Animation&) const = default;

    static Animation linear(double duration) { return {Curve::linear, duration}; }
    static Animation easeIn(double duration) { return {Curve::easeIn, duration}; }
    static Animation easeOut(double duration) { return {Curve::easeOut, duration}; }
    static Animation easeInOut(double duration) { return {Curve::easeInOut, duration}; }

    /// How far along the change is `elapsed` seconds after it began, from 0 to 1.
    double progress(double elapsed) const;
};

}  // namespace SwiftUI
