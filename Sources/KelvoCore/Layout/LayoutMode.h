#pragma once

#include <array>
#include <optional>
#include <string>

#include "Base/JSON/JSONCoding.h"

namespace kelvo {

/// `bsp`: a tree of two-way splits. `masterStack`: one main window, the rest stacked beside it.
enum class LayoutMode { bsp, masterStack };

namespace layout_mode {
inline constexpr std::array<LayoutMode, 2> allCases = {LayoutMode::bsp, LayoutMode::masterStack};
}

std::string rawValue(LayoutMode mode);
/// The title people see: "Split" or "Master & stack".
std::string title(LayoutMode mode);
/// The opposite mode: what the layout-mode toggle switches to.
LayoutMode other(LayoutMode mode);
/// Exact raw values only; a title or any other text gives none.
std::optional<LayoutMode> layoutModeFromRawValue(const std::string& raw);

template <>
struct JSONCoding<LayoutMode> {
    static JSONValue encode(LayoutMode mode);
    /// dataCorrupted for a string that is not a raw value.
    static LayoutMode decode(const JSONNode& node);
};

}  // namespace kelvo
