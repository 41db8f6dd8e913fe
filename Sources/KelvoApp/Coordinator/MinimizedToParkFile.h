#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <vector>

#include "KelvoCore/Geometry/WindowID.h"

namespace kelvo {

/// The windows Kelvo minimized because they would not stay in the parking corner, kept in a
/// small file beside the session file, so that a run that ended without putting them back (a
/// SIGKILL) is mended by the next run of the same boot: those windows are brought out of the
/// Dock, which a person's own minimized windows are not.
class MinimizedToParkFile {
  public:
    static constexpr const char* fileName = "minimized-to-park.json";

    /// The file beside the session file; `bootTime` tells this boot's record from another's.
    void place(const std::filesystem::path& folder, double bootTime);
    /// The windows recorded by a run of this boot; none when there is no such record.
    std::set<WindowID> load() const;
    /// Records these windows, when they differ from what was recorded last.
    void save(const std::vector<WindowID>& windows);

  private:
    std::filesystem::path url_;
    double bootTime_ = 0;
    /// What the file holds, as far as this run knows; none before the first save.
    std::optional<std::vector<WindowID>> saved_;
};

}  // namespace kelvo
