#include "KelvoCore/JSON/JSONWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace kelvo {

class JSONWriter::Emitter {
  public:
    explicit Emitter(const Options& options) : options_(options) {}

    std::string take() { return std::move(out_); }

    void value(const JSONValue& v, int depth) {
        switch (v.type()) {
            case JSONValue::value_t::null:
                out_ += "null";
                break;
            case JSONValue::value_t::boolean:
                out_ += v.get<bool>() ? "true" : "false";
                break;
            case JSONValue::value_t::number_integer:
                out_ += std::to_string(v.get<std::int64_t>());
                break;
            case JSONValue::value_t::number_unsigned:
                out_ += std::to_string(v.get<std::uint64_t>());
                break;
            case JSONValue::value_t::number_float:
                number(v.get<double>());
                break;
            case JSONValue::value_t::string:
                string(v.get_ref<const std::string&>());
                break;
            case JSONValue::value_t::array:
                array(v, depth);
                break;
            case JSONValue::value_t::object:
                object(v, depth);
                break;
            case JSONValue::value_t::binary:
            case JSONValue::value_t::discarded:
                throw EncodingError("Value has no JSON form.");
        }
    }

  private:
    void number(double d) {
        if (!std::isfinite(d)) throw EncodingError("Unable to encode a non-finite number.");
        char buffer[64];
        // The shortest text that reads back to the same double; integral values carry no
        // fraction (1080, not 1080.0).
        auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, d);
        out_.append(buffer, end);
    }

    void string(const std::string& s) {
        out_ += '"';
        std::size_t i = 0;
        while (i < s.size()) {
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

    void array(const JSONValue& v, int depth) {
        if (v.empty()) {
            out_ += "[]";
            return;
        }
        out_ += '[';
        bool first = true;
        for (const auto& element : v) {
            separator(first, depth + 1);
            value(element, depth + 1);
        }
        close(']', depth);
    }

    void object(const JSONValue& v, int depth) {
        if (v.empty()) {
            out_ += "{}";
            return;
        }
        std::vector<std::pair<const std::string*, const JSONValue*>> members;
        members.reserve(v.size());
        for (auto it = v.begin(); it != v.end(); ++it)
            members.emplace_back(&it.key(), &it.value());
        if (options_.sortKeys) {
            std::stable_sort(members.begin(), members.end(),
                             [](const auto& a, const auto& b) { return *a.first < *b.first; });
        }
        out_ += '{';
        bool first = true;
        for (const auto& [key, member] : members) {
            separator(first, depth + 1);
            string(*key);
            out_ += options_.pretty ? " : " : ":";
            value(*member, depth + 1);
        }
        close('}', depth);
    }

    void separator(bool& first, int depth) {
        if (!first) out_ += ',';
        first = false;
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
    emitter.value(value, 0);
    return emitter.take();
}

std::string JSONWriter::write(const JSONValue& value) {
    return write(value, compact());
}

}  // namespace kelvo
