#include "Simulator/ApplicationFolders.h"

#include <algorithm>

#include "Base/Foundation/FileManager.h"

namespace sim {

namespace {

bool isBundleName(const std::filesystem::path& path) {
    return path.extension() == ".app";
}

/// The entries of a folder by name; empty when it cannot be listed.
std::vector<std::filesystem::path> entries(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> found;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!name.empty() && name.front() != '.') found.push_back(it->path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace

std::filesystem::path ApplicationFolders::onDisk(const std::string& absolute) const {
    return root_ / std::filesystem::path(absolute).relative_path();
}

std::vector<std::filesystem::path> ApplicationFolders::folders() const {
    return {onDisk("/Applications"),
            FileManager::defaultManager().homeDirectoryForCurrentUser() / "Applications",
            onDisk("/System/Applications")};
}

std::optional<ApplicationBundle> ApplicationFolders::locate(const std::string& bundleID) const {
    auto matching = [&](const std::filesystem::path& item) -> std::optional<ApplicationBundle> {
        if (!isBundleName(item)) return std::nullopt;
        auto bundle = ApplicationBundle::read(item);
        if (bundle && bundle->bundleID == bundleID) return bundle;
        return std::nullopt;
    };
    for (const auto& folder : folders()) {
        for (const auto& item : entries(folder)) {
            if (auto bundle = matching(item)) return bundle;
            std::error_code error;
            if (isBundleName(item) || !std::filesystem::is_directory(item, error)) continue;
            for (const auto& inner : entries(item)) {
                if (auto bundle = matching(inner)) return bundle;
            }
        }
    }
    return std::nullopt;
}

}  // namespace sim
