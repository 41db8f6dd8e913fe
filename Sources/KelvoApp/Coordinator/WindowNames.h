#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "KelvoCore/Geometry/WindowID.h"

namespace kelvo {

/// The application each window the coordinator has heard of belongs to, by which the log
/// names it and rules and the status item find it.
class WindowNames {
  public:
    /// "win#N bundle", or "win#N ?" for a window of no known application.
    std::string named(WindowID id) const;
    void name(WindowID id, const std::string& bundleID);
    void forget(WindowID id);
    std::optional<std::string> bundleOf(WindowID id) const;
    /// The windows of these applications, in ascending order.
    std::vector<WindowID> windowsOf(const std::set<std::string>& bundleIDs) const;

  private:
    std::map<WindowID, std::string> bundles_;
};

}  // namespace kelvo
