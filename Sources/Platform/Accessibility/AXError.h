#pragma once

#include <cstdint>

// The Accessibility interface's result codes.

using AXError = std::int32_t;

inline constexpr AXError kAXErrorSuccess = 0;
inline constexpr AXError kAXErrorFailure = -25200;
inline constexpr AXError kAXErrorIllegalArgument = -25201;
/// The element is gone (its window was closed, its application quit).
inline constexpr AXError kAXErrorInvalidUIElement = -25202;
inline constexpr AXError kAXErrorInvalidUIElementObserver = -25203;
/// The application did not answer within the messaging timeout.
inline constexpr AXError kAXErrorCannotComplete = -25204;
inline constexpr AXError kAXErrorAttributeUnsupported = -25205;
inline constexpr AXError kAXErrorActionUnsupported = -25206;
inline constexpr AXError kAXErrorNotificationUnsupported = -25207;
inline constexpr AXError kAXErrorNotImplemented = -25208;
inline constexpr AXError kAXErrorNotificationAlreadyRegistered = -25209;
inline constexpr AXError kAXErrorNotificationNotRegistered = -25210;
/// The process is not trusted for Accessibility.
inline constexpr AXError kAXErrorAPIDisabled = -25211;
inline constexpr AXError kAXErrorNoValue = -25212;
