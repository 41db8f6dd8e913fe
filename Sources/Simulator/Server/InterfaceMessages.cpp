#include <array>
#include <cstdint>

#include "Simulator/Server/DesktopMessages.h"

// The JSON forms of the processes' own interface: pictures, element trees, menus and status
// items (see DesktopMessages.h).

namespace kelvo {

namespace {

/// The URL-safe alphabet, so that the writer never has a slash to escape.
constexpr std::string_view base64Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

std::string toBase64(const std::string& bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t at = 0;
    for (; at + 3 <= bytes.size(); at += 3) {
        const std::uint32_t group = (std::uint32_t(std::uint8_t(bytes[at])) << 16) |
                                    (std::uint32_t(std::uint8_t(bytes[at + 1])) << 8) |
                                    std::uint8_t(bytes[at + 2]);
        for (int shift = 18; shift >= 0; shift -= 6)
            text.push_back(base64Alphabet[(group >> shift) & 0x3F]);
    }
    const std::size_t left = bytes.size() - at;
    if (left > 0) {
        std::uint32_t group = std::uint32_t(std::uint8_t(bytes[at])) << 16;
        if (left == 2) group |= std::uint32_t(std::uint8_t(bytes[at + 1])) << 8;
        for (std::size_t i = 0; i <= left; ++i)
            text.push_back(base64Alphabet[(group >> (18 - 6 * i)) & 0x3F]);
    }
    return text;
}

constexpr std::array<std::int8_t, 256> base64Values = [] {
    std::array<std::int8_t, 256> values{};
    values.fill(-1);
    for (std::size_t i = 0; i < base64Alphabet.size(); ++i)
        values[static_cast<unsigned char>(base64Alphabet[i])] = static_cast<std::int8_t>(i);
    return values;
}();

std::optional<std::string> fromBase64(const std::string& text) {
    if (text.size() % 4 == 1) return std::nullopt;
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3 + 2);
    std::uint32_t group = 0;
    int bits = 0;
    for (const char c : text) {
        const int value = base64Values[static_cast<unsigned char>(c)];
        if (value < 0) return std::nullopt;
        group = (group << 6) | static_cast<std::uint32_t>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes.push_back(static_cast<char>((group >> bits) & 0xFF));
        }
    }
    return bytes;
}

template <class T>
T decodeField(const JSONNode& node, const std::string& key, T fallback) {
    return node.decodeIfPresent<T>(key).value_or(std::move(fallback));
}

}  // namespace

JSONValue JSONCoding<sim::WindowPicture>::encode(const sim::WindowPicture& p) {
    return {{"height", p.height}, {"packed", toBase64(p.packed)}, {"width", p.width}};
}

sim::WindowPicture JSONCoding<sim::WindowPicture>::decode(const JSONNode& node) {
    sim::WindowPicture p;
    p.width = decodeField<std::uint32_t>(node, "width", 0);
    p.height = decodeField<std::uint32_t>(node, "height", 0);
    const auto packed = fromBase64(decodeField<std::string>(node, "packed", {}));
    if (!packed) node.fail(DecodingError::Kind::dataCorrupted, "not URL-safe base 64");
    p.packed = *packed;
    return p;
}

JSONValue JSONCoding<sim::InterfaceElement>::encode(const sim::InterfaceElement& e) {
    JSONValue object = {{"enabled", e.enabled},
                        {"focused", e.focused},
                        {"frame", encodeJSON(e.frame)},
                        {"label", e.label},
                        {"role", e.role}};
    putIfPresent(object, "identifier", e.identifier);
    putIfPresent(object, "toolTip", e.toolTip);
    putIfPresent(object, "value", e.value);
    return object;
}

