#include "Platform/AppKit/NSBundle.h"

#include <unistd.h>

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

}  // namespace

NSBundle& NSBundle::mainBundle() {
    static NSBundle bundle;
    return bundle;
}

std::filesystem::path NSBundle::bundleURL() const {
    const auto record = ownRecord();
    if (record && record->bundlePath) return *record->bundlePath;
    if (record && !record->executablePath.empty()) {
        return std::filesystem::path(record->executablePath).parent_path();
    }
    return runningExecutableFolder();
}

std::optional<std::string> NSBundle::objectForInfoDictionaryKey(const std::string& key) const {
    const auto record = ownRecord();
    if (!record) return std::nullopt;
    const auto found = record->infoDictionary.find(key);
    if (found == record->infoDictionary.end()) return std::nullopt;
    return found->second;
}

std::optional<std::string> NSBundle::bundleIdentifier() const {
    const auto record = ownRecord();
    return record ? record->bundleID : std::nullopt;
}
