#pragma once

#include <algorithm>
#include <array>
#include <optional>
#include <string>

namespace kelvo {

/// One case of a payload-free variant with its raw value and the clause the logs give for it.
template <class Case>
struct CaseText {
    Case value;
    const char* raw;
    const char* explanation;
};

/// The entry of a case; every case has one, since the tables list each case in order.
template <class Case, std::size_t N>
const CaseText<Case>& caseText(const std::array<CaseText<Case>, N>& table, Case value) {
    return *std::find_if(table.begin(), table.end(),
                         [&](const CaseText<Case>& entry) { return entry.value == value; });
}

/// Exact, case-sensitive raw values only.
template <class Case, std::size_t N>
std::optional<Case> caseFromRaw(const std::array<CaseText<Case>, N>& table,
                                const std::string& raw) {
    for (const CaseText<Case>& entry : table) {
        if (raw == entry.raw) return entry.value;
    }
    return std::nullopt;
}

}  // namespace kelvo
