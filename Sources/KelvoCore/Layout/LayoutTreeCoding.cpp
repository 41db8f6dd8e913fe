#include <optional>
#include <string>
#include <vector>

#include "Base/JSON/JSONCaseKey.h"
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
    /// Where the node sits: the split it belongs to and under which of its keys.
    int parent = NodeIndex::none;
    const char* key = nullptr;
};

/// A node still to be read: the member `key` of a split's payload, or the top value itself.
/// Members are looked up only when their turn comes, so errors are met in reading order:
/// a split's axis and ratio, then everything in `first`, then `second`.
struct PendingNode {
    const JSONValue* holder = nullptr;
    const char* key = nullptr;
    int parent = NodeIndex::none;
};

/// Each node is read through a node without a coding path, since copying the path of a deep
/// node for every level would cost time by the square of the depth; a failure is given its
/// full path, rebuilt from the parent links, only when it happens.
class NodeReader {
  public:
    explicit NodeReader(const JSONNode& top) : top_(top) {}

    /// Reads every node in pre-order.
    std::vector<ReadNode> read() {
        std::vector<PendingNode> pending{{&top_.value()}};
        while (!pending.empty()) {
            const PendingNode next = pending.back();
            pending.pop_back();
            try {
                readOne(next, pending);
            } catch (const DecodingError& failure) {
                std::vector<std::string> path = holderPath(next.parent);
                path.insert(path.end(), failure.codingPath().begin(), failure.codingPath().end());
                throw DecodingError(failure.kind(), std::move(path), failure.debugDescription(),
                                    failure.missingKey());
            }
        }
        return std::move(nodes_);
    }

  private:
    void readOne(const PendingNode& next, std::vector<PendingNode>& pending) {
        const JSONNode holder(*next.holder);
        const JSONNode json = next.key ? holder[next.key] : holder;
        const int index = static_cast<int>(nodes_.size());
        if (next.parent != NodeIndex::none) {
            ReadNode& parent = nodes_[next.parent];
            (parent.first == NodeIndex::none ? parent.first : parent.second) = index;
        }
        if (JSONCaseKey::read(json, {leafKey, splitKey}) == leafKey) {
            nodes_.push_back(ReadNode{.window = json[leafKey].decode<WindowID>("_0"),
                                      .parent = next.parent,
                                      .key = next.key});
            return;
        }
        const JSONNode payload = json[splitKey];
        nodes_.push_back(ReadNode{.window = std::nullopt,
                                  .axis = payload.decode<Axis>("axis"),
                                  .ratio = payload.decode<double>("ratio"),
                                  .parent = next.parent,
                                  .key = next.key});
        pending.push_back(PendingNode{&payload.value(), "second", index});
        pending.push_back(PendingNode{&payload.value(), "first", index});
    }

    /// The coding path of the value a pending node is looked up in: the top value's own path,
    /// or the payload of the split `parent`.
    std::vector<std::string> holderPath(int parent) const {
        std::vector<std::string> reversed;
        for (int at = parent; at != NodeIndex::none; at = nodes_[at].parent) {
            reversed.push_back(splitKey);
            if (nodes_[at].key) reversed.push_back(nodes_[at].key);
        }
        std::vector<std::string> path = top_.path();
        path.insert(path.end(), reversed.rbegin(), reversed.rend());
        return path;
    }

    const JSONNode& top_;
    std::vector<ReadNode> nodes_;
};

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
    return buildNodes(NodeReader(node).read());
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
