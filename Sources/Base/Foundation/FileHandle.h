#pragma once

#include <filesystem>
#include <string_view>

/// An open file for appending to. Every failure throws `FileError`.
class FileHandle {
  public:
    /// Opens an existing file for writing; a missing file is a failure.
    static FileHandle forWritingTo(const std::filesystem::path& path);
    ~FileHandle();
    FileHandle(FileHandle&& other) noexcept;
    FileHandle& operator=(FileHandle&&) = delete;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    void seekToEnd();
    void write(std::string_view bytes);
    void close();

  private:
    FileHandle(int descriptor, std::filesystem::path path)
        : descriptor_(descriptor), path_(std::move(path)) {}
    int descriptor_;
    std::filesystem::path path_;
};
