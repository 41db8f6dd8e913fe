#pragma once

#include <cstdint>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "KelvoCore/Config/Config.h"

namespace kelvo {

/// Owns the configuration file and the one current `Config` of the running system. It loads
/// the file once when made (falling back to the defaults), takes every change through `set`,
/// tells its listener at once and saves after a delay, so that a run of quick changes costs
/// one write. Main thread only; no operation throws.
class ConfigStore {
  public:
    using WorkItem = std::function<void()>;
    /// Must run the work item exactly once, later, on the main thread.
    using Scheduler = std::function<void(WorkItem)>;
    /// A failure as the operation that failed threw it (`FileError`, `DecodingError`,
    /// `EncodingError`); null for none.
    using Error = std::exception_ptr;

    /// How long after the first change of a run the file is written.
    static constexpr double saveDelay = 0.4;
    /// Appended to the file's name for the copy of a file that could not be read.
    static constexpr std::string_view unreadableSuffix = ".unreadable";

    /// Runs each work item on the main queue `saveDelay` seconds after it is handed over.
    static Scheduler mainQueueScheduler();
    /// The text of an error, for messages.
    static std::string describe(const Error& error);

    /// Without a scheduler every effective `set` writes before it returns.
    explicit ConfigStore(std::filesystem::path url, Scheduler schedule = nullptr);
    ~ConfigStore();
    ConfigStore(const ConfigStore&) = delete;
    ConfigStore& operator=(const ConfigStore&) = delete;

    const std::filesystem::path& url() const { return url_; }
    const Config& config() const { return config_; }
    /// The file exists but failed to load at start-up, and no write has succeeded since.
    bool loadFailed() const { return loadFailed_; }
    const Error& loadError() const { return loadError_; }
    /// Write attempts so far, failed ones included.
    std::int64_t writeCount() const { return writeCount_; }
    /// The file `url` stands for: when it is a symbolic link, the link's target, so that
    /// reads, writes and the keeping aside happen there and the link stays; `url` itself when
    /// it is no link, or one that leads nowhere (dangling, or in a loop).
    std::filesystem::path fileURL() const;
    /// Where the unreadable file is kept when the first write replaces it.
    std::filesystem::path unreadableURL() const;

    /// Called with the new configuration after every effective change.
    std::function<void(const Config&)> onChange;
    /// Called after every write attempt, with its error or with none.
    std::function<void(const Error&)> onWrite;

    /// Stores a different configuration, tells `onChange` and arranges one write; an equal
    /// one changes nothing at all.
    void set(const Config& config);
    /// `set` with a copy of the configuration changed by `change`.
    void update(const std::function<void(Config&)>& change);
    /// Writes at once when a change is pending or the last write failed.
    void flush();

  private:
    void load();
    void scheduleWrite();
    void writeNow();
    void keepUnreadableFile(const std::filesystem::path& file) const;

    const std::filesystem::path url_;
    Config config_;
    bool loadFailed_ = false;
    Error loadError_;
    std::int64_t writeCount_ = 0;
    const Scheduler schedule_;
    bool writePending_ = false;
    // The configuration in memory is not on disk because the last write failed.
    bool lastWriteFailed_ = false;
    std::int64_t generation_ = 0;
    // Scheduled writes hold this weakly, so a dropped store is never written.
    std::shared_ptr<ConfigStore*> liveness_;
};

}  // namespace kelvo
