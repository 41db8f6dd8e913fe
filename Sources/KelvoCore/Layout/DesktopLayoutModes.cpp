#include "KelvoCore/Layout/DesktopLayoutModes.h"

#include <charconv>

namespace kelvo {

std::vector<int> DesktopLayoutModes::desktops() const {
    std::vector<int> numbers;
    for (const auto& [desktop, mode] : modes)
        numbers.push_back(desktop);
    return numbers;
}

std::optional<LayoutMode> DesktopLayoutModes::operator[](int desktop) const {
    auto it = modes.find(desktop);
    if (it == modes.end()) return std::nullopt;
    return it->second;
}

void DesktopLayoutModes::set(int desktop, std::optional<LayoutMode> mode) {
    if (mode) {
        modes[desktop] = *mode;
    } else {
        modes.erase(desktop);
    }
}

std::optional<int> DesktopLayoutModes::parseDesktopKey(const std::string& key) {
    std::size_t start = 0;
    bool negative = false;
    if (!key.empty() && (key[0] == '+' || key[0] == '-')) {
        negative = key[0] == '-';
        start = 1;
    }
    if (start == key.size()) return std::nullopt;
    for (std::size_t i = start; i < key.size(); ++i) {
        if (key[i] < '0' || key[i] > '9') return std::nullopt;
    }
    // Parse the digits with the sign in front so that the most negative int still fits.
    std::string digits = key.substr(start);
    if (negative) digits.insert(digits.begin(), '-');
    int value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

JSONValue JSONCoding<DesktopLayoutModes>::encode(const DesktopLayoutModes& modes) {
    JSONValue object = JSONValue::object();
    for (const auto& [desktop, mode] : modes.modes) {
        object[std::to_string(desktop)] = encodeJSON(mode);
    }
    return object;
}

DesktopLayoutModes JSONCoding<DesktopLayoutModes>::decode(const JSONNode& node) {
    DesktopLayoutModes result;
    if (!node.isObject()) return result;
    for (const std::string& key : node.keys()) {
        auto desktop = DesktopLayoutModes::parseDesktopKey(key);
        if (!desktop || *desktop < DesktopLayoutModes::firstDesktop ||
            *desktop > DesktopLayoutModes::lastDesktop) {
            continue;
        }
        const JSONValue& value = node.value()[key];
        if (!value.is_string()) continue;
        if (auto mode = layoutModeFromRawValue(value.get<std::string>())) {
            result.modes[*desktop] = *mode;
        }
    }
    return result;
}

}  // namespace kelvo
