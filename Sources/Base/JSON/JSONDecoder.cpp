#include "Base/JSON/JSONDecoder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kelvo {

namespace {

std::string joined(const std::vector<std::string>& path) {
    std::string text;
    for (const auto& component : path) {
        if (!text.empty()) text += ".";
        text += component;
    }
    return text;
}

std::string describedAt(const std::vector<std::string>& path, const std::string& description) {
    return path.empty() ? description : joined(path) + ": " + description;
}

}  // namespace

DecodingError::DecodingError(Kind kind, std::vector<std::string> codingPath,
                             std::string debugDescription, std::string missingKey)
    : std::runtime_error(describedAt(codingPath, debugDescription)),
      kind_(kind),
      codingPath_(std::move(codingPath)),
      debugDescription_(std::move(debugDescription)),
      missingKey_(std::move(missingKey)) {}

std::string DecodingError::pathText() const {
    return joined(codingPath_);
}

JSONNode::JSONNode(const JSONValue& value, std::vector<std::string> path)
    : value_(&value), path_(std::move(path)) {}

namespace {

/// The deepest nesting of arrays and objects in the text, counted outside strings. Checked
/// before parsing so that neither the parser nor any decoder walks an absurdly deep document.
int nestingDepth(std::string_view text) {
    int depth = 0;
    int deepest = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

}  // namespace

namespace {

/// Builds a document from the parser's events with a loop-driven stack, every container from
/// its finished members: an object's members are gathered first and moved into it with room
/// for all of them, so that its storage never grows with a deep member inside (growing it
/// would copy that member, by recursion and at a cost that grows with its depth).
class DocumentBuilder : public nlohmann::json_sax<JSONValue> {
  public:
    std::optional<JSONValue> take() { return std::move(result_); }

    bool null() override { return put(nullptr); }
    bool boolean(bool v) override { return put(v); }
    bool number_integer(number_integer_t v) override { return put(v); }
    bool number_unsigned(number_unsigned_t v) override { return put(v); }
    bool number_float(number_float_t v, const string_t&) override { return put(v); }
    bool string(string_t& v) override { return put(std::move(v)); }
    bool binary(binary_t&) override { return false; }

    bool start_object(std::size_t) override {
        open_.emplace_back().isObject = true;
        return true;
    }
    bool key(string_t& key) override {
        open_.back().key = std::move(key);
        return true;
    }
    bool end_object() override {
        Container finished = std::move(open_.back());
        open_.pop_back();
        return put(object(std::move(finished.members)));
    }
    bool start_array(std::size_t) override {
        open_.emplace_back().array = JSONValue::array();
        return true;
    }
    bool end_array() override {
        JSONValue array = std::move(open_.back().array);
        open_.pop_back();
        return put(std::move(array));
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }

  private:
    struct Container {
        bool isObject = false;
        JSONValue array;
        std::vector<std::pair<std::string, JSONValue>> members;
        std::string key;
    };

    /// A key given twice keeps its first place and takes its last value, as the parser's own
    /// documents do.
    static JSONValue object(std::vector<std::pair<std::string, JSONValue>> members) {
        JSONValue object = JSONValue::object();
        auto& map = object.get_ref<JSONValue::object_t&>();
        map.reserve(members.size());
        std::unordered_map<std::string_view, std::size_t> placed;
        for (auto& [key, value] : members) {
            if (auto it = placed.find(key); it != placed.end()) {
                (map.begin() + static_cast<std::ptrdiff_t>(it->second))->second = std::move(value);
                continue;
            }
            map.emplace_back(std::move(key), std::move(value));
            placed.emplace(map.back().first, map.size() - 1);
        }
        return object;
    }

    bool put(JSONValue value) {
        if (open_.empty()) {
            result_ = std::move(value);
        } else if (Container& container = open_.back(); container.isObject) {
            container.members.emplace_back(std::move(container.key), std::move(value));
        } else {
            container.array.push_back(std::move(value));
        }
        return true;
    }

    std::vector<Container> open_;
    std::optional<JSONValue> result_;
};

/// Reads the text once more, taking every value and dropping it, only to learn how far the
/// parser got: the count of characters it had read when it gave up, the one it could not take
/// included (one past the end when the text ended too soon), and whether what stopped it was a
/// number too large for a double rather than a character out of place.
class ErrorLocator : public nlohmann::json_sax<JSONValue> {
  public:
    struct Stop {
        std::size_t position = 0;
        bool numberTooLarge = false;
    };
    static std::optional<Stop> stop(std::string_view text) {
        ErrorLocator locator;
        JSONValue::sax_parse(text.begin(), text.end(), &locator);
        return locator.stop_;
    }

    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override { return true; }
    bool key(string_t&) override { return true; }
    bool end_object() override { return true; }
    bool start_array(std::size_t) override { return true; }
    bool end_array() override { return true; }
    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::detail::exception& error) override {
        stop_ = Stop{position, error.id == numberOverflow};
        return false;
    }

