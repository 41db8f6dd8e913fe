#include "Base/JSON/JSONWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

#include "Base/Text/DecimalText.h"

namespace kelvo {

class JSONWriter::Emitter {
  public:
    explicit Emitter(const Options& options) : options_(options) {}

    std::string take() { return std::move(out_); }

    /// Writes the value with a loop over an explicit list of open arrays and objects, so that
    /// no depth of nesting (a layout tree of one long chain) can exhaust the call stack.
    void value(const JSONValue& top) {
        std::vector<Container> open;
        element(top, 0, open);
        while (!open.empty()) {
            Container& container = open.back();
            if (container.next == container.count) {
                close(container.isObject ? '}' : ']', container.depth);
                open.pop_back();
                continue;
            }
            const int depth = container.depth + 1;
            separator(container.next == 0, depth);
            const JSONValue* child = nullptr;
            if (container.isObject) {
                const auto& [key, member] = container.members[container.next];
                string(*key);
                out_ += options_.pretty ? " : " : ":";
                child = member;
            } else {
                child = &(*container.value)[container.next];
            }
            ++container.next;
            element(*child, depth, open);  // may add to `open`, so `container` is not used after
        }
    }

  private:
    /// An array or object whose elements are being written.
    struct Container {
        const JSONValue* value = nullptr;
        bool isObject = false;
        /// An object's members in writing order.
        std::vector<std::pair<const std::string*, const JSONValue*>> members;
        std::size_t count = 0;
        std::size_t next = 0;
        int depth = 0;
    };

    /// Writes a scalar or an empty container whole; opens any other container and lists it.
    void element(const JSONValue& v, int depth, std::vector<Container>& open) {
        switch (v.type()) {
            case JSONValue::value_t::null:
                out_ += "null";
                return;
            case JSONValue::value_t::boolean:
                out_ += v.get<bool>() ? "true" : "false";
                return;
            case JSONValue::value_t::number_integer:
                out_ += std::to_string(v.get<std::int64_t>());
                return;
            case JSONValue::value_t::number_unsigned:
                out_ += std::to_string(v.get<std::uint64_t>());
                return;
            case JSONValue::value_t::number_float:
                number(v.get<double>());
                return;
            case JSONValue::value_t::string:
                string(v.get_ref<const std::string&>());
                return;
            case JSONValue::value_t::array:
            case JSONValue::value_t::object:
                openContainer(v, depth, open);
                return;
            case JSONValue::value_t::binary:
            case JSONValue::value_t::discarded:
                throw EncodingError("Value has no JSON form.");
        }
    }

    void openContainer(const JSONValue& v, int depth, std::vector<Container>& open) {
        const bool isObject = v.is_object();
        if (v.empty()) {
            out_ += isObject ? "{}" : "[]";
            return;
        }
        Container container{.value = &v,
                            .isObject = isObject,
                            .members = {},
                            .count = v.size(),
                            .next = 0,
                            .depth = depth};
        if (isObject) {
            container.members.reserve(v.size());
            for (auto it = v.begin(); it != v.end(); ++it)
                container.members.emplace_back(&it.key(), &it.value());
            if (options_.sortKeys) {
                std::stable_sort(container.members.begin(), container.members.end(),
                                 [](const auto& a, const auto& b) { return *a.first < *b.first; });
            }
        }
        out_ += isObject ? '{' : '[';
        open.push_back(std::move(container));
    }

    void number(double d) {
        if (!std::isfinite(d)) throw EncodingError("Unable to encode a non-finite number.");
        // Integral values carry no fraction (1080, not 1080.0), and round ones no exponent
        // (1000000000, not 1e+09).
        out_ += DecimalText::withoutPointZero(d);
    }

    void string(const std::string& s) {
        out_.reserve(out_.size() + s.size() + 2);
        out_ += '"';
        std::size_t i = 0;
        while (i < s.size()) {
            // What needs no escaping is copied in one piece: most text, and all of a picture's.
            const std::size_t plain = plainLength(s, i);
            out_.append(s, i, plain);
            i += plain;
            if (i == s.size()) break;
            const auto c = static_cast<unsigned char>(s[i]);
            if (c < 0x80) {
                ascii(static_cast<char>(c));
                ++i;
                continue;
            }
            const std::size_t length = validSequenceLength(s, i);
            if (length == 0) {
                out_ += "\xEF\xBF\xBD";  // U+FFFD for a malformed byte
                ++i;
            } else {
                out_.append(s, i, length);
                i += length;
            }
        }
        out_ += '"';
    }

    /// How many characters from `i` on are printable ASCII that is written as it is.
    std::size_t plainLength(const std::string& s, std::size_t i) const {
        std::size_t end = i;
        while (end < s.size()) {
            const auto c = static_cast<unsigned char>(s[end]);
            if (c < 0x20 || c >= 0x80 || c == '"' || c == '\\' ||
                (c == '/' && options_.escapeSlash))
                break;
            ++end;
        }
        return end - i;
    }

    void ascii(char c) {
        switch (c) {
            case '"':
                out_ += "\\\"";
                return;
            case '\\':
                out_ += "\\\\";
                return;
            case '/':
                out_ += options_.escapeSlash ? "\\/" : "/";
                return;
            case '\b':
                out_ += "\\b";
                return;
            case '\f':
                out_ += "\\f";
                return;
            case '\n':
                out_ += "\\n";
                return;
            case '\r':
                out_ += "\\r";
                return;
            case '\t':
                out_ += "\\t";
                return;
            default:
                break;
        }
        if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out_ += escaped;
        } else {
            out_ += c;
        }
    }

    /// The length of the well-formed UTF-8 sequence starting at i, or 0 when it is malformed
    /// (overlong forms, surrogates and values past U+10FFFF included).
    static std::size_t validSequenceLength(const std::string& s, std::size_t i) {
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
        const unsigned char lead = byte(i);
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            return 0;
        }
        if (i + length > s.size()) return 0;
        if (byte(i + 1) < low || byte(i + 1) > high) return 0;
        for (std::size_t k = 2; k < length; ++k) {
            if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
        }
        return length;
    }

    void separator(bool first, int depth) {
        if (!first) out_ += ',';
        if (options_.pretty) newline(depth);
    }

    void close(char bracket, int depth) {
        if (options_.pretty) newline(depth);
        out_ += bracket;
    }

    void newline(int depth) {
        out_ += '\n';
        out_.append(static_cast<std::size_t>(depth) * 2, ' ');
    }

    const Options& options_;
    std::string out_;
};

std::string JSONWriter::write(const JSONValue& value, const Options& options) {
    Emitter emitter(options);
    emitter.value(value);
    return emitter.take();
}

std::string JSONWriter::write(const JSONValue& value) {
    return write(value, compact());
}

}  // namespace kelvo
