#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "Base/JSON/JSONCoding.h"
#include "KelvoCore/Geometry/WindowID.h"
#include "KelvoCore/Layout/LayoutTree.h"

namespace kelvo {

/// What the session file holds: enough to put every window back on its desktop, display and
/// place in the layout after a relaunch within the same boot.
struct SessionSnapshot {
    struct PaneTree {
        int desktop = 0;
        std::uint32_t display = 0;
        LayoutTree tree;
        bool operator==(const PaneTree&) const = default;
    };

    /// The boot time the snapshot belongs to, in seconds.
    double bootTime = 0;
    int activeDesktop = 1;
    std::vector<PaneTree> panes;
    std::map<WindowID, std::string> bundleIDs;

    /// The session file's text: compact, keys in the order the snapshot lists them. Throws
    /// EncodingError for a boot time that is not finite.
    std::string fileText() const;
    /// Reads the session file's text. Trees of any depth are read, though the file is parsed
    /// without the nesting limit of other documents. Throws DecodingError.
    static SessionSnapshot fromFileText(std::string_view text);

    bool operator==(const SessionSnapshot&) const = default;
};

template <>
struct JSONCoding<SessionSnapshot::PaneTree> {
    static JSONValue encode(const SessionSnapshot::PaneTree& pane);
    static SessionSnapshot::PaneTree decode(const JSONNode& node);
};

/// `bundleIDs` is one flat array alternating window number and bundle identifier, since its
/// keys are numbers; every key is required and a mistyped one fails the whole snapshot.
template <>
struct JSONCoding<SessionSnapshot> {
    static JSONValue encode(const SessionSnapshot& snapshot);
    static SessionSnapshot decode(const JSONNode& node);
};

}  // namespace kelvo
