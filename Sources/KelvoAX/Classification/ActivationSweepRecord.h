#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <string>

#include "Base/Text/UnicodeText.h"
#include "KelvoCore/Geometry/WindowID.h"

namespace kelvo {

/// The windows the last activation sweep of each application saw, so that an application whose
/// windows have not changed since is not swept again on every activation.
struct ActivationSweepRecord {
    std::map<std::string, std::set<WindowID>, CanonicalOrder> seen;

    std::size_t count() const { return seen.size(); }

    /// True only when the application was swept before and saw exactly these windows.
    bool refuses(const std::string& bundleID, const std::set<WindowID>& seeing) const;
    /// Replaces whatever was recorded for the application.
    void record(const std::string& bundleID, const std::set<WindowID>& saw);
    void forget(const std::string& bundleID);

    bool operator==(const ActivationSweepRecord&) const = default;
};

}  // namespace kelvo
