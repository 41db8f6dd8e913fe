#pragma once

#include <stdexcept>
#include <string>

#include "Base/JSON/JSONValue.h"

namespace kelvo {

/// A value that JSON cannot carry (a number that is not finite). The caller writes nothing.
class EncodingError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// The one JSON writer of the system: every file and every line format goes through it, so
/// they all agree on key order, escaping and number forms.
class JSONWriter {
  public:
    struct Options {
        /// Two-space indentation and " : " between key and value; compact otherwise (no
        /// spaces, no line breaks).
        bool pretty = false;
        /// Keys in ascending byte order at every level; otherwise in the value's own order.
        bool sortKeys = true;
        /// "/" inside strings written as "\/".
        bool escapeSlash = true;
    };

    static Options compact() { return Options{}; }
    static Options prettyPrinted() { return Options{.pretty = true}; }

    /// Throws EncodingError for a number that is not finite. Integers come out as digits; a
    /// double as the shortest text that reads back to it, without a trailing ".0". Invalid
    /// UTF-8 inside a string is replaced by U+FFFD.
    static std::string write(const JSONValue& value, const Options& options);
    /// Compact, sorted keys, slashes escaped.
    static std::string write(const JSONValue& value);

  private:
    class Emitter;
};

}  // namespace kelvo
