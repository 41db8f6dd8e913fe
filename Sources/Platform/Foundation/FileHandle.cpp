#include "Platform/Foundation/FileHandle.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace fs = std::filesystem;

namespace {

[[noreturn]] void fail(const char* what, const fs::path& path) {
    throw fs::filesystem_error(what, path, std::error_code(errno, std::generic_category()));
}

}  // namespace

FileHandle FileHandle::forWritingTo(const fs::path& path) {
    const int descriptor = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (descriptor < 0) fail("cannot open for writing", path);
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
    if (lseek(descriptor_, 0, SEEK_END) < 0) fail("cannot seek", path_);
}

void FileHandle::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) fail("cannot write", path_);
        if (written == 0) {
            errno = EIO;
            fail("cannot write", path_);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void FileHandle::close() {
    const int descriptor = descriptor_;
    descriptor_ = -1;
    if (::close(descriptor) != 0) fail("cannot close", path_);
}