sim::InterfaceElement JSONCoding<sim::InterfaceElement>::decode(const JSONNode& node) {
    sim::InterfaceElement e;
    e.role = node.decode<std::string>("role");
    e.label = decodeField<std::string>(node, "label", {});
    e.value = node.decodeIfPresent<std::string>("value");
    e.identifier = node.decodeIfPresent<std::string>("identifier");
    e.frame = decodeField(node, "frame", e.frame);
    e.enabled = decodeField(node, "enabled", e.enabled);
    e.focused = decodeField(node, "focused", e.focused);
    e.toolTip = node.decodeIfPresent<std::string>("toolTip");
    return e;
}

JSONValue JSONCoding<sim::MenuItemRecord>::encode(const sim::MenuItemRecord& m) {
    return {{"enabled", m.enabled},       {"frame", encodeJSON(m.frame)},
            {"plainTitle", m.plainTitle}, {"separator", m.separator},
            {"state", m.state},           {"title", m.title}};
}

sim::MenuItemRecord JSONCoding<sim::MenuItemRecord>::decode(const JSONNode& node) {
    sim::MenuItemRecord m;
    m.title = decodeField<std::string>(node, "title", {});
    m.enabled = decodeField(node, "enabled", m.enabled);
    m.separator = decodeField(node, "separator", m.separator);
    m.state = decodeField(node, "state", m.state);
    m.frame = decodeField(node, "frame", m.frame);
    m.plainTitle = decodeField<std::string>(node, "plainTitle", {});
    return m;
}

JSONValue JSONCoding<sim::OwnWindowContent>::encode(const sim::OwnWindowContent& c) {
    return {{"drawing", encodeJSON(c.drawing)},
            {"elements", encodeJSON(c.elements)},
            {"menu", encodeJSON(c.menu)},
            {"number", c.number}};
}

sim::OwnWindowContent JSONCoding<sim::OwnWindowContent>::decode(const JSONNode& node) {
    sim::OwnWindowContent c;
    c.number = node.decode<sim::WindowNumber>("number");
    c.drawing = decodeField(node, "drawing", c.drawing);
    c.elements = decodeField(node, "elements", c.elements);
    c.menu = decodeField(node, "menu", c.menu);
    return c;
}

JSONValue JSONCoding<sim::ElementRecord>::encode(const sim::ElementRecord& r) {
    return {{"element", encodeJSON(r.element)}, {"pid", r.pid}, {"window", r.window}};
}

sim::ElementRecord JSONCoding<sim::ElementRecord>::decode(const JSONNode& node) {
    return sim::ElementRecord{node.decode<sim::WindowNumber>("window"),
                              node.decode<std::int32_t>("pid"),
                              node.decode<sim::InterfaceElement>("element")};
}

JSONValue JSONCoding<sim::StatusItemSpec>::encode(const sim::StatusItemSpec& s) {
    return {{"image", encodeJSON(s.image)},
            {"imageIsTemplate", s.imageIsTemplate},
            {"label", s.label},
            {"length", s.length},
            {"toolTip", s.toolTip}};
}

sim::StatusItemSpec JSONCoding<sim::StatusItemSpec>::decode(const JSONNode& node) {
    sim::StatusItemSpec s;
    s.length = decodeField(node, "length", s.length);
    s.image = decodeField(node, "image", s.image);
    s.imageIsTemplate = decodeField(node, "imageIsTemplate", s.imageIsTemplate);
    s.label = decodeField<std::string>(node, "label", {});
    s.toolTip = decodeField<std::string>(node, "toolTip", {});
    return s;
}

JSONValue JSONCoding<sim::StatusItemInfo>::encode(const sim::StatusItemInfo& i) {
    return {{"frame", encodeJSON(i.frame)},
            {"item", i.item},
            {"pid", i.pid},
            {"spec", encodeJSON(i.spec)}};
}

sim::StatusItemInfo JSONCoding<sim::StatusItemInfo>::decode(const JSONNode& node) {
    return sim::StatusItemInfo{node.decode<std::uint64_t>("item"), node.decode<std::int32_t>("pid"),
                               node.decode<CGRect>("frame"),
                               node.decode<sim::StatusItemSpec>("spec")};
}

}  // namespace kelvo
