#pragma once

#include <compare>
#include <cstdint>
#include <functional>
#include <string>

#include "Base/JSON/JSONCoding.h"

namespace kelvo {

/// The window server's number of a window: the one identifier of a window everywhere.
struct WindowID {
    std::uint32_t raw = 0;

    WindowID() = default;
    explicit constexpr WindowID(std::uint32_t r) : raw(r) {}

    /// "win#" and the decimal number, as log lines name windows.
    std::string description() const;

    auto operator<=>(const WindowID&) const = default;
};

template <>
struct JSONCoding<WindowID> {
    static JSONValue encode(const WindowID& id);
    static WindowID decode(const JSONNode& node);
};

}  // namespace kelvo

template <>
struct std::hash<kelvo::WindowID> {
    std::size_t operator()(const kelvo::WindowID& id) const noexcept {
        return std::hash<std::uint32_t>{}(id.raw);
    }
};
