#include "Simulator/Server/DesktopMessages.h"

#include <array>
#include <cstring>
#include <string_view>
#include <utility>

#include "Base/JSON/JSONWriter.h"

namespace kelvo {

using sim::AccessError;
using sim::ActivationPolicy;
using sim::AttributeValue;
using sim::ElementID;

JSONValue JSONCoding<CGPoint>::encode(const CGPoint& p) {
    return {{"x", p.x}, {"y", p.y}};
}

CGPoint JSONCoding<CGPoint>::decode(const JSONNode& node) {
    return CGPoint{node.decode<double>("x"), node.decode<double>("y")};
}

JSONValue JSONCoding<CGSize>::encode(const CGSize& s) {
    return {{"height", s.height}, {"width", s.width}};
}

CGSize JSONCoding<CGSize>::decode(const JSONNode& node) {
    return CGSize{node.decode<double>("width"), node.decode<double>("height")};
}

JSONValue JSONCoding<CGRect>::encode(const CGRect& r) {
    return {
        {"height", r.size.height}, {"width", r.size.width}, {"x", r.origin.x}, {"y", r.origin.y}};
}

CGRect JSONCoding<CGRect>::decode(const JSONNode& node) {
    return CGRect(node.decode<double>("x"), node.decode<double>("y"), node.decode<double>("width"),
                  node.decode<double>("height"));
}

JSONValue JSONCoding<ElementID>::encode(const ElementID& e) {
    return e.raw;
}

ElementID JSONCoding<ElementID>::decode(const JSONNode& node) {
    return ElementID{node.integer<std::uint64_t>()};
}

JSONValue JSONCoding<AccessError>::encode(const AccessError& e) {
    return static_cast<std::int32_t>(e);
}

AccessError JSONCoding<AccessError>::decode(const JSONNode& node) {
    const auto code = node.integer<std::int32_t>();
    const bool known = code == 0 || (code <= static_cast<std::int32_t>(AccessError::failure) &&
                                     code >= static_cast<std::int32_t>(AccessError::noValue));
    if (!known) node.fail(DecodingError::Kind::dataCorrupted, "not an Accessibility error code");
    return static_cast<AccessError>(code);
}

namespace {

/// The attribute value's kinds, in the order of the variant's alternatives.
constexpr std::array<const char*, 8> valueKinds = {"none",  "bool", "number",  "text",
                                                   "point", "size", "element", "elements"};

template <class T>
T decodeField(const JSONNode& node, const std::string& key, T fallback) {
    return node.decodeIfPresent<T>(key).value_or(std::move(fallback));
}

}  // namespace

JSONValue JSONCoding<AttributeValue>::encode(const AttributeValue& value) {
    JSONValue object = JSONValue::object();
    std::visit(
        [&](const auto& v) {
            using V = std::decay_t<decltype(v)>;
            if constexpr (!std::is_same_v<V, std::monostate>) {
                object[valueKinds[value.index()]] = encodeJSON(v);
            }
        },
        value);
    return object;
}

AttributeValue JSONCoding<AttributeValue>::decode(const JSONNode& node) {
    const auto keys = node.keys();
    if (keys.empty()) return std::monostate{};
    if (keys.size() != 1) node.fail(DecodingError::Kind::dataCorrupted, "one kind of value");
    const std::string& kind = keys.front();
    if (kind == "bool") return node.decode<bool>(kind);
    if (kind == "number") return node.decode<double>(kind);
    if (kind == "text") return node.decode<std::string>(kind);
    if (kind == "point") return node.decode<CGPoint>(kind);
    if (kind == "size") return node.decode<CGSize>(kind);
    if (kind == "element") return node.decode<ElementID>(kind);
    if (kind == "elements") return node.decode<std::vector<ElementID>>(kind);
    node.fail(DecodingError::Kind::dataCorrupted, "unknown kind of value " + kind);
}

// The replies of the Accessibility calls: the error, and what the call read when it did.
// A member left out reads as the call having failed.

JSONValue JSONCoding<sim::AttributeReply>::encode(const sim::AttributeReply& r) {
    return {{"error", encodeJSON(r.error)}, {"value", encodeJSON(r.value)}};
}

sim::AttributeReply JSONCoding<sim::AttributeReply>::decode(const JSONNode& node) {
    return {decodeField(node, "error", AccessError::cannotComplete),
            decodeField(node, "value", AttributeValue{})};
}

JSONValue JSONCoding<sim::SettableReply>::encode(const sim::SettableReply& r) {
    return {{"error", encodeJSON(r.error)}, {"settable", r.settable}};
}

sim::SettableReply JSONCoding<sim::SettableReply>::decode(const JSONNode& node) {
    return {decodeField(node, "error", AccessError::cannotComplete),
            decodeField(node, "settable", false)};
}

JSONValue JSONCoding<sim::PidReply>::encode(const sim::PidReply& r) {
    return {{"error", encodeJSON(r.error)}, {"pid", r.pid}};
}

sim::PidReply JSONCoding<sim::PidReply>::decode(const JSONNode& node) {
    return {decodeField(node, "error", AccessError::cannotComplete),
            decodeField<sim::Pid>(node, "pid", 0)};
}

JSONValue JSONCoding<sim::WindowNumberReply>::encode(const sim::WindowNumberReply& r) {
    return {{"error", encodeJSON(r.error)}, {"number", r.number}};
}

sim::WindowNumberReply JSONCoding<sim::WindowNumberReply>::decode(const JSONNode& node) {
    return {decodeField(node, "error", AccessError::cannotComplete),
            decodeField<sim::WindowNumber>(node, "number", 0)};
}

JSONValue JSONCoding<sim::ObserverReply>::encode(const sim::ObserverReply& r) {
    return {{"error", encodeJSON(r.error)}, {"observer", r.observer}};
}

sim::ObserverReply JSONCoding<sim::ObserverReply>::decode(const JSONNode& node) {
    return {decodeField(node, "error", AccessError::cannotComplete),
            decodeField<sim::ObserverID>(node, "observer", 0)};
}

JSONValue JSONCoding<ActivationPolicy>::encode(const ActivationPolicy& policy) {
    return static_cast<int>(policy);
}

ActivationPolicy JSONCoding<ActivationPolicy>::decode(const JSONNode& node) {
    const int raw = node.integer<int>();
    if (raw < 0 || raw > 2) node.fail(DecodingError::Kind::dataCorrupted, "no such policy");
    return static_cast<ActivationPolicy>(raw);
}

JSONValue JSONCoding<sim::ApplicationInfo>::encode(const sim::ApplicationInfo& a) {
    JSONValue object = {{"active", a.active},
                        {"activationPolicy", encodeJSON(a.activationPolicy)},
                        {"executablePath", a.executablePath},
                        {"hidden", a.hidden},
                        {"name", a.name},
                        {"pid", a.pid},
                        {"terminated", a.terminated}};
    putIfPresent(object, "bundleID", a.bundleID);
    putIfPresent(object, "bundlePath", a.bundlePath);
    if (!a.infoDictionary.empty()) object["infoDictionary"] = encodeJSON(a.infoDictionary);
    return object;
}

sim::ApplicationInfo JSONCoding<sim::ApplicationInfo>::decode(const JSONNode& node) {
    sim::ApplicationInfo a;
    a.pid = node.decode<std::int32_t>("pid");
    a.bundleID = node.decodeIfPresent<std::string>("bundleID");
    a.name = node.decode<std::string>("name");
    a.executablePath = node.decode<std::string>("executablePath");
    a.bundlePath = node.decodeIfPresent<std::string>("bundlePath");
    a.infoDictionary = decodeField<std::map<std::string, std::string>>(node, "infoDictionary", {});
    a.activationPolicy = node.decode<ActivationPolicy>("activationPolicy");
    a.active = node.decode<bool>("active");
    a.hidden = node.decode<bool>("hidden");
    a.terminated = node.decode<bool>("terminated");
    return a;
}

JSONValue JSONCoding<sim::ApplicationSpec>::encode(const sim::ApplicationSpec& s) {
    JSONValue object = {{"activationPolicy", encodeJSON(s.activationPolicy)},
                        {"executablePath", s.executablePath},
                        {"name", s.name}};
    putIfPresent(object, "bundleID", s.bundleID);
    putIfPresent(object, "bundlePath", s.bundlePath);
    if (!s.infoDictionary.empty()) object["infoDictionary"] = encodeJSON(s.infoDictionary);
    putIfPresent(object, "pid", s.pid);
    return object;
}

sim::ApplicationSpec JSONCoding<sim::ApplicationSpec>::decode(const JSONNode& node) {
    sim::ApplicationSpec s;
    s.bundleID = node.decodeIfPresent<std::string>("bundleID");
    s.name = decodeField<std::string>(node, "name", s.name);
    s.executablePath = decodeField<std::string>(node, "executablePath", {});
    s.bundlePath = node.decodeIfPresent<std::string>("bundlePath");
    s.infoDictionary = decodeField<std::map<std::string, std::string>>(node, "infoDictionary", {});
    s.activationPolicy = decodeField(node, "activationPolicy", s.activationPolicy);
    s.pid = node.decodeIfPresent<std::int32_t>("pid");
    return s;
}

JSONValue JSONCoding<sim::OpenReply>::encode(const sim::OpenReply& r) {
    JSONValue object = {{"pid", r.pid}};
    putIfPresent(object, "failure", r.failure);
    return object;
}

sim::OpenReply JSONCoding<sim::OpenReply>::decode(const JSONNode& node) {
    return {decodeField<sim::Pid>(node, "pid", 0), node.decodeIfPresent<std::string>("failure")};
}

JSONValue JSONCoding<sim::WriteAnswer>::encode(const sim::WriteAnswer& a) {
    return {{"keepsAspectRatio", a.keepsAspectRatio},
            {"keepsInsideVisibleFrame", a.keepsInsideVisibleFrame},
            {"landsAfter", a.landsAfter},
            {"refusalError", encodeJSON(a.refusalError)},
            {"refusesPosition", a.refusesPosition},
            {"refusesSize", a.refusesSize}};
}

sim::WriteAnswer JSONCoding<sim::WriteAnswer>::decode(const JSONNode& node) {
    sim::WriteAnswer a;
    a.refusesPosition = decodeField(node, "refusesPosition", a.refusesPosition);
    a.refusesSize = decodeField(node, "refusesSize", a.refusesSize);
    a.refusalError = decodeField(node, "refusalError", a.refusalError);
    a.landsAfter = decodeField(node, "landsAfter", a.landsAfter);
    a.keepsInsideVisibleFrame =
        decodeField(node, "keepsInsideVisibleFrame", a.keepsInsideVisibleFrame);
    a.keepsAspectRatio = decodeField(node, "keepsAspectRatio", a.keepsAspectRatio);
    return a;
}

JSONValue JSONCoding<sim::WindowSpec>::encode(const sim::WindowSpec& s) {
    JSONValue object = {{"answer", encodeJSON(s.answer)},
                        {"frame", encodeJSON(s.frame)},
                        {"layer", s.layer},
                        {"listedInAXWindows", s.listedInAXWindows},
                        {"maximumSize", encodeJSON(s.maximumSize)},
                        {"minimumSize", encodeJSON(s.minimumSize)},
                        {"positionSettable", s.positionSettable},
                        {"role", s.role},
                        {"sizeSettable", s.sizeSettable},
                        {"subrole", s.subrole},
                        {"title", s.title}};
    putIfPresent(object, "number", s.number);
    return object;
}

sim::WindowSpec JSONCoding<sim::WindowSpec>::decode(const JSONNode& node) {
    sim::WindowSpec s;
    s.title = decodeField(node, "title", s.title);
    s.frame = decodeField(node, "frame", s.frame);
    s.role = decodeField(node, "role", s.role);
    s.subrole = decodeField(node, "subrole", s.subrole);
    s.positionSettable = decodeField(node, "positionSettable", s.positionSettable);
    s.sizeSettable = decodeField(node, "sizeSettable", s.sizeSettable);
    s.minimumSize = decodeField(node, "minimumSize", s.minimumSize);
    s.maximumSize = decodeField(node, "maximumSize", s.maximumSize);
    s.layer = decodeField(node, "layer", s.layer);
    s.listedInAXWindows = decodeField(node, "listedInAXWindows", s.listedInAXWindows);
    s.answer = decodeField(node, "answer", s.answer);
    s.number = node.decodeIfPresent<std::uint32_t>("number");
    return s;
}

JSONValue JSONCoding<sim::WindowInfo>::encode(const sim::WindowInfo& w) {
    return {{"alpha", w.alpha},
            {"element", encodeJSON(w.element)},
            {"frame", encodeJSON(w.frame)},
            {"fullScreen", w.fullScreen},
            {"layer", w.layer},
            {"listedInAXWindows", w.listedInAXWindows},
            {"maximumSize", encodeJSON(w.maximumSize)},
            {"minimized", w.minimized},
            {"minimumSize", encodeJSON(w.minimumSize)},
            {"number", w.number},
            {"onScreen", w.onScreen},
            {"owner", w.owner},
            {"positionSettable", w.positionSettable},
            {"role", w.role},
            {"sizeSettable", w.sizeSettable},
            {"subrole", w.subrole},
            {"title", w.title},
            {"answer", encodeJSON(w.answer)}};
}

sim::WindowInfo JSONCoding<sim::WindowInfo>::decode(const JSONNode& node) {
    sim::WindowInfo w;
    w.number = node.decode<std::uint32_t>("number");
    w.owner = node.decode<std::int32_t>("owner");
    w.title = node.decode<std::string>("title");
    w.role = node.decode<std::string>("role");
    w.subrole = node.decode<std::string>("subrole");
    w.frame = node.decode<CGRect>("frame");
    w.positionSettable = node.decode<bool>("positionSettable");
    w.sizeSettable = node.decode<bool>("sizeSettable");
    w.minimumSize = node.decode<CGSize>("minimumSize");
    w.maximumSize = node.decode<CGSize>("maximumSize");
    w.minimized = node.decode<bool>("minimized");
    w.fullScreen = node.decode<bool>("fullScreen");
    w.layer = node.decode<int>("layer");
    w.listedInAXWindows = node.decode<bool>("listedInAXWindows");
    w.onScreen = node.decode<bool>("onScreen");
    w.alpha = node.decode<double>("alpha");
    w.answer = decodeField(node, "answer", w.answer);
    w.element = node.decode<ElementID>("element");
    return w;
}

JSONValue JSONCoding<sim::WindowListRow>::encode(const sim::WindowListRow& r) {
    return {{"alpha", r.alpha},         {"bounds", encodeJSON(r.bounds)},
            {"layer", r.layer},         {"name", r.name},
            {"number", r.number},       {"onScreen", r.onScreen},
            {"ownerName", r.ownerName}, {"ownerPID", r.ownerPID}};
}

sim::WindowListRow JSONCoding<sim::WindowListRow>::decode(const JSONNode& node) {
    sim::WindowListRow r;
    r.number = node.decode<std::uint32_t>("number");
    r.layer = node.decode<int>("layer");
    r.ownerPID = node.decode<std::int32_t>("ownerPID");
    r.ownerName = node.decode<std::string>("ownerName");
    r.name = node.decode<std::string>("name");
    r.bounds = node.decode<CGRect>("bounds");
    r.onScreen = node.decode<bool>("onScreen");
    r.alpha = node.decode<double>("alpha");
    return r;
}

JSONValue JSONCoding<sim::Colour>::encode(const sim::Colour& c) {
    return {{"alpha", c.alpha}, {"blue", c.blue}, {"green", c.green}, {"red", c.red}};
}

sim::Colour JSONCoding<sim::Colour>::decode(const JSONNode& node) {
    return sim::Colour{node.decode<double>("red"), node.decode<double>("green"),
                       node.decode<double>("blue"), node.decode<double>("alpha")};
}

JSONValue JSONCoding<sim::OwnWindowSpec>::encode(const sim::OwnWindowSpec& s) {
    JSONValue line = {{"alpha", s.alpha},
                      {"background", encodeJSON(s.background)},
                      {"borderColour", encodeJSON(s.borderColour)},
                      {"borderWidth", s.borderWidth},
                      {"closable", s.closable},
                      {"cornerRadius", s.cornerRadius},
                      {"frame", encodeJSON(s.frame)},
                      {"ignoresMouseEvents", s.ignoresMouseEvents},
                      {"key", s.key},
                      {"level", s.level},
                      {"menu", s.menu},
                      {"nonactivating", s.nonactivating},
                      {"opacity", s.opacity},
                      {"title", s.title}};
    // Written only when set, so that a window without them reads as it always has.
    for (const auto& [key, set] : {std::pair{"hasShadow", s.hasShadow},
                                   {"miniaturizable", s.miniaturizable},
                                   {"resizable", s.resizable},
                                   {"titled", s.titled}})
        if (set) line[key] = true;
    return line;
}

sim::OwnWindowSpec JSONCoding<sim::OwnWindowSpec>::decode(const JSONNode& node) {
    sim::OwnWindowSpec s;
    s.title = decodeField<std::string>(node, "title", {});
    s.frame = decodeField(node, "frame", s.frame);
    s.level = decodeField(node, "level", s.level);
    s.alpha = decodeField(node, "alpha", s.alpha);
    s.ignoresMouseEvents = decodeField(node, "ignoresMouseEvents", s.ignoresMouseEvents);
    s.background = decodeField(node, "background", s.background);
    s.borderColour = decodeField(node, "borderColour", s.borderColour);
    s.borderWidth = decodeField(node, "borderWidth", s.borderWidth);
    s.cornerRadius = decodeField(node, "cornerRadius", s.cornerRadius);
    s.opacity = decodeField(node, "opacity", s.opacity);
    s.key = decodeField(node, "key", s.key);
    s.nonactivating = decodeField(node, "nonactivating", s.nonactivating);
    s.closable = decodeField(node, "closable", s.closable);
    s.menu = decodeField(node, "menu", s.menu);
    s.titled = decodeField(node, "titled", s.titled);
    s.miniaturizable = decodeField(node, "miniaturizable", s.miniaturizable);
    s.resizable = decodeField(node, "resizable", s.resizable);
    s.hasShadow = decodeField(node, "hasShadow", s.hasShadow);
    return s;
}

JSONValue JSONCoding<sim::OwnWindowLook>::encode(const sim::OwnWindowLook& w) {
    return {{"number", w.number}, {"spec", encodeJSON(w.spec)}};
}

sim::OwnWindowLook JSONCoding<sim::OwnWindowLook>::decode(const JSONNode& node) {
    return sim::OwnWindowLook{node.decode<sim::WindowNumber>("number"),
                              node.decode<sim::OwnWindowSpec>("spec")};
}

JSONValue JSONCoding<sim::AlertSpec>::encode(const sim::AlertSpec& a) {
    return {{"buttons", encodeJSON(a.buttons)},
            {"informativeText", a.informativeText},
            {"messageText", a.messageText}};
}

sim::AlertSpec JSONCoding<sim::AlertSpec>::decode(const JSONNode& node) {
    sim::AlertSpec a;
    a.messageText = decodeField<std::string>(node, "messageText", {});
    a.informativeText = decodeField<std::string>(node, "informativeText", {});
    a.buttons = decodeField<std::vector<std::string>>(node, "buttons", {});
    return a;
}

JSONValue JSONCoding<sim::AlertRecord>::encode(const sim::AlertRecord& r) {
    return {{"alert", encodeJSON(r.alert)}, {"answer", r.answer}, {"owner", r.owner}};
}

sim::AlertRecord JSONCoding<sim::AlertRecord>::decode(const JSONNode& node) {
    return sim::AlertRecord{node.decode<std::int32_t>("owner"),
                            node.decode<sim::AlertSpec>("alert"),
                            node.decode<std::int64_t>("answer")};
}

JSONValue JSONCoding<sim::DisplayInfo>::encode(const sim::DisplayInfo& d) {
    return {
        {"frame", encodeJSON(d.frame)}, {"id", d.id}, {"visibleFrame", encodeJSON(d.visibleFrame)}};
}

sim::DisplayInfo JSONCoding<sim::DisplayInfo>::decode(const JSONNode& node) {
    return sim::DisplayInfo{node.decode<std::uint32_t>("id"), node.decode<CGRect>("frame"),
                            node.decode<CGRect>("visibleFrame")};
}

JSONValue JSONCoding<sim::InputEvent>::encode(const sim::InputEvent& e) {
    JSONValue object = {{"autorepeat", e.autorepeat},
                        {"flags", e.flags},
                        {"keyCode", e.keyCode},
                        {"location", encodeJSON(e.location)},
                        {"type", e.type}};
    putIfPresent(object, "sourcePid", e.sourcePid);
    if (!e.characters.empty()) object["characters"] = e.characters;
    if (e.scrollDeltaY != 0) object["scrollDeltaY"] = e.scrollDeltaY;
    return object;
}

sim::InputEvent JSONCoding<sim::InputEvent>::decode(const JSONNode& node) {
    sim::InputEvent e;
    e.type = node.decode<std::uint32_t>("type");
    e.keyCode = decodeField<std::uint16_t>(node, "keyCode", 0);
    e.flags = decodeField<std::uint64_t>(node, "flags", 0);
    e.location = decodeField(node, "location", e.location);
    e.autorepeat = decodeField(node, "autorepeat", false);
    e.sourcePid = node.decodeIfPresent<std::int32_t>("sourcePid");
    e.characters = decodeField<std::string>(node, "characters", {});
    e.scrollDeltaY = decodeField(node, "scrollDeltaY", 0.0);
    return e;
}

JSONValue JSONCoding<sim::TapSpec>::encode(const sim::TapSpec& s) {
    return {{"eventsOfInterest", s.eventsOfInterest},
            {"location", s.location},
            {"options", s.options},
            {"placement", s.placement}};
}

sim::TapSpec JSONCoding<sim::TapSpec>::decode(const JSONNode& node) {
    sim::TapSpec s;
    s.location = decodeField(node, "location", s.location);
    s.placement = decodeField(node, "placement", s.placement);
    s.options = decodeField(node, "options", s.options);
    s.eventsOfInterest = decodeField(node, "eventsOfInterest", s.eventsOfInterest);
    return s;
}

JSONValue JSONCoding<sim::TapAnswer>::encode(const sim::TapAnswer& a) {
    JSONValue object = {{"delivery", a.delivery}};
    putIfPresent(object, "passed", a.passed);
    return object;
}

sim::TapAnswer JSONCoding<sim::TapAnswer>::decode(const JSONNode& node) {
    return sim::TapAnswer{node.decode<std::uint64_t>("delivery"),
                          node.decodeIfPresent<sim::InputEvent>("passed")};
}

// Preference values: one key naming the kind. Data goes as hexadecimal, since its bytes
// need not be text.

namespace {

constexpr const char* hexDigits = "0123456789abcdef";

std::string hexOf(const std::string& bytes) {
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (unsigned char byte : bytes) {
        hex += hexDigits[byte >> 4];
        hex += hexDigits[byte & 0x0f];
    }
    return hex;
}

std::string bytesOf(const JSONNode& node) {
    const std::string hex = node.string();
    const auto digit = [&](char c) -> unsigned {
        const char* found = c == '\0' ? nullptr : std::strchr(hexDigits, c);
        if (!found) node.fail(DecodingError::Kind::dataCorrupted, "not lowercase hexadecimal");
        return static_cast<unsigned>(found - hexDigits);
    };
    if (hex.size() % 2 != 0) node.fail(DecodingError::Kind::dataCorrupted, "odd hexadecimal");
    std::string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2)
        bytes += static_cast<char>(digit(hex[i]) << 4 | digit(hex[i + 1]));
    return bytes;
}

}  // namespace

