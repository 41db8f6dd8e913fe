// Values built from the input are written and read back: the writer refuses exactly the
// values holding a number that is not finite, and everything else reads back equal, whether
// as a plain JSON document (any nesting, any text) or as a layout tree or session snapshot.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Base/JSON/JSONWriter.h"
#include "KelvoCore/Store/SessionSnapshot.h"
#include "Support/Base/Require.h"

namespace {

using namespace kelvo;
using Node = LayoutTree::Node;

using kelvo::testing::require;

/// Deep enough to pass the nesting limit of ordinary documents, shallow enough that comparing
/// two values (which recurses) stays safe.
constexpr int deepest = 600;

/// Valid UTF-8 of any code point but the surrogates, control characters included.
std::string text(FuzzedDataProvider& input) {
    std::string s;
    const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, 12);
    for (std::size_t i = 0; i < length; ++i) {
        char32_t c = input.ConsumeIntegralInRange<char32_t>(0, 0x10FFFF);
        if (c >= 0xD800 && c <= 0xDFFF) c = U'\uFFFD';
        if (c < 0x80) {
            s += static_cast<char>(c);
        } else if (c < 0x800) {
            s += static_cast<char>(0xC0 | (c >> 6));
            s += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            s += static_cast<char>(0xE0 | (c >> 12));
            s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            s += static_cast<char>(0xF0 | (c >> 18));
            s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return s;
}

/// Any double, the non-finite ones included.
double anyDouble(FuzzedDataProvider& input) {
    const std::uint64_t bits = input.ConsumeIntegral<std::uint64_t>();
    double d;
    static_assert(sizeof d == sizeof bits);
    __builtin_memcpy(&d, &bits, sizeof d);
    return d;
}

struct Built {
    JSONValue value;
    bool finite = true;
};

Built value(FuzzedDataProvider& input, int depth) {
    const int kind = input.ConsumeIntegralInRange(0, depth < deepest ? 8 : 5);
    switch (kind) {
        case 0:
            return {JSONValue(nullptr)};
        case 1:
            return {JSONValue(input.ConsumeBool())};
        case 2:
            return {JSONValue(input.ConsumeIntegral<std::int64_t>())};
        case 3:
            return {JSONValue(input.ConsumeIntegral<std::uint64_t>())};
        case 4: {
            const double d = anyDouble(input);
            return {JSONValue(d), std::isfinite(d)};
        }
        case 5:
            return {JSONValue(text(input))};
        case 6:
        case 7: {
            Built array{JSONValue::array()};
            const int count = input.ConsumeIntegralInRange(0, kind == 6 ? 1 : 4);
            for (int i = 0; i < count; ++i) {
                Built element = value(input, depth + 1);
                array.finite = array.finite && element.finite;
                array.value.push_back(std::move(element.value));
            }
            return array;
        }
        default: {
            Built object{JSONValue::object()};
            const int count = input.ConsumeIntegralInRange(0, 3);
            for (int i = 0; i < count; ++i) {
                const std::string key = text(input);
                Built member = value(input, depth + 1);
                if (object.value.contains(key)) continue;
                object.finite = object.finite && member.finite;
                object.value[key] = std::move(member.value);
            }
            return object;
        }
    }
}

/// The value with every object's keys in the writer's sorted order (objects compare in order).
JSONValue sortedKeys(const JSONValue& value) {
    if (value.is_array()) {
        JSONValue array = JSONValue::array();
        for (const JSONValue& element : value)
            array.push_back(sortedKeys(element));
        return array;
    }
    if (!value.is_object()) return value;
    std::vector<std::string> keys;
    for (auto it = value.begin(); it != value.end(); ++it)
        keys.push_back(it.key());
    std::sort(keys.begin(), keys.end());
    JSONValue object = JSONValue::object();
    for (const std::string& key : keys)
        object[key] = sortedKeys(value.at(key));
    return object;
}

void writeAndReadBack(FuzzedDataProvider& input) {
    const Built built = value(input, 0);
    const JSONWriter::Options options{.pretty = input.ConsumeBool(),
                                      .sortKeys = input.ConsumeBool(),
                                      .escapeSlash = input.ConsumeBool()};
    std::string written;
    try {
        written = JSONWriter::write(built.value, options);
    } catch (const EncodingError&) {
        require(!built.finite);
        return;
    }
    require(built.finite);
    const JSONValue back = JSONNode::parseDeep(written);
    require(back == (options.sortKeys ? sortedKeys(built.value) : built.value));
}

Node tree(FuzzedDataProvider& input, std::uint32_t& windows, bool& finite) {
    // Built bottom up along a spine, so any depth is reached without recursion.
    Node node = Node::leaf(WindowID(windows++));
    const int splits = input.ConsumeIntegralInRange(0, 3000);
    for (int i = 0; i < splits && input.remaining_bytes() > 0; ++i) {
        const double ratio =
            input.ConsumeBool() ? anyDouble(input) : input.ConsumeFloatingPointInRange(0.0, 1.0);
        finite = finite && std::isfinite(ratio);
        const Axis axis = input.ConsumeBool() ? Axis::vertical : Axis::horizontal;
        Node leaf = Node::leaf(WindowID(input.ConsumeBool() ? windows++ : windows - 1));
        node = input.ConsumeBool() ? Node::split(axis, ratio, std::move(leaf), std::move(node))
                                   : Node::split(axis, ratio, std::move(node), std::move(leaf));
    }
    return node;
}

void snapshotAndReadBack(FuzzedDataProvider& input) {
    SessionSnapshot snapshot;
    snapshot.bootTime = anyDouble(input);
    snapshot.activeDesktop = input.ConsumeIntegral<int>();
    bool finite = std::isfinite(snapshot.bootTime);
    std::uint32_t windows = input.ConsumeIntegral<std::uint32_t>();
    const int panes = input.ConsumeIntegralInRange(0, 3);
    for (int i = 0; i < panes; ++i) {
        LayoutTree pane;
        if (input.ConsumeBool()) pane = LayoutTree(tree(input, windows, finite));
        snapshot.panes.push_back({input.ConsumeIntegral<int>(),
                                  input.ConsumeIntegral<std::uint32_t>(), std::move(pane)});
    }
    for (int i = input.ConsumeIntegralInRange(0, 4); i > 0; --i)
        snapshot.bundleIDs[WindowID(input.ConsumeIntegral<std::uint32_t>())] = text(input);
    std::string written;
    try {
        written = snapshot.fileText();
    } catch (const EncodingError&) {
        require(!finite);
        return;
    }
    require(finite);
    require(SessionSnapshot::fromFileText(written) == snapshot);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    if (input.ConsumeBool()) {
        writeAndReadBack(input);
    } else {
        snapshotAndReadBack(input);
    }
    return 0;
}
