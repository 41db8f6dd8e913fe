#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "Base/JSON/JSONValue.h"

namespace kelvo {

/// Why a JSON value could not be decoded, with the coding path (the keys from the top-level
/// value down to the bad one; array positions read "Index N"). Its description (`what()`) is
/// the debug description after the coding path, so that a person reading it knows where to look:
/// `gaps.inner: Expected to decode Double but found string instead.`; text that is not JSON at
/// all says the line and column where it goes wrong in its debug description.
class DecodingError : public std::runtime_error {
  public:
    enum class Kind {
        typeMismatch,   // a value of the wrong kind
        valueNotFound,  // null where a value is required
        keyNotFound,    // a required key is missing
        dataCorrupted,  // the right kind but not valid (a number out of range, not JSON at all)
    };

    DecodingError(Kind kind, std::vector<std::string> codingPath, std::string debugDescription,
                  std::string missingKey = {});

    Kind kind() const { return kind_; }
    const std::vector<std::string>& codingPath() const { return codingPath_; }
    const std::string& debugDescription() const { return debugDescription_; }
    /// For keyNotFound: the name of the missing key.
    const std::string& missingKey() const { return missingKey_; }
    /// The coding path joined with ".".
    std::string pathText() const;

  private:
    Kind kind_;
    std::vector<std::string> codingPath_;
    std::string debugDescription_;
    std::string missingKey_;
};

template <class T>
struct JSONCoding;

/// A read-only view of one value inside a parsed document together with its coding path.
/// Every accessor checks the kind of value it reads and throws DecodingError otherwise.
class JSONNode {
  public:
    /// Nesting deeper than this is refused when parsing, so no decoder can recurse without end.
    static constexpr int maximumDepth = 512;

    explicit JSONNode(const JSONValue& value, std::vector<std::string> path = {});

    /// Parses UTF-8 text into a document; whitespace around the one value is allowed.
    /// Throws DecodingError (dataCorrupted, empty path) when the text is not one JSON value.
    static JSONValue parse(std::string_view text);
    /// The same without the nesting limit, for the documents whose decoders walk any depth
    /// with a loop (a layout tree, the session file). Parsing itself does not recurse.
    static JSONValue parseDeep(std::string_view text);

    const JSONValue& value() const { return *value_; }
    const std::vector<std::string>& path() const { return path_; }

    bool isNull() const;
    bool isObject() const;

    // Objects. Each throws typeMismatch when this value is not an object.
    /// True when the key is present, whatever its value (null included).
    bool contains(const std::string& key) const;
    /// The member under the key; keyNotFound when it is missing.
    JSONNode operator[](const std::string& key) const;
    /// The member, or none when the key is missing or holds null.
    std::optional<JSONNode> optional(const std::string& key) const;
    /// The keys in document order.
    std::vector<std::string> keys() const;

    // Arrays. Throws typeMismatch when this value is not an array.
    std::vector<JSONNode> elements() const;

    // Scalars. A null gives valueNotFound, another kind typeMismatch.
    bool boolean() const;
    std::string string() const;
    /// Any finite JSON number.
    double number() const;
    /// A JSON number that is integral and fits in Int; dataCorrupted otherwise.
    template <class Int>
    Int integer() const;

    /// Decodes the whole value through its JSONCoding.
    template <class T>
    T decode() const {
        return JSONCoding<T>::decode(*this);
    }
    /// Decodes a required member.
    template <class T>
    T decode(const std::string& key) const {
        return (*this)[key].template decode<T>();
    }
    /// Decodes an optional member: none when missing or null.
    template <class T>
    std::optional<T> decodeIfPresent(const std::string& key) const {
        if (auto member = optional(key)) return member->template decode<T>();
        return std::nullopt;
    }

    [[noreturn]] void fail(DecodingError::Kind kind, const std::string& description) const;
    [[noreturn]] void typeMismatch(const std::string& expected) const;

  private:
    void requireNonNull(const std::string& expected) const;
    void requireObject() const;
    std::int64_t signedValue(std::int64_t min, std::int64_t max) const;
    std::uint64_t unsignedValue(std::uint64_t max) const;
    std::vector<std::string> childPath(const std::string& component) const;

    const JSONValue* value_;
    std::vector<std::string> path_;
};

template <class Int>
Int JSONNode::integer() const {
    static_assert(std::numeric_limits<Int>::is_integer);
    if constexpr (std::numeric_limits<Int>::is_signed) {
        return static_cast<Int>(
            signedValue(std::numeric_limits<Int>::min(), std::numeric_limits<Int>::max()));
    } else {
        return static_cast<Int>(unsignedValue(std::numeric_limits<Int>::max()));
    }
}

}  // namespace kelvo
