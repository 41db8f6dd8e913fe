#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

// Whole-file reads and atomic whole-file writes, and the user's home folder. Failures are
// FileError with a code callers can tell apart (a missing file is usually no failure at all)
// and a sentence fit to show.

class FileError : public std::runtime_error {
  public:
    enum class Code {
        noSuchFile,    // the file, or the folder it should go into, does not exist
        noPermission,  // the file or its folder may not be read or written
        outOfSpace,    // the disk is full
        tooLarge,      // the file is larger than the reader takes
        other,
    };

    FileError(Code code, int posixError, std::filesystem::path path, const std::string& text);

    /// The failure to read `path` with the platform's `posixError`, in the system's words.
    static FileError reading(const std::filesystem::path& path, int posixError);
    /// The failure to write, create or move `path`.
    static FileError writing(const std::filesystem::path& path, int posixError);
    /// The failure to create the folder `path` (with the folders it lies in): names the file
    /// that is in the way when there is one.
    static FileError creatingFolder(const std::filesystem::path& path, int posixError);

    Code code() const { return code_; }
    /// The errno the platform gave, 0 when none.
    int posixError() const { return posixError_; }
    const std::filesystem::path& path() const { return path_; }

  private:
    Code code_;
    int posixError_;
    std::filesystem::path path_;
};

/// The whole content of a regular file (or of what a symbolic link leads to). Anything else, a
/// folder, a FIFO or a device, is refused at once rather than read or waited on. Throws
/// FileError.
std::string readFile(const std::filesystem::path& path);
/// The same, for a file of at most `largest` bytes: a larger one is refused (`tooLarge`) before
/// any of it is read, and one that grows past it while it is read is refused too.
std::string readFile(const std::filesystem::path& path, std::uintmax_t largest);

/// Whether the two paths lead to one file, through links and however they are spelled: the same
/// file when both exist, else the same place once every link on the way is followed.
bool isSameFile(const std::filesystem::path& a, const std::filesystem::path& b);

/// Replaces the file with `bytes` so that a reader sees either the old content or the new,
/// never a mix: the bytes go into a temporary file in the same folder, which is then renamed
/// over the file. The folder is not created. Throws FileError; the file is then unchanged and
/// no temporary file is left behind.
void writeAtomically(const std::filesystem::path& path, std::string_view bytes);

/// Writes every byte to an open descriptor, across short writes and interruptions; 0 when
/// all were written, else the errno.
int writeAll(int descriptor, std::string_view bytes);

/// The current user's home folder, from HOME (so tests can point it at a temporary folder),
/// else from the user database.
std::filesystem::path homeDirectory();

/// The file this program was started from; empty when the system does not tell.
std::filesystem::path executablePath();
