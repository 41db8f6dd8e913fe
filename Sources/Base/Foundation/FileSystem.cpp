#include "Base/Foundation/FileSystem.h"

#include "Base/Foundation/StaleTemporaryFiles.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <vector>

FileError::FileError(Code code, int posixError, std::filesystem::path path, const std::string& text)
    : std::runtime_error(text), code_(code), posixError_(posixError), path_(std::move(path)) {}

namespace {

FileError::Code codeFor(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return FileError::Code::noSuchFile;
        case EACCES:
        case EPERM:
        case EROFS:
            return FileError::Code::noPermission;
        case ENOSPC:
        case EDQUOT:
            return FileError::Code::outOfSpace;
        default:
            return FileError::Code::other;
    }
}

std::string quoted(const std::filesystem::path& path) {
    return "“" + path.filename().string() + "”";
}

/// The first of the folders leading to and including `folder` that exists but is no folder
/// (following symbolic links), or an empty path.
std::filesystem::path nonFolderAlong(const std::filesystem::path& folder) {
    std::filesystem::path prefix;
    for (const auto& component : folder) {
        prefix /= component;
        struct stat status {};
        if (::stat(prefix.c_str(), &status) != 0) break;
        if (!S_ISDIR(status.st_mode)) return prefix;
    }
    return {};
}

FileError readError(const std::filesystem::path& path, int error) {
    const auto code = codeFor(error);
    const std::string start = "The file " + quoted(path) + " couldn’t be opened";
    if (error == EISDIR) {
        return FileError(code, error, path,
                         quoted(path) + " couldn’t be opened because it is a folder, not a file.");
    }
    switch (code) {
        case FileError::Code::noSuchFile:
            return FileError(code, error, path, start + " because there is no such file.");
        case FileError::Code::noPermission:
            return FileError(code, error, path,
                             start + " because you don’t have permission to view it.");
        default:
            return FileError(code, error, path, start + ".");
    }
}

FileError writeError(const std::filesystem::path& path, int error) {
    const auto code = codeFor(error);
    const std::filesystem::path folder = path.parent_path();
    if (error == EISDIR) {
        return FileError(code, error, path,
                         "The file " + quoted(path) +
                             " couldn’t be saved because a folder of that name is in the way.");
    }
    if (const auto blocking = nonFolderAlong(folder); !blocking.empty()) {
        return FileError(code, error, path,
                         "The file " + quoted(path) + " couldn’t be saved because the file " +
                             quoted(blocking) + " is in the way.");
    }
    switch (code) {
        case FileError::Code::noSuchFile:
            return FileError(code, error, path, "The folder " + quoted(folder) + " doesn’t exist.");
        case FileError::Code::noPermission:
            return FileError(code, error, path,
                             "You don’t have permission to save the file " + quoted(path) +
                                 " in the folder " + quoted(folder) + ".");
        case FileError::Code::outOfSpace:
            return FileError(code, error, path,
                             "The file " + quoted(path) +
                                 " couldn’t be saved because there isn’t enough space.");
        default:
            return FileError(code, error, path, "The file " + quoted(path) + " couldn’t be saved.");
    }
}

/// Closes the descriptor when the scope ends, whichever way it ends.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    /// Closes now and reports the error close gave, 0 on success.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

  private:
    int fd_;
};

/// The replaced file keeps its permissions; a new one is readable by everyone and writable by
/// its owner (the temporary file starts as owner-only).
mode_t modeFor(const std::filesystem::path& path) {
    constexpr mode_t newFileMode = 0644;
    struct stat existing;
    if (::stat(path.c_str(), &existing) == 0) return existing.st_mode & 07777;
    return newFileMode;
}

}  // namespace

FileError FileError::reading(const std::filesystem::path& path, int posixError) {
    return readError(path, posixError);
}

FileError FileError::writing(const std::filesystem::path& path, int posixError) {
    return writeError(path, posixError);
}

FileError FileError::creatingFolder(const std::filesystem::path& path, int posixError) {
    const auto blocking = nonFolderAlong(path);
    if (blocking.empty()) return writeError(path, posixError);
    const std::string start = "The folder " + quoted(path) + " couldn’t be created because ";
    return FileError(
        codeFor(posixError), posixError, path,
        start + (blocking == path ? "a file of that name is in the way."
                                  : "the file " + quoted(blocking) + " is in the way."));
}

