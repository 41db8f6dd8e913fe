#include "Base/Foundation/FileHandle.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "Base/Foundation/FileSystem.h"

namespace fs = std::filesystem;

namespace {

[[noreturn]] void fail(const fs::path& path) {
    throw FileError::writing(path, errno);
}

}  // namespace

FileHandle FileHandle::forWritingTo(const fs::path& path) {
    const int descriptor = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (descriptor < 0) fail(path);
    return FileHandle(descriptor, path);
}

FileHandle::FileHandle(FileHandle&& other) noexcept
    : descriptor_(other.descriptor_), path_(std::move(other.path_)) {
    other.descriptor_ = -1;
}

FileHandle::~FileHandle() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

void FileHandle::seekToEnd() {
    if (lseek(descriptor_, 0, SEEK_END) < 0) fail(path_);
}

void FileHandle::write(std::string_view bytes) {
    if (const int error = writeAll(descriptor_, bytes); error != 0) {
        errno = error;
        fail(path_);
    }
}

void FileHandle::close() {
    const int descriptor = descriptor_;
    descriptor_ = -1;
    if (::close(descriptor) != 0) fail(path_);
}
