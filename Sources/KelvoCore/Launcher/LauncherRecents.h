#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kelvo {

/// The launcher's recently used applications: bundle identifiers, most recent first. Two
/// identifiers are the same entry when they are canonically equivalent texts.
class LauncherRecents {
  public:
    /// The most identifiers the list keeps.
    static constexpr std::size_t limit = 50;

    /// The list in its order without empty texts and without later repeats, cut after
    /// `limit` entries.
    static std::vector<std::string> cleaned(const std::vector<std::string>& list);
    /// The identifier moved to the front and the list cut after `limit`; an empty identifier
    /// leaves the list as it is. Other repeats are not touched (the list is expected to be
    /// cleaned already).
    static std::vector<std::string> recording(const std::string& bundleID,
                                              const std::vector<std::string>& list);
};

}  // namespace kelvo
