// Any byte string as a layout tree's JSON must give a tree or a DecodingError, however deep
// it nests, and a tree that was read must be written and read back equal. The tree's own
// operations must then hold their shape: every window stays in exactly one leaf.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Base/JSON/JSONWriter.h"
#include "KelvoCore/Layout/LayoutTree.h"
#include "Support/Base/Require.h"

namespace {

using namespace kelvo;

using kelvo::testing::require;

LayoutTree reread(const LayoutTree& tree) {
    const std::string text = JSONWriter::write(encodeJSON(tree));
    const JSONValue document = JSONNode::parseDeep(text);
    return JSONNode(document).decode<LayoutTree>();
}

void exercise(LayoutTree tree) {
    const CGRect pane(0, 0, 1440, 900);
    std::vector<WindowID> windows = tree.windows();
    tree.rects(pane);
    if (windows.empty()) return;
    tree.rotate();
    tree.resize(windows.front(), Direction::right, 0.05);
    WindowID newcomer(0xFFFFFFFF);
    while (std::count(windows.begin(), windows.end(), newcomer))
        newcomer = WindowID(newcomer.raw - 1);
    tree.insert(newcomer, windows.back(), pane);
    tree.remove(windows.front());
    const std::vector<WindowID> after = tree.windows();
    require(std::count(after.begin(), after.end(), newcomer) == 1);
    require(std::count(after.begin(), after.end(), windows.front()) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    LayoutTree tree;
    try {
        const JSONValue document = JSONNode::parseDeep(bytes);
        tree = JSONNode(document).decode<LayoutTree>();
    } catch (const DecodingError&) {
        return 0;
    }
    require(reread(tree) == tree);
    exercise(tree);
    return 0;
}