JSONValue JSONCoding<sim::PreferenceData>::encode(const sim::PreferenceData& p) {
    using Kind = sim::PreferenceData::Kind;
    switch (p.kind) {
        case Kind::boolean:
            return {{"bool", p.boolean}};
        case Kind::integer:
            return {{"integer", p.integer}};
        case Kind::real:
            return {{"real", p.real}};
        case Kind::string:
            return {{"string", p.text}};
        case Kind::date:
            return {{"date", p.real}};
        case Kind::data:
            return {{"data", hexOf(p.text)}};
        case Kind::array:
            return {{"array", encodeJSON(p.items)}};
        case Kind::dictionary:
            break;
    }
    JSONValue entries = JSONValue::object();
    for (std::size_t i = 0; i < p.keys.size() && i < p.items.size(); ++i)
        entries[p.keys[i]] = encodeJSON(p.items[i]);
    return {{"dictionary", std::move(entries)}};
}

sim::PreferenceData JSONCoding<sim::PreferenceData>::decode(const JSONNode& node) {
    using sim::PreferenceData;
    if (node.keys().size() != 1) node.fail(DecodingError::Kind::dataCorrupted, "not one kind");
    if (node.contains("bool")) return PreferenceData::makeBoolean(node.decode<bool>("bool"));
    if (node.contains("integer")) {
        return PreferenceData::makeInteger(node.decode<std::int64_t>("integer"));
    }
    if (node.contains("real")) return PreferenceData::makeReal(node.decode<double>("real"));
    if (node.contains("string")) {
        return PreferenceData::makeString(node.decode<std::string>("string"));
    }
    if (node.contains("date")) return PreferenceData::makeDate(node.decode<double>("date"));
    if (node.contains("data")) return PreferenceData::makeData(bytesOf(node["data"]));
    if (node.contains("array")) {
        return PreferenceData::makeArray(node.decode<std::vector<PreferenceData>>("array"));
    }
    if (node.contains("dictionary")) {
        const JSONNode entries = node["dictionary"];
        std::vector<std::pair<std::string, PreferenceData>> pairs;
        for (const std::string& key : entries.keys())
            pairs.emplace_back(key, entries[key].decode<PreferenceData>());
        return PreferenceData::makeDictionary(std::move(pairs));
    }
    node.fail(DecodingError::Kind::dataCorrupted, "not a preference value");
}

}  // namespace kelvo

