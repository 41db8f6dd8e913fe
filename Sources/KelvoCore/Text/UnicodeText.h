#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

/// The few things the system needs of text that byte strings cannot do: counting and cutting
/// user-perceived characters (extended grapheme clusters) and telling canonically equivalent
/// spellings apart from different texts ("é" precomposed and "e" with a combining accent are
/// the same text). All functions take UTF-8; ill-formed bytes never fail, they are carried
/// through as they are.
class UnicodeText {
  public:
    /// The text split into its user-perceived characters, in order.
    static std::vector<std::string> characters(std::string_view text);
    static std::size_t characterCount(std::string_view text);
    /// The first `count` characters (the whole text when it has fewer).
    static std::string prefix(std::string_view text, std::size_t count);

    /// The composed normal form (NFC); two texts are canonically equivalent exactly when
    /// their canonical forms are the same bytes.
    static std::string canonicalForm(std::string_view text);
    static bool canonicallyEquivalent(std::string_view a, std::string_view b);
    /// Orders texts by their canonical forms; equivalent spellings compare equal.
    static int canonicalCompare(std::string_view a, std::string_view b);

    /// Drops white space (space separators and tab) and line breaks from both ends.
    static std::string trimmingWhitespaceAndNewlines(std::string_view text);

  private:
    static bool isASCII(std::string_view text);
};

/// Strict weak order of texts up to canonical equivalence.
struct CanonicalOrder {
    bool operator()(const std::string& a, const std::string& b) const {
        return UnicodeText::canonicalCompare(a, b) < 0;
    }
};

}  // namespace kelvo
