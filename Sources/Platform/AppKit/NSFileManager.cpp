#include "Platform/AppKit/NSFileManager.h"

#include <algorithm>
#include <system_error>

#include "Base/Foundation/FileManager.h"
#include "Simulator/PlatformDefaults.h"
#include "Simulator/SharedConnection.h"

namespace {

bool showsAllExtensions() {
    const auto value = sim::SharedConnection::current()->copyPreference(
        sim::PlatformDefaults::globalPreferenceDomain, "AppleShowAllExtensions");
    if (!value) return false;
    using Kind = sim::PreferenceData::Kind;
    return (value->kind == Kind::boolean && value->boolean) ||
           (value->kind == Kind::integer && value->integer != 0);
}

}  // namespace

NSFileManager& NSFileManager::defaultManager() {
    static NSFileManager manager;
    return manager;
}

std::filesystem::path NSFileManager::URLForSystemPath(const std::string& absolute) const {
    std::filesystem::path root = sim::SharedConnection::current()->fileSystemRoot();
    if (root.empty()) root = "/";
    return root / std::filesystem::path(absolute).relative_path();
}

std::filesystem::path NSFileManager::homeDirectoryForCurrentUser() const {
    return FileManager::defaultManager().homeDirectoryForCurrentUser();
}

std::optional<std::vector<std::filesystem::path>> NSFileManager::contentsOfDirectoryAtURL(
    const std::filesystem::path& url, NSDirectoryEnumerationOptions options) const {
    std::error_code error;
    std::filesystem::directory_iterator it(url, error);
    if (error) return std::nullopt;
    std::vector<std::filesystem::path> found;
    for (const std::filesystem::directory_iterator end; it != end; it.increment(error)) {
        if (error) return std::nullopt;
        const std::string name = it->path().filename().string();
        if ((options & NSDirectoryEnumerationSkipsHiddenFiles) && name.starts_with('.')) continue;
        found.push_back(it->path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::optional<bool> NSFileManager::isDirectoryResourceValue(
    const std::filesystem::path& url) const {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(url, error);
    if (error || status.type() == std::filesystem::file_type::not_found) return std::nullopt;
    return status.type() == std::filesystem::file_type::directory;
}

std::string NSFileManager::displayNameAtPath(const std::filesystem::path& path) const {
    const std::filesystem::path name =
        path.filename().empty() ? path.parent_path().filename() : path.filename();
    if (name.extension() == ".app" && !showsAllExtensions()) return name.stem().string();
    return name.string();
}