  private:
    /// The parser's code for a number that overflows a double.
    static constexpr int numberOverflow = 406;
    std::optional<Stop> stop_;
};

bool continuesCharacter(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

/// The character at `at` as a person reads it in an editor: itself in quotes, a control
/// character or a byte that starts no UTF-8 character by its code.
std::string shownCharacter(std::string_view text, std::size_t at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    std::size_t end = at + 1;
    while (end < text.size() && continuesCharacter(text[end]))
        ++end;
    const std::size_t length = byte < 0x80 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
    char code[16];
    if (byte < 0x20 || byte == 0x7F) {
        std::snprintf(code, sizeof code, "U+%04X", byte);
        return std::string("character ") + code;
    }
    if (byte >= 0x80 && (byte < 0xC2 || byte > 0xF4 || end - at != length)) {
        std::snprintf(code, sizeof code, "0x%02X", byte);
        return std::string("byte ") + code;
    }
    return "character '" + std::string(text.substr(at, end - at)) + "'";
}

/// "around line L, column C" of the byte at `at`: both from 1, the column in characters.
std::string placeOf(std::string_view text, std::size_t at) {
    std::size_t line = 1;
    std::size_t column = 1;
    for (std::size_t i = 0; i < at && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else if (!continuesCharacter(text[i])) {
            ++column;
        }
    }
    return "around line " + std::to_string(line) + ", column " + std::to_string(column);
}

/// Text that is not one JSON value, told with the place where the parser gave up.
[[noreturn]] void notJSON(std::string_view text) {
    std::string description = "The given data was not valid JSON.";
    if (const auto stop = ErrorLocator::stop(text); stop && stop->position > 0) {
        const std::size_t at = std::min(stop->position - 1, text.size());
        if (stop->numberTooLarge) {
            description += " A number too large for a double ends " + placeOf(text, at) + ".";
        } else if (at < text.size()) {
            description +=
                " Unexpected " + shownCharacter(text, at) + " " + placeOf(text, at) + ".";
        } else {
            description += " Unexpected end of the text " + placeOf(text, at) + ".";
        }
    }
    throw DecodingError(DecodingError::Kind::dataCorrupted, {}, std::move(description));
}

}  // namespace

JSONValue JSONNode::parse(std::string_view text) {
    if (nestingDepth(text) > maximumDepth) {
        throw DecodingError(DecodingError::Kind::dataCorrupted, {},
                            "Too many nested arrays or dictionaries.");
    }
    JSONValue value = JSONValue::parse(text.begin(), text.end(), nullptr,
                                       /*allow_exceptions=*/false, /*ignore_comments=*/false);
    if (value.is_discarded()) notJSON(text);
    return value;
}

JSONValue JSONNode::parseDeep(std::string_view text) {
    DocumentBuilder builder;
    if (!JSONValue::sax_parse(text.begin(), text.end(), &builder)) notJSON(text);
    std::optional<JSONValue> value = builder.take();
    if (!value) notJSON(text);
    return std::move(*value);
}

bool JSONNode::isNull() const {
    return value_->is_null();
}
bool JSONNode::isObject() const {
    return value_->is_object();
}

void JSONNode::fail(DecodingError::Kind kind, const std::string& description) const {
    throw DecodingError(kind, path_, description);
}

void JSONNode::typeMismatch(const std::string& expected) const {
    fail(DecodingError::Kind::typeMismatch,
         "Expected to decode " + expected + " but found " + value_->type_name() + " instead.");
}

void JSONNode::requireNonNull(const std::string& expected) const {
    if (value_->is_null()) {
        fail(DecodingError::Kind::valueNotFound,
             "Expected " + expected + " value but found null instead.");
    }
}

void JSONNode::requireObject() const {
    requireNonNull("Dictionary");
    if (!value_->is_object()) typeMismatch("Dictionary");
}

std::vector<std::string> JSONNode::childPath(const std::string& component) const {
    std::vector<std::string> path = path_;
    path.push_back(component);
    return path;
}

bool JSONNode::contains(const std::string& key) const {
    requireObject();
    return value_->contains(key);
}

JSONNode JSONNode::operator[](const std::string& key) const {
    requireObject();
    auto it = value_->find(key);
    if (it == value_->end()) {
        throw DecodingError(DecodingError::Kind::keyNotFound, path_,
                            "No value associated with key \"" + key + "\".", key);
    }
    return JSONNode(*it, childPath(key));
}

std::optional<JSONNode> JSONNode::optional(const std::string& key) const {
    requireObject();
    auto it = value_->find(key);
    if (it == value_->end() || it->is_null()) return std::nullopt;
    return JSONNode(*it, childPath(key));
}

std::vector<std::string> JSONNode::keys() const {
    requireObject();
    std::vector<std::string> keys;
    keys.reserve(value_->size());
    for (auto it = value_->begin(); it != value_->end(); ++it)
        keys.push_back(it.key());
    return keys;
}

std::vector<JSONNode> JSONNode::elements() const {
    requireNonNull("Array");
    if (!value_->is_array()) typeMismatch("Array");
    std::vector<JSONNode> elements;
    elements.reserve(value_->size());
    for (std::size_t i = 0; i < value_->size(); ++i) {
        elements.emplace_back((*value_)[i], childPath("Index " + std::to_string(i)));
    }
    return elements;
}

bool JSONNode::boolean() const {
    requireNonNull("Bool");
    if (!value_->is_boolean()) typeMismatch("Bool");
    return value_->get<bool>();
}

std::string JSONNode::string() const {
    requireNonNull("String");
    if (!value_->is_string()) typeMismatch("String");
    return value_->get<std::string>();
}

double JSONNode::number() const {
    requireNonNull("Double");
    if (!value_->is_number()) typeMismatch("Double");
    const double v = value_->get<double>();
    if (!std::isfinite(v)) {
        fail(DecodingError::Kind::dataCorrupted,
             "Parsed JSON number " + value_->dump() + " does not fit in Double.");
    }
    return v;
}

std::int64_t JSONNode::signedValue(std::int64_t min, std::int64_t max) const {
    requireNonNull("Int");
    if (!value_->is_number()) typeMismatch("Int");
    const auto outOfRange = [&]() {
        fail(DecodingError::Kind::dataCorrupted,
             "Parsed JSON number <" + value_->dump() + "> does not fit.");
    };
    if (value_->is_number_unsigned()) {
        const auto v = value_->get<std::uint64_t>();
        if (v > static_cast<std::uint64_t>(max)) outOfRange();
        return static_cast<std::int64_t>(v);
    }
    if (value_->is_number_integer()) {
        const auto v = value_->get<std::int64_t>();
        if (v < min || v > max) outOfRange();
        return v;
    }
    // A number written with a fraction or an exponent counts when it is integral and fits.
    const double d = value_->get<double>();
    // The smallest Int64 as a double also stands for texts just below it that do not fit.
    const bool belowInt64 =
        min == std::numeric_limits<std::int64_t>::min() && d <= static_cast<double>(min);
    if (!std::isfinite(d) || std::trunc(d) != d || d < static_cast<double>(min) || belowInt64 ||
        d >= -static_cast<double>(min) || d > static_cast<double>(max)) {
        outOfRange();
    }
    return static_cast<std::int64_t>(d);
}

std::uint64_t JSONNode::unsignedValue(std::uint64_t max) const {
    requireNonNull("UInt");
    if (!value_->is_number()) typeMismatch("UInt");
    const auto outOfRange = [&]() {
        fail(DecodingError::Kind::dataCorrupted,
             "Parsed JSON number <" + value_->dump() + "> does not fit.");
    };
    if (value_->is_number_unsigned()) {
        const auto v = value_->get<std::uint64_t>();
        if (v > max) outOfRange();
        return v;
    }
    if (value_->is_number_integer()) {
        const auto v = value_->get<std::int64_t>();
        if (v < 0 || static_cast<std::uint64_t>(v) > max) outOfRange();
        return static_cast<std::uint64_t>(v);
    }
    const double d = value_->get<double>();
    // 2^64 as a double; anything at or above it cannot be converted.
    constexpr double limit = 18446744073709551616.0;
    if (!std::isfinite(d) || std::trunc(d) != d || d < 0 || d >= limit ||
        static_cast<std::uint64_t>(d) > max) {
        outOfRange();
    }
    return static_cast<std::uint64_t>(d);
}

}  // namespace kelvo
