#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "Simulator/ApplicationBundle.h"

namespace sim {

/// Where the simulated machine keeps its applications: the system folders ("/Applications",
/// "/System/Applications") below the folder that stands for the machine's root, the user's
/// "Applications" in the home folder (`HOME`). Applications are found as the workspace finds
/// them: in those folders and in their folders one level down, the first copy winning.
class ApplicationFolders {
  public:
    /// `root` stands for "/" of the machine.
    explicit ApplicationFolders(std::filesystem::path root = "/") : root_(std::move(root)) {}

    const std::filesystem::path& root() const { return root_; }
    void setRoot(std::filesystem::path root) { root_ = std::move(root); }
    /// An absolute path of the machine ("/Applications") as a path on disk.
    std::filesystem::path onDisk(const std::string& absolute) const;
    /// The application folders in the order they are searched.
    std::vector<std::filesystem::path> folders() const;
    /// The first bundle with that identifier; none when no folder holds one.
    std::optional<ApplicationBundle> locate(const std::string& bundleID) const;

  private:
    std::filesystem::path root_;
};

}  // namespace sim
