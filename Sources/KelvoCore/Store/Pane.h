#pragma once

#include <compare>
#include <cstdint>

namespace kelvo {

/// The key of one layout tree: one desktop on one display.
struct Pane {
    int desktop = 0;
    std::uint32_t display = 0;

    /// Desktop first, then display: the order in which panes are listed and saved.
    auto operator<=>(const Pane&) const = default;
};

}  // namespace kelvo
