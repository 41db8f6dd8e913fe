#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "Base/Foundation/Date.h"
#include "Base/Foundation/FileSystem.h"

enum class SearchPathDirectory { libraryDirectory, desktopDirectory };
enum class SearchPathDomainMask { userDomainMask };

/// Folders and files by the platform's names. Whole-file reads and atomic writes are
/// `readFile` and `writeAtomically` (FileSystem.h); failures here are `FileError` too.
class FileManager {
  public:
    static FileManager& defaultManager();

    /// `homeDirectory()`: `HOME` when set and not empty, else the account's home folder.
    std::filesystem::path homeDirectoryForCurrentUser() const;
    /// The user's Library or Desktop folder inside the home folder.
    std::vector<std::filesystem::path> urls(SearchPathDirectory directory,
                                            SearchPathDomainMask domain) const;

    bool fileExists(const std::filesystem::path& path) const;
    /// With intermediate folders an existing folder is no failure; a file in the way is.
    void createDirectory(const std::filesystem::path& path, bool withIntermediateDirectories) const;
    /// Creates or truncates the file with `contents`; false when that fails.
    bool createFile(const std::filesystem::path& path, std::string_view contents = {}) const;
    /// The size the file's attributes report, or none when they cannot be read.
    std::optional<std::uint64_t> fileSize(const std::filesystem::path& path) const;
    /// Removes a file, or a folder with everything in it.
    void removeItem(const std::filesystem::path& path) const;
    /// Fails when something already lies at `to`.
    void moveItem(const std::filesystem::path& from, const std::filesystem::path& to) const;
    /// Copies a file, or a folder with everything in it; fails when something already lies at
    /// `to` and leaves nothing there then.
    void copyItem(const std::filesystem::path& from, const std::filesystem::path& to) const;
    /// The entries of a folder (not of its sub-folders), ordered by name so that a listing is
    /// the same on every run.
    std::vector<std::filesystem::path> contentsOfDirectory(const std::filesystem::path& path) const;
    /// When the item's content last changed, or none when its attributes cannot be read.
    std::optional<Date> contentModificationDate(const std::filesystem::path& path) const;
};
