#pragma once

#include <array>
#include <cstddef>

namespace kelvo {

/// Every case of an enumeration whose `count` cases run from 0 up, in case order.
template <class Enum, std::size_t count>
constexpr std::array<Enum, count> allCasesOf() {
    std::array<Enum, count> cases{};
    for (std::size_t i = 0; i < count; ++i)
        cases[i] = static_cast<Enum>(i);
    return cases;
}

/// A vocabulary's table holds one row per case of its enumeration, in the enumeration's order,
/// so that a case finds its row by its position. True when row i names case i.
template <class Row, std::size_t count, class Enum>
constexpr bool inCaseOrder(const Row (&table)[count], Enum Row::*field) {
    for (std::size_t i = 0; i < count; ++i) {
        if (static_cast<std::size_t>(table[i].*field) != i) return false;
    }
    return true;
}

/// The row of one case, in a table that is in case order.
template <class Row, std::size_t count, class Enum>
constexpr const Row& caseRow(const Row (&table)[count], Enum value) {
    return table[static_cast<std::size_t>(value)];
}

}  // namespace kelvo
