#include "Simulator/Server/DesktopMessages.h"

// The JSON forms of the system's own interface: file panels and colour panels.

namespace kelvo {

namespace {

template <class T>
T fieldOr(const JSONNode& node, const std::string& key, T fallback) {
    return node.decodeIfPresent<T>(key).value_or(std::move(fallback));
}

const char* kindName(sim::FilePanelSpec::Kind kind) {
    return kind == sim::FilePanelSpec::Kind::open ? "open" : "save";
}

}  // namespace

JSONValue JSONCoding<sim::ContentType>::encode(const sim::ContentType& t) {
    return {{"extension", t.filenameExtension}, {"identifier", t.identifier}};
}

sim::ContentType JSONCoding<sim::ContentType>::decode(const JSONNode& node) {
    return sim::ContentType{node.decode<std::string>("identifier"),
                            node.decode<std::string>("extension")};
}

JSONValue JSONCoding<sim::FilePanelSpec>::encode(const sim::FilePanelSpec& p) {
    JSONValue object = {{"allowedContentTypes", encodeJSON(p.allowedContentTypes)},
                        {"allowsMultipleSelection", p.allowsMultipleSelection},
                        {"canChooseDirectories", p.canChooseDirectories},
                        {"canChooseFiles", p.canChooseFiles},
                        {"canCreateDirectories", p.canCreateDirectories},
                        {"kind", kindName(p.kind)},
                        {"nameFieldStringValue", p.nameFieldStringValue},
                        {"title", p.title}};
    putIfPresent(object, "sheetOf", p.sheetOf);
    return object;
}

sim::FilePanelSpec JSONCoding<sim::FilePanelSpec>::decode(const JSONNode& node) {
    sim::FilePanelSpec p;
    const std::string kind = node.decode<std::string>("kind");
    if (kind != "save" && kind != "open")
        node.fail(DecodingError::Kind::dataCorrupted, "not a kind of file panel");
    p.kind = kind == "open" ? sim::FilePanelSpec::Kind::open : sim::FilePanelSpec::Kind::save;
    p.title = fieldOr<std::string>(node, "title", {});
    p.nameFieldStringValue = fieldOr<std::string>(node, "nameFieldStringValue", {});
    p.allowedContentTypes = fieldOr<std::vector<sim::ContentType>>(node, "allowedContentTypes", {});
    p.canCreateDirectories = fieldOr(node, "canCreateDirectories", false);
    p.canChooseFiles = fieldOr(node, "canChooseFiles", true);
    p.canChooseDirectories = fieldOr(node, "canChooseDirectories", false);
    p.allowsMultipleSelection = fieldOr(node, "allowsMultipleSelection", false);
    p.sheetOf = node.decodeIfPresent<sim::WindowNumber>("sheetOf");
    return p;
}

JSONValue JSONCoding<sim::FilePanelRecord>::encode(const sim::FilePanelRecord& r) {
    return {{"answer", r.answer.value_or(sim::filePanelCancelled)},
            {"owner", r.owner},
            {"panel", encodeJSON(r.panel)}};
}

sim::FilePanelRecord JSONCoding<sim::FilePanelRecord>::decode(const JSONNode& node) {
    sim::FilePanelRecord r;
    r.owner = node.decode<std::int32_t>("owner");
    r.panel = node.decode<sim::FilePanelSpec>("panel");
    const std::string answer = node.decode<std::string>("answer");
    if (answer != sim::filePanelCancelled) r.answer = answer;
    return r;
}

JSONValue JSONCoding<sim::ColorPanelSpec>::encode(const sim::ColorPanelSpec& p) {
    return {{"color", p.color}, {"showsAlpha", p.showsAlpha}};
}

sim::ColorPanelSpec JSONCoding<sim::ColorPanelSpec>::decode(const JSONNode& node) {
    return sim::ColorPanelSpec{fieldOr<std::string>(node, "color", {}),
                               fieldOr(node, "showsAlpha", false)};
}

JSONValue JSONCoding<sim::ColorPanelRecord>::encode(const sim::ColorPanelRecord& r) {
    JSONValue object = {{"owner", r.owner}, {"panel", encodeJSON(r.panel)}};
    putIfPresent(object, "picked", r.picked);
    return object;
}

sim::ColorPanelRecord JSONCoding<sim::ColorPanelRecord>::decode(const JSONNode& node) {
    return sim::ColorPanelRecord{node.decode<std::int32_t>("owner"),
                                 node.decode<sim::ColorPanelSpec>("panel"),
                                 node.decodeIfPresent<std::string>("picked")};
}

}  // namespace kelvo
