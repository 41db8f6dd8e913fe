#include "RequestLine.h"

#include <algorithm>

#include "Base/JSON/JSONDecoder.h"

namespace kelvo_fixture {

using kelvo::DecodingError;
using kelvo::FixtureQuirk;
using kelvo::FixtureRequest;
using kelvo::JSONNode;
using kelvo::JSONValue;

namespace {

std::string joined(const std::vector<std::string>& items) {
    std::string text;
    for (const auto& item : items)
        text += (text.empty() ? "" : ", ") + item;
    return text;
}

std::string quirkNames() {
    std::vector<std::string> names;
    for (const FixtureQuirk quirk : kelvo::fixture_quirk::allCases)
        names.push_back(kelvo::rawValue(quirk));
    return joined(names);
}

/// Why the decoding failed, told by the field it failed on.
std::string problemWith(const DecodingError& error, const JSONValue& object) {
    if (error.kind() == DecodingError::Kind::keyNotFound) {
        return "the field \"" + error.missingKey() + "\" is missing";
    }
    const std::string field = error.pathText();
    const auto quirk = object.find("quirk");
    if (field == "quirk" && quirk != object.end() && quirk->is_string()) {
        return "the field \"quirk\" holds \"" + quirk->get<std::string>() +
               "\", which is no quirk (the quirks are " + quirkNames() + ")";
    }
    return "the field \"" + field + "\" is wrong: " + error.debugDescription();
}

}  // namespace

const std::vector<std::string>& RequestLine::fieldNames() {
    // The keys a request with every field written has, so the list follows the wire type.
    static const std::vector<std::string> names = [] {
        const FixtureRequest full("op", FixtureQuirk::plain, "", 0, 0, 0, 0, 0, 0);
        const JSONValue written = kelvo::JSONCoding<FixtureRequest>::encode(full);
        std::vector<std::string> keys;
        for (const auto& [key, value] : written.items())
            keys.push_back(key);
        std::sort(keys.begin(), keys.end());
        return keys;
    }();
    return names;
}

RequestLine RequestLine::read(const std::string& line) {
    JSONValue document;
    try {
        document = JSONNode::parse(line);
    } catch (const DecodingError&) {
        return {std::nullopt, "not one JSON object"};
    }
    if (!document.is_object()) return {std::nullopt, "not one JSON object"};
    for (const auto& [key, value] : document.items()) {
        const auto& names = fieldNames();
        if (std::find(names.begin(), names.end(), key) == names.end()) {
            return {std::nullopt,
                    "no field is named \"" + key + "\" (the fields are " + joined(names) + ")"};
        }
    }
    try {
        return {JSONNode(document).decode<FixtureRequest>(), {}};
    } catch (const DecodingError& error) {
        return {std::nullopt, problemWith(error, document)};
    }
}

}  // namespace kelvo_fixture
