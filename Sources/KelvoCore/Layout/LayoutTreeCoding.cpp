#include <optional>
#include <string>
#include <vector>

#include "KelvoCore/JSON/JSONCaseKey.h"
#include "KelvoCore/Layout/LayoutTree.h"
#include "KelvoCore/Layout/NodeIndex.h"

namespace kelvo {

using Node = LayoutTree::Node;

namespace {

constexpr const char* leafKey = "leaf";
constexpr const char* splitKey = "split";

/// One node as read, before its children exist: nodes are built once the whole document has
/// been read, from the leaves up, so that no depth of nesting is walked by recursion.
struct ReadNode {
    std::optional<WindowID> window;  // a leaf
    Axis axis = Axis::vertical;
    double ratio = 0;
    int first = NodeIndex::none;
    int second = NodeIndex::none;
};

/// A node still to be read: the member `key` of `holder`, or `holder` itself without a key.
/// Members are looked up only when their turn comes, so errors are met in reading order:
/// a split's axis and ratio, then everything in `first`, then `second`.
struct PendingNode {
    JSONNode holder;
    const char* key = nullptr;
    int parent = NodeIndex::none;

    JSONNode resolve() const { return key ? holder[key] : holder; }
};

/// Reads every node in pre-order.
std::vector<ReadNode> readNodes(const JSONNode& top) {
    std::vector<ReadNode> nodes;
    std::vector<PendingNode> pending{{top}};
    while (!pending.empty()) {
        const PendingNode next = std::move(pending.back());
        pending.pop_back();
        const JSONNode json = next.resolve();
        const int index = static_cast<int>(nodes.size());
        if (next.parent != NodeIndex::none) {
            ReadNode& parent = nodes[next.parent];
            (parent.first == NodeIndex::none ? parent.first : parent.second) = index;
        }
        if (JSONCaseKey::read(json, {leafKey, splitKey}) == leafKey) {
            nodes.push_back(ReadNode{.window = json[leafKey].decode<WindowID>("_0")});
            continue;
        }
        const JSONNode payload = json[splitKey];
        nodes.push_back(ReadNode{.window = std::nullopt,
                                 .axis = payload.decode<Axis>("axis"),
                                 .ratio = payload.decode<double>("ratio")});
        pending.push_back(PendingNode{payload, "second", index});
        pending.push_back(PendingNode{payload, "first", index});
    }
    return nodes;
}

/// Children come after their parent in pre-order, so building backwards finds them ready.
Node buildNodes(const std::vector<ReadNode>& nodes) {
    std::vector<std::optional<Node>> built(nodes.size());
    for (std::size_t i = nodes.size(); i-- > 0;) {
        const ReadNode& node = nodes[i];
        if (node.window) {
            built[i] = Node::leaf(*node.window);
            continue;
        }
        built[i] = Node::split(node.axis, node.ratio, std::move(*built[node.first]),
                               std::move(*built[node.second]));
        built[node.first].reset();
        built[node.second].reset();
    }
    return std::move(*built.front());
}

}  // namespace

JSONValue JSONCoding<Node>::encode(const Node& node) {
    return NodeIndex(node).fold<JSONValue>(
        [](const NodeIndex::Entry& entry) {
            JSONValue payload = JSONValue::object();
            payload["_0"] = encodeJSON(*entry.node->window());
            JSONValue json = JSONValue::object();
            json[leafKey] = std::move(payload);
            return json;
        },
        [](const NodeIndex::Entry& entry, JSONValue first, JSONValue second) {
            JSONValue payload = JSONValue::object();
            payload["axis"] = encodeJSON(*entry.node->axis());
            payload["ratio"] = *entry.node->ratio();
            payload["first"] = std::move(first);
            payload["second"] = std::move(second);
            JSONValue json = JSONValue::object();
            json[splitKey] = std::move(payload);
            return json;
        });
}

Node JSONCoding<Node>::decode(const JSONNode& node) {
    return buildNodes(readNodes(node));
}

JSONValue JSONCoding<LayoutTree>::encode(const LayoutTree& tree) {
    JSONValue json = JSONValue::object();
    putIfPresent(json, "root", tree.root);
    return json;
}

LayoutTree JSONCoding<LayoutTree>::decode(const JSONNode& node) {
    return LayoutTree(node.decodeIfPresent<Node>("root"));
}

}  // namespace kelvo