int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

std::string readFile(const std::filesystem::path& path) {
    return readFile(path, std::numeric_limits<std::uintmax_t>::max());
}

std::string readFile(const std::filesystem::path& path, std::uintmax_t largest) {
    const auto tooLarge = [&path, largest] {
        return FileError(FileError::Code::tooLarge, EFBIG, path,
                         "The file " + quoted(path) +
                             " couldn’t be opened because it is larger than " +
                             std::to_string(largest) + " bytes.");
    };
    // Without O_NONBLOCK opening a FIFO would wait for a writer that may never come.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) throw readError(path, errno);
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) throw readError(path, errno);
    if (S_ISDIR(status.st_mode)) throw readError(path, EISDIR);
    if (!S_ISREG(status.st_mode)) {
        throw FileError(
            FileError::Code::other, 0, path,
            "The file " + quoted(path) + " couldn’t be opened because it isn’t a regular file.");
    }
    if (static_cast<std::uintmax_t>(status.st_size) > largest) throw tooLarge();
    std::string content;
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const ssize_t count = ::read(fd.get(), buffer.data(), buffer.size());
        if (count < 0) {
            if (errno == EINTR) continue;
            throw readError(path, errno);
        }
        if (count == 0) break;
        content.append(buffer.data(), static_cast<std::size_t>(count));
        if (content.size() > largest) throw tooLarge();
    }
    return content;
}

namespace {

/// The temporary file of an atomic write of `name`: a dot, the name, a dot and six characters.
constexpr std::string_view temporarySuffix = ".XXXXXX";

std::string temporaryNameOf(const std::string& name) {
    return "." + name + std::string(temporarySuffix);
}

bool isTemporaryOf(const std::string& candidate, const std::string& name) {
    const std::string pattern = temporaryNameOf(name);
    if (candidate.size() != pattern.size()) return false;
    const std::size_t stem = pattern.size() - temporarySuffix.size() + 1;
    if (candidate.compare(0, stem, pattern, 0, stem) != 0) return false;
    return std::all_of(candidate.begin() + static_cast<std::ptrdiff_t>(stem), candidate.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
}

}  // namespace

int removeStaleTemporaryFiles(const std::filesystem::path& folder,
                              const std::vector<std::string>& fileNames, std::chrono::seconds age) {
    int removed = 0;
    std::error_code error;
    const auto now = std::filesystem::file_time_type::clock::now();
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string candidate = entry.path().filename().string();
        const bool ours = std::any_of(fileNames.begin(), fileNames.end(), [&](const auto& name) {
            return isTemporaryOf(candidate, name);
        });
        if (!ours || !entry.is_regular_file(error)) continue;
        const auto written = entry.last_write_time(error);
        if (error || now - written < age) continue;
        if (std::filesystem::remove(entry.path(), error)) ++removed;
    }
    return removed;
}

bool isSameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error)) return true;
    const auto placeOfA = std::filesystem::weakly_canonical(std::filesystem::absolute(a), error);
    if (error) return false;
    const auto placeOfB = std::filesystem::weakly_canonical(std::filesystem::absolute(b), error);
    return !error && placeOfA == placeOfB;
}

void writeAtomically(const std::filesystem::path& path, std::string_view bytes) {
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    std::string temporary = (folder / temporaryNameOf(path.filename().string())).string();
    Descriptor fd(::mkstemp(temporary.data()));
    if (fd.get() < 0) throw writeError(path, errno);
    int error = writeAll(fd.get(), bytes);
    if (error == 0 && ::fchmod(fd.get(), modeFor(path)) != 0) error = errno;
    if (error == 0 && ::fsync(fd.get()) != 0) error = errno;
    if (const int closeError = fd.close(); error == 0) error = closeError;
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        throw writeError(path, error);
    }
}

std::filesystem::path homeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) {
        return entry->pw_dir;
    }
    return "/";
}

std::filesystem::path executablePath() {
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : path;
}
