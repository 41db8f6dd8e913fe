#pragma once

#include <compare>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "KelvoCore/Launcher/LauncherEntry.h"

namespace kelvo {

/// The fuzzy search of the launcher and the settings search: how well a typed query fits a
/// text, which of several fields it fits best, and the order of launcher entries for a query.
/// Pure functions of their arguments, callable from any thread.
///
/// Texts are compared character by character (user-perceived characters), each folded to the
/// first character of its lowercase form, so case and canonically equivalent spellings never
/// matter.
class LauncherMatcher {
  public:
    /// For a match at the first character of a word.
    static constexpr int wordStartBonus = 8;
    /// For a match right after the previous one.
    static constexpr int consecutiveBonus = 4;
    /// For a text that begins with the whole query.
    static constexpr int prefixBonus = 16;

    /// The 16 characters that end a word, in a fixed order: space - _ . / \ ( ) [ ] + : , &
    /// and both apostrophes (' and ’).
    static const std::vector<std::string>& separators();
    static bool isSeparator(std::string_view character);

    /// One text a query can hit: a `name` is matched fuzzily, `prose` (running text such as a
    /// description) only as a contiguous run.
    struct Field {
        enum class Kind { name, prose };

        std::string text;
        Kind kind = Kind::name;

        bool operator==(const Field& other) const;
    };

    /// The field a query hit and how well. Hits on earlier fields are greater; on one field the
    /// higher score is greater.
    struct Hit {
        int field = 0;
        int score = 0;

        bool operator==(const Hit&) const = default;
        std::strong_ordering operator<=>(const Hit& other) const;
    };

    struct FoldedText;

    /// Fields folded once, so that query after query is matched against them without folding
    /// them again. Copies share what was folded, which never changes.
    class FoldedFields {
      public:
        FoldedFields() = default;
        explicit FoldedFields(const std::vector<Field>& fields);

      private:
        friend class LauncherMatcher;
        std::vector<std::shared_ptr<const FoldedText>> fields_;
    };

    /// The fuzzy score of the query in the text; none when the text lacks a query character
    /// in order. The empty query fits every text with 0.
    static std::optional<int> score(std::string_view query, std::string_view text);
    /// The best hit over the fields: always the first field that the query fits.
    static std::optional<Hit> score(std::string_view query, const std::vector<Field>& fields);
    /// The same over fields folded before.
    static std::optional<Hit> score(std::string_view query, const FoldedFields& fields);

    /// The entries whose names fit the query, best first: by score, then running before not
    /// running, then by lowercased name, then by bundle identifier.
    static std::vector<LauncherEntry> rank(std::string_view query,
                                           const std::vector<LauncherEntry>& entries);
    /// As above; for the empty query the entries in `recents` (bundle identifiers, most recent
    /// first) come first, in the order of the list.
    static std::vector<LauncherEntry> rank(std::string_view query,
                                           const std::vector<LauncherEntry>& entries,
                                           const std::vector<std::string>& recents);

  private:
    struct Folded;

    static std::optional<int> fieldScore(const Folded& query, const Folded& text, Field::Kind kind);

    static void fold(std::string_view text, Folded& into);
    static std::optional<int> nameScore(const Folded& query, const Folded& text);
    static std::optional<int> proseScore(const Folded& query, const Folded& text);
    static bool isWordStart(const Folded& text, std::size_t position);
    static bool startsWith(const Folded& text, const Folded& query);
};

}  // namespace kelvo
