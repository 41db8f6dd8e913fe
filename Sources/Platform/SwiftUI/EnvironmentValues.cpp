#include "Platform/SwiftUI/EnvironmentValues.h"

#include <functional>

namespace SwiftUI {

EnvironmentValues EnvironmentValues::child(std::size_t position) const {
    EnvironmentValues copy = *this;
    copy.pathHash = childPath(pathHash, position);
    return copy;
}

EnvironmentValues EnvironmentValues::child(const std::string& component) const {
    EnvironmentValues copy = *this;
    // Named parts stay apart from positions: the hash of a name is never a small number.
    copy.pathHash = combined(pathHash, std::hash<std::string>()(component) | (1ULL << 63));
    return copy;
}

std::string EnvironmentValues::key(const char* purpose) const {
    return std::to_string(pathHash) + purpose;
}

}  // namespace SwiftUI
