#include "KelvoCore/Config/ConfigStore.h"

#include <cerrno>
#include <cstdio>

#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/FileManager.h"

namespace kelvo {

namespace fs = std::filesystem;

ConfigStore::Scheduler ConfigStore::mainQueueScheduler() {
    return [](WorkItem work) {
        DispatchQueue::main().asyncAfter(DispatchTime::now() + saveDelay, std::move(work));
    };
}

std::string ConfigStore::describe(const Error& error) {
    if (!error) return "unknown error";
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& failure) {
        return failure.what();
    } catch (...) {
        return "unknown error";
    }
}

ConfigStore::ConfigStore(fs::path url, Scheduler schedule)
    : url_(std::move(url)),
      config_(Config::defaults()),
      schedule_(schedule ? std::move(schedule) : [](WorkItem work) { work(); }),
      liveness_(std::make_shared<ConfigStore*>(this)) {
    load();
}

ConfigStore::~ConfigStore() = default;

fs::path ConfigStore::fileURL() const {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(url_, error))) return url_;
    const fs::path target = fs::canonical(url_, error);
    return error ? url_ : target;
}

fs::path ConfigStore::unreadableURL() const {
    return fs::path(fileURL().string() + std::string(unreadableSuffix));
}

void ConfigStore::load() {
    try {
        config_ = Config::load(fileURL());
    } catch (...) {
        config_ = Config::defaults();
        // A missing file is no failure: the first change writes it.
        if (FileManager::defaultManager().fileExists(url_)) {
            loadFailed_ = true;
            loadError_ = std::current_exception();
        }
    }
}

void ConfigStore::set(const Config& config) {
    if (config == config_) return;
    config_ = config;
    if (onChange) onChange(config_);
    if (writePending_) return;  // the scheduled write saves the newest configuration
    writePending_ = true;
    scheduleWrite();
}

void ConfigStore::update(const std::function<void(Config&)>& change) {
    Config copy = config_;
    change(copy);
    set(copy);
}

void ConfigStore::scheduleWrite() {
    schedule_([weak = std::weak_ptr(liveness_), generation = generation_] {
        const auto alive = weak.lock();
        if (!alive) return;
        ConfigStore& store = **alive;
        if (store.writePending_ && store.generation_ == generation) store.writeNow();
    });
}

void ConfigStore::flush() {
    // A write that failed is tried again too: quitting must not drop the user's change.
    if (writePending_ || lastWriteFailed_) writeNow();
}

void ConfigStore::writeNow() {
    writePending_ = false;
    ++generation_;
    ++writeCount_;
    Error error;
    try {
        if (url_.has_parent_path()) {
            FileManager::defaultManager().createDirectory(url_.parent_path(), true);
        }
        const fs::path file = fileURL();
        if (loadFailed_) keepUnreadableFile(file);
        config_.save(file);
        loadFailed_ = false;
        loadError_ = nullptr;
        lastWriteFailed_ = false;
    } catch (...) {
        error = std::current_exception();
        lastWriteFailed_ = true;
    }
    if (onWrite) onWrite(error);
}

// A file that could not be read (a hand edit with one typo, a file without permission to read
// it, a link that leads nowhere) is not silently destroyed by the first write: it is renamed
// aside, replacing an older copy, and the write goes on. A folder in the file's place is no
// file to keep; it stays, and the write then fails.
void ConfigStore::keepUnreadableFile(const fs::path& file) const {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(file, error);
    if (!fs::exists(status) || fs::is_directory(status)) return;
    const fs::path aside = fs::path(file.string() + std::string(unreadableSuffix));
    if (::rename(file.c_str(), aside.c_str()) != 0) throw FileError::writing(aside, errno);
}

}  // namespace kelvo
