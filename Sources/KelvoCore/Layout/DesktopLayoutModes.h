#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Base/JSON/JSONCoding.h"
#include "KelvoCore/Layout/LayoutMode.h"

namespace kelvo {

/// The desktops whose layout mode was set explicitly; every other desktop uses the default.
struct DesktopLayoutModes {
    /// The desktop numbers that reading a file accepts as keys.
    static constexpr int firstDesktop = 1;
    static constexpr int lastDesktop = 9;

    std::map<int, LayoutMode> modes;

    static DesktopLayoutModes none() { return DesktopLayoutModes{}; }

    bool isEmpty() const { return modes.empty(); }
    /// The desktop numbers with an entry, ascending.
    std::vector<int> desktops() const;
    std::optional<LayoutMode> operator[](int desktop) const;
    /// Stores any desktop number; none removes the entry.
    void set(int desktop, std::optional<LayoutMode> mode);

    /// A key as reading accepts it: an optional sign and one or more ASCII digits, nothing
    /// else, within the range of int.
    static std::optional<int> parseDesktopKey(const std::string& key);

    bool operator==(const DesktopLayoutModes&) const = default;
};

/// Written as `{"1":"masterStack","4":"bsp"}`; reading never fails and drops damage entry by
/// entry (a key that is no number from 1 to 9, a value that is no mode).
template <>
struct JSONCoding<DesktopLayoutModes> {
    static JSONValue encode(const DesktopLayoutModes& modes);
    static DesktopLayoutModes decode(const JSONNode& node);
};

}  // namespace kelvo
