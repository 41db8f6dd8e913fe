#include "Platform/AppKit/NSBundle.h"

#include <unistd.h>

#include <map>
#include <system_error>

#include "Simulator/SharedConnection.h"

namespace {

std::optional<sim::ApplicationInfo> ownRecord() {
    const auto connection = sim::SharedConnection::current();
    return connection->application(connection->clientPid());
}

/// The folder of the executable this process runs, as the system reports it.
std::filesystem::path runningExecutableFolder() {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path(error) : executable.parent_path();
}

/// The application bundle that holds an executable at "X.app/Contents/MacOS/", else its folder:
/// a program started from inside a bundle belongs to that bundle, whoever started it.
std::filesystem::path bundleOfExecutable(const std::filesystem::path& executable) {
    const auto folder = executable.parent_path();
    const auto contents = folder.parent_path();
    const auto bundle = contents.parent_path();
    if (folder.filename() == "MacOS" && contents.filename() == "Contents" &&
        bundle.extension() == ".app")
        return bundle;
    return folder;
}

}  // namespace

NSBundle& NSBundle::mainBundle() {
    static NSBundle bundle;
    return bundle;
}

NSBundleRef NSBundle::bundleWithURL(const std::filesystem::path& url) {
    auto onDisk = sim::ApplicationBundle::read(url);
    if (!onDisk) return nullptr;
    return NSBundleRef(new NSBundle(std::move(*onDisk)));
}

std::filesystem::path NSBundle::bundleURL() const {
    if (onDisk_) return onDisk_->path;
    const auto record = ownRecord();
    if (record && record->bundlePath) return *record->bundlePath;
    if (record && !record->executablePath.empty()) {
        return bundleOfExecutable(record->executablePath);
    }
    return runningExecutableFolder();
}

std::optional<std::string> NSBundle::objectForInfoDictionaryKey(const std::string& key) const {
    std::map<std::string, std::string> dictionary;
    if (onDisk_) {
        dictionary = onDisk_->infoDictionary;
    } else if (const auto record = ownRecord()) {
        dictionary = record->infoDictionary;
    }
    const auto found = dictionary.find(key);
    if (found == dictionary.end()) return std::nullopt;
    return found->second;
}

std::optional<std::string> NSBundle::bundleIdentifier() const {
    if (onDisk_) return onDisk_->bundleID;
    const auto record = ownRecord();
    return record ? record->bundleID : std::nullopt;
}
