#include "KelvoAX/Log/LogFile.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "Base/Foundation/Date.h"
#include "Base/Foundation/DateFormatter.h"
#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/FileHandle.h"
#include "Base/Foundation/FileManager.h"
#include "Base/Foundation/Mutex.h"
#include "Base/Foundation/MutexLock.h"

namespace kelvo {

namespace fs = std::filesystem;

// Everything but the constant fields and the delayed write-out is touched only on `queue`.
struct LogFile::Core : std::enable_shared_from_this<LogFile::Core> {
    Core(fs::path u, std::int64_t limit)
        : url(std::move(u)),
          maximumBytes(std::max(limit, minimumBytes)),
          bufferLimit(std::min(maximumBytes, largestBufferLimit)),
          queue(std::string(queueLabelPrefix) + url.filename().string(), DispatchQoS::utility) {
        formatter.setDateFormat(std::string(timestampFormat));
        formatter.setLocaleIdentifier(std::string(timestampLocale));
    }

    fs::path previousURL() const { return LogFile::previousURL(url); }

    void enqueue(std::string line);
    void scheduleWriteOut();
    /// The log was dropped: no delayed write-out is left waiting or scheduled any more.
    void close();
    void writeOut();
    void open();
    void append(const std::string& chunk);
    void rotate();

    const fs::path url;
    const std::int64_t maximumBytes;
    const std::int64_t bufferLimit;
    const DispatchQueue queue;
    DateFormatter formatter;

    std::vector<std::string> buffer;
    std::int64_t buffered = 0;
    bool flushScheduled = false;
    std::int64_t bytesOnDisk = 0;
    bool opened = false;

    // The delayed write-out, cancelled from whichever thread drops the log.
    Mutex writeOutLock;
    std::optional<DispatchWorkItem> scheduledWriteOut GUARDED_BY(writeOutLock);
    bool closed GUARDED_BY(writeOutLock) = false;
};

fs::path LogFile::standardURL() {
    auto& files = FileManager::defaultManager();
    const auto libraries =
        files.urls(SearchPathDirectory::libraryDirectory, SearchPathDomainMask::userDomainMask);
    const fs::path library =
        libraries.empty() ? files.homeDirectoryForCurrentUser() / "Library" : libraries.front();
    return library / "Logs" / "Kelvo" / "kelvo.log";
}

LogFile::LogFile(fs::path url, std::int64_t maximumBytes)
    : core_(std::make_shared<Core>(std::move(url), maximumBytes)) {}

// A queue thread still holding the delayed write-out would outlive the log for half a
// second. With it cancelled, and the lines still on their way taken in, nothing on the queue
// holds the log any more: the log goes here, and its queue's thread ends with it.
LogFile::~LogFile() {
    core_->close();
    core_->queue.sync([] {});
}

const fs::path& LogFile::url() const {
    return core_->url;
}
fs::path LogFile::previousURL() const {
    return core_->previousURL();
}
fs::path LogFile::previousURL(const fs::path& url) {
    return fs::path(url.string() + ".1");
}
std::int64_t LogFile::maximumBytes() const {
    return core_->maximumBytes;
}
std::int64_t LogFile::bufferLimit() const {
    return core_->bufferLimit;
}

void LogFile::write(std::string_view message) const {
    std::string line = core_->formatter.string(Date::now());
    line.reserve(line.size() + 2 + message.size() + 1);
    line += "  ";
    line += message;
    line += '\n';
    core_->queue.async([weak = std::weak_ptr(core_), line = std::move(line)]() mutable {
        if (const auto core = weak.lock()) core->enqueue(std::move(line));
    });
}

void LogFile::flush() const {
    core_->queue.sync([core = core_] { core->writeOut(); });
}

void LogFile::Core::enqueue(std::string line) {
    buffered += static_cast<std::int64_t>(line.size());
    buffer.push_back(std::move(line));
    if (buffered >= bufferLimit) return writeOut();
    if (flushScheduled) return;
    flushScheduled = true;
    scheduleWriteOut();
}

void LogFile::Core::scheduleWriteOut() {
    const DispatchWorkItem item([weak = weak_from_this()] {
        if (const auto core = weak.lock()) core->writeOut();
    });
    MutexLock lock(writeOutLock);
    if (closed) return;
    // An earlier one still waiting has nothing left to do: a flush has written its lines.
    if (scheduledWriteOut) scheduledWriteOut->cancel();
    scheduledWriteOut = item;
    queue.asyncAfter(DispatchTime::now() + writeOutDelay, item);
}

void LogFile::Core::close() {
    MutexLock lock(writeOutLock);
    closed = true;
    if (scheduledWriteOut) scheduledWriteOut->cancel();
}

void LogFile::Core::writeOut() {
    flushScheduled = false;
    if (buffer.empty()) return;
    std::vector<std::string> lines;
    lines.swap(buffer);
    buffered = 0;
    open();
    std::string chunk;
    chunk.reserve(static_cast<std::size_t>(std::min<std::int64_t>(bufferLimit, maximumBytes)));
    for (const std::string& line : lines) {
        const auto pending = static_cast<std::int64_t>(chunk.size());
        const auto size = static_cast<std::int64_t>(line.size());
        // An empty generation is not rotated away: one oversized line would otherwise replace
        // the previous generation with an empty file.
        if (bytesOnDisk + pending + size > maximumBytes && bytesOnDisk + pending > 0) {
            append(chunk);
            chunk.clear();
            rotate();
        }
        chunk += line;
    }
    append(chunk);
    lines.clear();
    buffer.swap(lines);  // keeps the buffer's capacity for the next lines
}

void LogFile::Core::open() {
    if (opened) return;
    auto& files = FileManager::defaultManager();
    try {
        files.createDirectory(url.parent_path(), true);
    } catch (const FileError&) {
        // The write that follows fails and prepares the file again next time.
    }
    if (files.fileExists(url)) {
        bytesOnDisk = static_cast<std::int64_t>(files.fileSize(url).value_or(0));
    } else {
        files.createFile(url);
        bytesOnDisk = 0;
    }
    opened = true;
}

void LogFile::Core::append(const std::string& chunk) {
    if (chunk.empty()) return;
    try {
        FileHandle handle = FileHandle::forWritingTo(url);
        handle.seekToEnd();
        handle.write(chunk);
        bytesOnDisk += static_cast<std::int64_t>(chunk.size());
        try {
            handle.close();
        } catch (const FileError&) {
            // The bytes were handed to the system; a failed close changes nothing here.
        }
    } catch (const FileError&) {
        opened = false;  // a deleted file or folder is made again on the next write-out
    }
}

void LogFile::Core::rotate() {
    auto& files = FileManager::defaultManager();
    const fs::path previous = previousURL();
    try {
        files.removeItem(previous);
    } catch (const FileError&) {
    }
    try {
        files.moveItem(url, previous);
    } catch (const FileError&) {
    }
    files.createFile(url);
    bytesOnDisk = 0;
}

}  // namespace kelvo
