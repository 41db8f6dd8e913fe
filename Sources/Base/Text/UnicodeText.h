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
    /// Byte offsets of every character boundary, 0 and the text's length included, written
    /// over `boundaries`; its storage is reused, so a caller walking many texts allocates once.
    static void characterBoundaries(std::string_view text, std::vector<std::size_t>& boundaries);
    static std::vector<std::size_t> characterBoundaries(std::string_view text);

    /// The composed normal form (NFC); two texts are canonically equivalent exactly when
    /// their canonical forms are the same bytes.
    static std::string canonicalForm(std::string_view text);
    static bool canonicallyEquivalent(std::string_view a, std::string_view b);
    /// Orders texts by their canonical forms; equivalent spellings compare equal.
    static int canonicalCompare(std::string_view a, std::string_view b);

    /// Orders texts as people of the user's locale sort names, ignoring case (as the
    /// platform's localized case-insensitive comparison): -1, 0 or 1.
    static int localizedCaseInsensitiveCompare(std::string_view a, std::string_view b);

    /// The full lowercase and uppercase mappings (one character may map to several, as "İ" to
    /// "i̇" and "ß" to "SS"), the same in every locale.
    static std::string lowercased(std::string_view text);
    static std::string uppercased(std::string_view text);
    /// The first character of one character's full lowercase form, in canonical form (the
    /// character itself when that form is empty). Two characters are the same letter up to case
    /// and canonical equivalence exactly when these are the same bytes.
    static std::string lowercaseCharacter(std::string_view character);

    /// The case of one user-perceived character: a single code point with the Lowercase
    /// (Uppercase) property, or a cased character that lowercasing (uppercasing) leaves as it is.
    /// Characters without case, such as digits and separators, are neither.
    static bool isLowercase(std::string_view character);
    static bool isUppercase(std::string_view character);
    /// A single code point with the Cased property, or a character that lowercasing or
    /// uppercasing changes.
    static bool isCased(std::string_view character);

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
