#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The file manager's calls that depend on the machine rather than on the files alone: where
// the system's folders lie (below the folder the desktop names as the machine's root),
// listing a folder as the workspace's clients do, and the names the file viewer shows.
// Whole-file work is Base's `FileManager`.

using NSDirectoryEnumerationOptions = unsigned;
inline constexpr NSDirectoryEnumerationOptions NSDirectoryEnumerationSkipsPackageDescendants = 1
                                                                                               << 1;
inline constexpr NSDirectoryEnumerationOptions NSDirectoryEnumerationSkipsHiddenFiles = 1 << 2;

class NSFileManager {
  public:
    static NSFileManager& defaultManager();

    /// A folder of the machine by its absolute path ("/Applications"), where it lies on disk.
    std::filesystem::path URLForSystemPath(const std::string& absolute) const;
    std::filesystem::path homeDirectoryForCurrentUser() const;
    /// The folder's direct contents, ordered by name; none when it cannot be listed. Hidden
    /// files (their names start with ".") are left out when asked. A listing of direct contents
    /// never enters a package, whether asked or not.
    std::optional<std::vector<std::filesystem::path>> contentsOfDirectoryAtURL(
        const std::filesystem::path& url, NSDirectoryEnumerationOptions options) const;
    /// The item's is-directory resource value (a symbolic link is no folder); none when its
    /// resource values cannot be read.
    std::optional<bool> isDirectoryResourceValue(const std::filesystem::path& url) const;
    /// The name the file viewer shows: the last path component, without the extension of an
    /// application bundle unless the desktop shows every extension ("AppleShowAllExtensions").
    std::string displayNameAtPath(const std::filesystem::path& path) const;

  private:
    NSFileManager() = default;
};
