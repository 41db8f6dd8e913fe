#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class SearchPathDirectory { libraryDirectory, desktopDirectory };
enum class SearchPathDomainMask { userDomainMask };

/// Files and the user's folders. Failures throw `std::filesystem::filesystem_error`, which
/// carries the system's reason and the path.
class FileManager {
  public:
    static FileManager& defaultManager();

    /// `HOME` when it is set and not empty, else the account's home folder, else "/".
    std::filesystem::path homeDirectoryForCurrentUser() const;
    /// The user's Library or Desktop folder inside the home folder.
    std::vector<std::filesystem::path> urls(SearchPathDirectory directory,
                                            SearchPathDomainMask domain) const;

    bool fileExists(const std::filesystem::path& path) const;
    /// With intermediate folders, an existing folder is no failure.
    void createDirectory(const std::filesystem::path& path, bool withIntermediateDirectories) const;
    /// Creates or truncates the file with `contents`; false when that fails.
    bool createFile(const std::filesystem::path& path, std::string_view contents = {}) const;
    /// The size the file's attributes report, or none when they cannot be read.
    std::optional<std::uint64_t> fileSize(const std::filesystem::path& path) const;
    void removeItem(const std::filesystem::path& path) const;
    void moveItem(const std::filesystem::path& from, const std::filesystem::path& to) const;
    /// The whole file.
    std::string contents(const std::filesystem::path& path) const;
    /// Replaces the file so that a reader sees either the old or the whole new content: the
    /// bytes go to a temporary file in the same folder, reach the disk, and are renamed over
    /// the file. An existing file's permissions are kept. On failure the file is unchanged.
    void writeAtomically(const std::filesystem::path& path, std::string_view bytes) const;
};
