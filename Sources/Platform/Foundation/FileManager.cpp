#include "Platform/Foundation/FileManager.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

[[noreturn]] void fail(const char* what, const fs::path& path, int error = errno) {
    throw fs::filesystem_error(what, path, std::error_code(error, std::generic_category()));
}

// Writes every byte, across short writes and interruptions.
bool writeAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

fs::path temporarySibling(const fs::path& path) {
    static std::atomic<unsigned> counter{0};
    return path.parent_path() / ("." + path.filename().string() + ".tmp-" +
                                 std::to_string(getpid()) + "-" + std::to_string(counter++));
}

}  // namespace

FileManager& FileManager::defaultManager() {
    static FileManager manager;
    return manager;
}

fs::path FileManager::homeDirectoryForCurrentUser() const {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* account = getpwuid(getuid()); account && account->pw_dir) {
        return account->pw_dir;
    }
    return "/";
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
    std::error_code error;
    return fs::exists(path, error);
}

void FileManager::createDirectory(const fs::path& path, bool withIntermediateDirectories) const {
    if (withIntermediateDirectories) {
        fs::create_directories(path);  // throws when it cannot; an existing folder is fine
        if (!fs::is_directory(path)) fail("cannot create directory", path, EEXIST);
        return;
    }
    if (!fs::create_directory(path)) fail("cannot create directory", path, EEXIST);
}

bool FileManager::createFile(const fs::path& path, std::string_view contents) const {
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (descriptor < 0) return false;
    const bool written = writeAll(descriptor, contents);
    return close(descriptor) == 0 && written;
}

std::optional<std::uint64_t> FileManager::fileSize(const fs::path& path) const {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(status.st_size);
}

void FileManager::removeItem(const fs::path& path) const {
    if (fs::remove_all(path) == 0) fail("cannot remove", path, ENOENT);
}

void FileManager::moveItem(const fs::path& from, const fs::path& to) const {
    if (fileExists(to)) fail("cannot move", to, EEXIST);
    fs::rename(from, to);
}

std::string FileManager::contents(const fs::path& path) const {
    std::ifstream file(path, std::ios::binary);
    if (!file) fail("cannot read", path);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    if (file.bad()) fail("cannot read", path, EIO);
    return std::move(bytes).str();
}

void FileManager::writeAtomically(const fs::path& path, std::string_view bytes) const {
    const fs::path temporary = temporarySibling(path);
    const int descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0) fail("cannot write", path);
    struct stat existing {};
    const bool keepMode = stat(path.c_str(), &existing) == 0;
    const bool written = writeAll(descriptor, bytes) &&
                         (!keepMode || fchmod(descriptor, existing.st_mode & 07777) == 0) &&
                         fsync(descriptor) == 0;
    const int writeError = errno;
    const bool closed = close(descriptor) == 0;
    if (!written || !closed || rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = !written ? writeError : errno;
        unlink(temporary.c_str());
        fail("cannot write", path, error);
    }
}
