#include "Base/Foundation/FileManager.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace fs = std::filesystem;

FileManager& FileManager::defaultManager() {
    static FileManager manager;
    return manager;
}

fs::path FileManager::homeDirectoryForCurrentUser() const {
    return homeDirectory();
}

std::vector<fs::path> FileManager::urls(SearchPathDirectory directory, SearchPathDomainMask) const {
    const fs::path home = homeDirectoryForCurrentUser();
    switch (directory) {
        case SearchPathDirectory::libraryDirectory:
            return {home / "Library"};
        case SearchPathDirectory::desktopDirectory:
            return {home / "Desktop"};
    }
    return {};
}

bool FileManager::fileExists(const fs::path& path) const {
    struct stat status {};
    return lstat(path.c_str(), &status) == 0;
}

void FileManager::createDirectory(const fs::path& path, bool withIntermediateDirectories) const {
    std::error_code error;
    if (!withIntermediateDirectories) {
        if (!fs::create_directory(path, error)) {
            throw FileError::writing(path, error ? error.value() : EEXIST);
        }
        return;
    }
    fs::create_directories(path, error);
    if (error) throw FileError::creatingFolder(path, error.value());
    if (!fs::is_directory(path, error)) throw FileError::creatingFolder(path, ENOTDIR);
}

bool FileManager::createFile(const fs::path& path, std::string_view contents) const {
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (descriptor < 0) return false;
    const bool written = writeAll(descriptor, contents) == 0;
    return close(descriptor) == 0 && written;
}

std::optional<std::uint64_t> FileManager::fileSize(const fs::path& path) const {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(status.st_size);
}

void FileManager::removeItem(const fs::path& path) const {
    std::error_code error;
    if (fs::remove_all(path, error) == 0 || error) {
        throw FileError::writing(path, error ? error.value() : ENOENT);
    }
}

void FileManager::moveItem(const fs::path& from, const fs::path& to) const {
    if (fileExists(to)) throw FileError::writing(to, EEXIST);
    if (rename(from.c_str(), to.c_str()) != 0) throw FileError::writing(from, errno);
}

void FileManager::copyItem(const fs::path& from, const fs::path& to) const {
    if (!fileExists(from)) throw FileError::reading(from, ENOENT);
    if (fileExists(to)) throw FileError::writing(to, EEXIST);
    std::error_code error;
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::copy_symlinks, error);
    if (error) {
        std::error_code ignored;
        fs::remove_all(to, ignored);
        throw FileError::writing(to, error.value());
    }
}

std::vector<fs::path> FileManager::contentsOfDirectory(const fs::path& path) const {
    std::error_code error;
    std::vector<fs::path> listed;
    for (fs::directory_iterator entry(path, error); !error && entry != fs::directory_iterator();
         entry.increment(error)) {
        listed.push_back(entry->path());
    }
    if (error) throw FileError::reading(path, error.value());
    std::sort(listed.begin(), listed.end());
    return listed;
}

std::optional<Date> FileManager::contentModificationDate(const fs::path& path) const {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) return std::nullopt;
    constexpr double nanosecondsPerSecond = 1e9;
    return Date{static_cast<double>(status.st_mtim.tv_sec) +
                static_cast<double>(status.st_mtim.tv_nsec) / nanosecondsPerSecond};
}
