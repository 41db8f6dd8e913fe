#include "KelvoApp/Coordinator/ProcessLog.h"

#include "Base/Foundation/FileSystem.h"

namespace kelvo {

void ProcessLog::open(const std::filesystem::path& url, bool verbose) {
    verbose_ = verbose;
    file_ = std::make_unique<LogFile>(url, maximumBytes);
}

std::filesystem::path ProcessLog::url() const {
    return file_ ? file_->url() : std::filesystem::path();
}

void ProcessLog::log(const std::string& message) const {
    if (file_) file_->write(message);
    if (verbose_) writeAll(standardError_, "[kelvo] " + message + "\n");
}

void ProcessLog::flush() {
    if (file_) file_->flush();
}

}  // namespace kelvo
