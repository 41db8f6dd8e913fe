#include "KelvoCore/Store/SessionSnapshot.h"

#include "Base/JSON/JSONWriter.h"

namespace kelvo {

std::string SessionSnapshot::fileText() const {
    JSONWriter::Options options = JSONWriter::compact();
    options.sortKeys = false;
    return JSONWriter::write(encodeJSON(*this), options);
}

SessionSnapshot SessionSnapshot::fromFileText(std::string_view text) {
    const JSONValue document = JSONNode::parseDeep(text);
    return JSONNode(document).decode<SessionSnapshot>();
}

JSONValue JSONCoding<SessionSnapshot::PaneTree>::encode(const SessionSnapshot::PaneTree& pane) {
    JSONValue object = JSONValue::object();
    object["desktop"] = pane.desktop;
    object["display"] = pane.display;
    object["tree"] = encodeJSON(pane.tree);
    return object;
}

SessionSnapshot::PaneTree JSONCoding<SessionSnapshot::PaneTree>::decode(const JSONNode& node) {
    return SessionSnapshot::PaneTree{node.decode<int>("desktop"),
                                     node.decode<std::uint32_t>("display"),
                                     node.decode<LayoutTree>("tree")};
}

JSONValue JSONCoding<SessionSnapshot>::encode(const SessionSnapshot& snapshot) {
    JSONValue bundleIDs = JSONValue::array();
    for (const auto& [w, bundle] : snapshot.bundleIDs) {
        bundleIDs.push_back(w.raw);
        bundleIDs.push_back(bundle);
    }
    JSONValue object = JSONValue::object();
    object["bootTime"] = snapshot.bootTime;
    object["activeDesktop"] = snapshot.activeDesktop;
    object["panes"] = encodeJSON(snapshot.panes);
    object["bundleIDs"] = std::move(bundleIDs);
    return object;
}

SessionSnapshot JSONCoding<SessionSnapshot>::decode(const JSONNode& node) {
    SessionSnapshot snapshot;
    snapshot.bootTime = node.decode<double>("bootTime");
    snapshot.activeDesktop = node.decode<int>("activeDesktop");
    snapshot.panes = node.decode<std::vector<SessionSnapshot::PaneTree>>("panes");
    const std::vector<JSONNode> flat = node["bundleIDs"].elements();
    if (flat.size() % 2 != 0) {
        node["bundleIDs"].fail(DecodingError::Kind::dataCorrupted,
                               "Expected an even number of elements, alternating key and value.");
    }
    for (std::size_t i = 0; i < flat.size(); i += 2) {
        snapshot.bundleIDs[WindowID(flat[i].integer<std::uint32_t>())] = flat[i + 1].string();
    }
    return snapshot;
}

}  // namespace kelvo
