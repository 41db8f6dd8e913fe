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

/// Three bytes at a time into text sized once: a picture's bytes are most of a drawing's line.
std::string toBase64(const std::string& bytes) {
    const std::size_t whole = bytes.size() / 3;
    const std::size_t left = bytes.size() % 3;
    std::string text(whole * 4 + (left > 0 ? left + 1 : 0), '\0');
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    char* out = text.data();
    for (std::size_t group = 0; group < whole; ++group, in += 3, out += 4) {
        const std::uint32_t bits =
            (std::uint32_t{in[0]} << 16) | (std::uint32_t{in[1]} << 8) | in[2];
        out[0] = base64Alphabet[bits >> 18];
        out[1] = base64Alphabet[(bits >> 12) & 0x3F];
        out[2] = base64Alphabet[(bits >> 6) & 0x3F];
        out[3] = base64Alphabet[bits & 0x3F];
    }
    if (left > 0) {
        std::uint32_t bits = std::uint32_t{in[0]} << 16;
        if (left == 2) bits |= std::uint32_t{in[1]} << 8;
        for (std::size_t i = 0; i <= left; ++i)
            out[i] = base64Alphabet[(bits >> (18 - 6 * i)) & 0x3F];
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

/// Four characters at a time into bytes sized once; none for a character outside the alphabet
/// or a length no bytes encode to.
std::optional<std::string> fromBase64(const std::string& text) {
    const std::size_t whole = text.size() / 4;
    const std::size_t left = text.size() % 4;
    if (left == 1) return std::nullopt;
    std::string bytes(whole * 3 + (left > 0 ? left - 1 : 0), '\0');
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    auto* out = reinterpret_cast<unsigned char*>(bytes.data());
    const auto value = [](unsigned char c) { return base64Values[c]; };
    for (std::size_t group = 0; group < whole; ++group, in += 4, out += 3) {
        const int a = value(in[0]), b = value(in[1]), c = value(in[2]), d = value(in[3]);
        if ((a | b | c | d) < 0) return std::nullopt;
        const auto bits = static_cast<std::uint32_t>((a << 18) | (b << 12) | (c << 6) | d);
        out[0] = static_cast<unsigned char>(bits >> 16);
        out[1] = static_cast<unsigned char>(bits >> 8);
        out[2] = static_cast<unsigned char>(bits);
    }
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < left; ++i) {
        const int v = value(in[i]);
        if (v < 0) return std::nullopt;
        bits |= static_cast<std::uint32_t>(v) << (18 - 6 * i);
    }
    for (std::size_t i = 0; i + 1 < left; ++i)
        out[i] = static_cast<unsigned char>(bits >> (16 - 8 * i));
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
    auto packed = fromBase64(decodeField<std::string>(node, "packed", {}));
    if (!packed) node.fail(DecodingError::Kind::dataCorrupted, "not URL-safe base 64");
    p.packed = std::move(*packed);
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