namespace sim {

using kelvo::encodeJSON;
using kelvo::JSONNode;
using kelvo::JSONValue;
using kelvo::JSONWriter;

namespace {

constexpr std::array<std::pair<WorkspaceNotification::Kind, const char*>, 6> workspaceKinds = {{
    {WorkspaceNotification::Kind::launched, "launched"},
    {WorkspaceNotification::Kind::terminated, "terminated"},
    {WorkspaceNotification::Kind::activated, "activated"},
    {WorkspaceNotification::Kind::deactivated, "deactivated"},
    {WorkspaceNotification::Kind::hidden, "hidden"},
    {WorkspaceNotification::Kind::unhidden, "unhidden"},
}};

/// Where the picture's text lies in a drawing's line as the one writer writes it, keys sorted:
/// {"args":{"drawing":{"height":H,"packed":"TEXT",... ; none for a line of another shape, or
/// a text with an escape in it, which the parser then reads as any other.
std::optional<std::pair<std::size_t, std::size_t>> pictureTextOf(std::string_view line) {
    constexpr std::string_view height = "{\"height\":";
    constexpr std::string_view packed = ",\"packed\":\"";
    std::string_view rest = line;
    if (!rest.starts_with(DesktopMessages::drawingRequestPrefix)) return std::nullopt;
    rest.remove_prefix(std::string_view(DesktopMessages::drawingRequestPrefix).size());
    if (!rest.starts_with(height)) return std::nullopt;
    rest.remove_prefix(height.size());
    const std::size_t digits = rest.find_first_not_of("0123456789");
    if (digits == 0 || digits == std::string_view::npos) return std::nullopt;
    rest.remove_prefix(digits);
    if (!rest.starts_with(packed)) return std::nullopt;
    const std::size_t begin = line.size() - rest.size() + packed.size();
    const std::size_t end = line.find('"', begin);
    if (end == std::string_view::npos) return std::nullopt;
    if (line.substr(begin, end - begin).find('\\') != std::string_view::npos) return std::nullopt;
    return std::pair{begin, end};
}

JSONValue parseRequest(const std::string& line) {
    const auto text = pictureTextOf(line);
    if (!text) return JSONNode::parse(line);
    const auto [begin, end] = *text;
    std::string withoutText;
    withoutText.reserve(line.size() - (end - begin));
    withoutText.append(line, 0, begin).append(line, end);
    JSONValue message = JSONNode::parse(withoutText);
    message["args"]["drawing"]["packed"] = line.substr(begin, end - begin);
    return message;
}

std::optional<std::uint64_t> readID(const JSONValue& message) {
    if (!message.is_object()) return std::nullopt;
    auto id = message.find("id");
    if (id == message.end() || !id->is_number_unsigned()) return std::nullopt;
    return id->get<std::uint64_t>();
}

}  // namespace

std::string DesktopMessages::workspaceKind(WorkspaceNotification::Kind kind) {
    for (const auto& [k, raw] : workspaceKinds) {
        if (k == kind) return raw;
    }
    return "launched";
}

std::optional<WorkspaceNotification::Kind> DesktopMessages::workspaceKind(const std::string& raw) {
    for (const auto& [k, text] : workspaceKinds) {
        if (raw == text) return k;
    }
    return std::nullopt;
}

DesktopRequest DesktopMessages::decodeRequest(const std::string& line) {
    JSONValue message;
    try {
        message = parseRequest(line);
    } catch (const std::exception&) {
        throw UnreadableRequest(line, std::nullopt);
    }
    const auto id = readID(message);
    if (!message.is_object()) throw UnreadableRequest(line, id);
    if (message.contains("id") && !id) throw UnreadableRequest(line, std::nullopt);
    auto op = message.find("op");
    if (op == message.end() || !op->is_string()) throw UnreadableRequest(line, id);
    DesktopRequest request{id, op->get<std::string>(), JSONValue::object()};
    if (auto args = message.find("args"); args != message.end() && !args->is_null()) {
        if (!args->is_object()) throw UnreadableRequest(line, id);
        request.args = std::move(*args);
    }
    return request;
}

std::string DesktopMessages::reply(std::uint64_t id, const JSONValue& result) {
    return JSONWriter::write(JSONValue{{"id", id}, {"result", result}});
}

std::string DesktopMessages::failure(std::optional<std::uint64_t> id, const std::string& error) {
    JSONValue message = {{"error", error}};
    if (id) message["id"] = *id;
    return JSONWriter::write(message);
}

std::string DesktopMessages::waiting(std::uint64_t id) {
    return JSONWriter::write(JSONValue{{"id", id}, {"waiting", true}});
}

std::string DesktopMessages::eventName(const DesktopEvent& event) {
    struct Name {
        const char* operator()(const ObserverNotification&) const { return "observer"; }
        const char* operator()(const WorkspaceNotification&) const { return "workspace"; }
        const char* operator()(const ScreenParametersChanged&) const { return "screens"; }
        const char* operator()(const TapEventDelivery&) const { return "tap"; }
        const char* operator()(const TerminateRequested&) const { return "terminate"; }
        const char* operator()(const OwnWindowInput&) const { return "windowInput"; }
        const char* operator()(const StatusItemInput&) const { return "statusItemInput"; }
        const char* operator()(const CloseButtonPressed&) const { return "closeButton"; }
        const char* operator()(const ZoomButtonPressed&) const { return "zoomButton"; }
        const char* operator()(const KeyStatusLost&) const { return "keyStatusLost"; }
        const char* operator()(const MouseButtonsChanged&) const { return "mouseButtons"; }
    };
    return std::visit(Name{}, event);
}

JSONValue DesktopMessages::eventBody(const DesktopEvent& event) {
    struct Body {
        JSONValue operator()(const ObserverNotification& n) const {
            return {{"element", encodeJSON(n.element)}, {"name", n.name}, {"observer", n.observer}};
        }
        JSONValue operator()(const WorkspaceNotification& n) const {
            return {{"kind", workspaceKind(n.kind)}, {"pid", n.pid}};
        }
        JSONValue operator()(const ScreenParametersChanged&) const { return JSONValue::object(); }
        JSONValue operator()(const TapEventDelivery& d) const {
            return {{"delivery", d.delivery}, {"event", encodeJSON(d.event)}, {"tap", d.tap}};
        }
        JSONValue operator()(const TerminateRequested&) const { return JSONValue::object(); }
        JSONValue operator()(const OwnWindowInput& i) const {
            return {{"event", encodeJSON(i.event)}, {"window", i.window}};
        }
        JSONValue operator()(const StatusItemInput& i) const {
            return {{"event", encodeJSON(i.event)}, {"item", i.item}};
        }
        JSONValue operator()(const CloseButtonPressed& c) const { return {{"window", c.window}}; }
        JSONValue operator()(const ZoomButtonPressed& z) const { return {{"window", z.window}}; }
        JSONValue operator()(const KeyStatusLost& k) const { return {{"window", k.window}}; }
        JSONValue operator()(const MouseButtonsChanged& m) const {
            return {{"buttons", m.buttons}};
        }
    };
    return std::visit(Body{}, event);
}

std::string DesktopMessages::event(const DesktopEvent& event) {
    return JSONWriter::write(JSONValue{{"body", eventBody(event)}, {"event", eventName(event)}});
}

std::optional<DesktopEvent> DesktopMessages::decodeEvent(const std::string& name,
                                                         const JSONValue& body) {
    try {
        const JSONNode node(body);
        if (name == "observer") {
            return ObserverNotification{node.decode<std::uint64_t>("observer"),
                                        node.decode<ElementID>("element"),
                                        node.decode<std::string>("name")};
        }
        if (name == "workspace") {
            auto kind = workspaceKind(node.decode<std::string>("kind"));
            if (!kind) return std::nullopt;
            return WorkspaceNotification{*kind, node.decode<std::int32_t>("pid")};
        }
        if (name == "screens") return ScreenParametersChanged{};
        if (name == "tap") {
            return TapEventDelivery{node.decode<std::uint64_t>("tap"),
                                    node.decode<std::uint64_t>("delivery"),
                                    node.decode<InputEvent>("event")};
        }
        if (name == "terminate") return TerminateRequested{};
        if (name == "windowInput") {
            return OwnWindowInput{node.decode<WindowNumber>("window"),
                                  node.decode<InputEvent>("event")};
        }
        if (name == "statusItemInput") {
            return StatusItemInput{node.decode<std::uint64_t>("item"),
                                   node.decode<InputEvent>("event")};
        }
        if (name == "closeButton") return CloseButtonPressed{node.decode<WindowNumber>("window")};
        if (name == "zoomButton") return ZoomButtonPressed{node.decode<WindowNumber>("window")};
        if (name == "keyStatusLost") return KeyStatusLost{node.decode<WindowNumber>("window")};
        if (name == "mouseButtons") {
            return MouseButtonsChanged{node.decode<std::uint32_t>("buttons")};
        }
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

}  // namespace sim
