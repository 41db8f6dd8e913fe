#include "Platform/SwiftUI/EnvironmentValues.h"

#include <functional>

namespace SwiftUI {

namespace {

std::size_t combined(std::size_t parent, std::size_t component) {
    return (parent ^ (component + 0x9e3779b97f4a7c15ULL + (parent << 6) + (parent >> 2))) *
               0x100000001b3ULL +
           1;
}

}  // namespace

EnvironmentValues EnvironmentValues::child(std::size_t position) const {
    EnvironmentValues copy = *this;
    copy.pathHash = childPath(pathHash, position);
    return copy;
}

std::size_t EnvironmentValues::childPath(std::size_t parentPath, std::size_t position) {
    return combined(parentPath, position);
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
