#pragma once

#include <functional>
#include <string>

namespace kelvo {

/// Another application as the settings window lists it: identified by its bundle identifier.
struct AppEntry {
    std::string bundleID;
    std::string name;

    const std::string& id() const { return bundleID; }
    bool operator==(const AppEntry&) const = default;
};

}  // namespace kelvo

template <>
struct std::hash<kelvo::AppEntry> {
    std::size_t operator()(const kelvo::AppEntry& entry) const noexcept {
        const std::size_t first = std::hash<std::string>{}(entry.bundleID);
        return first ^ (std::hash<std::string>{}(entry.name) + 0x9e3779b97f4a7c15ULL +
                        (first << 6) + (first >> 2));
    }
};
