#include "KelvoCore/Launcher/LauncherMatcher.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <map>

#include "Base/Text/UnicodeText.h"

namespace kelvo {

namespace {

struct SeparatorSet {
    std::vector<std::string> ordered;
    /// The same set for single ASCII characters, so that the common case is one lookup.
    std::array<bool, 128> ascii{};
};

const SeparatorSet& separatorSet() {
    static const SeparatorSet set = [] {
        SeparatorSet made;
        made.ordered = {" ", "-", "_", ".", "/", "\\", "(", ")",
                        "[", "]", "+", ":", ",", "&",  "'", "\u2019"};
        for (const std::string& separator : made.ordered) {
            if (separator.size() == 1) made.ascii[static_cast<unsigned char>(separator[0])] = true;
        }
        return made;
    }();
    return set;
}

bool isASCIIByte(std::string_view character) {
    return character.size() == 1 && static_cast<unsigned char>(character[0]) < 0x80;
}

bool isASCII(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

unsigned char asciiLowercase(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

/// Byte order of the texts with ASCII letters taken in lowercase; for UTF-8 that is the order
/// of their code points.
int compareIgnoringASCIICase(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char x = asciiLowercase(a[i]);
        const unsigned char y = asciiLowercase(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

/// A text as the matcher walks it: one folded character per character of the text, with the
/// text's own characters beside them for telling word starts. Its buffers are reused when one
/// `Folded` takes text after text.
struct LauncherMatcher::Folded {
    struct End {
        std::size_t text;
        std::size_t folded;
    };

    std::string_view text;
    /// The folded characters back to back.
    std::string folded;
    /// Every character is one byte in both texts (ASCII without carriage returns, the common
    /// case of application names), so positions are byte offsets and `ends` is not needed.
    bool singleBytes = false;
    /// Where each character ends in `text` and in `folded`.
    std::vector<End> ends;
    /// Character boundaries of `text`, kept only for their storage.
    std::vector<std::size_t> boundaries;

    std::size_t size() const { return singleBytes ? folded.size() : ends.size(); }
    bool empty() const { return size() == 0; }
    std::string_view character(std::size_t k) const {
        if (singleBytes) return std::string_view(folded.data() + k, 1);
        const std::size_t begin = k == 0 ? 0 : ends[k - 1].folded;
        return std::string_view(folded.data() + begin, ends[k].folded - begin);
    }
    std::string_view unfolded(std::size_t k) const {
        if (singleBytes) return text.substr(k, 1);
        const std::size_t begin = k == 0 ? 0 : ends[k - 1].text;
        return text.substr(begin, ends[k].text - begin);
    }
    bool same(std::size_t k, const Folded& other, std::size_t otherK) const {
        const std::string_view mine = character(k);
        const std::string_view theirs = other.character(otherK);
        if (mine.size() != theirs.size()) return false;
        return mine.size() == 1 ? mine[0] == theirs[0] : mine == theirs;
    }
    /// The first position from `from` on that holds the query's character `i`; `size()` when
    /// none does.
    std::size_t find(const Folded& query, std::size_t i, std::size_t from) const {
        if (singleBytes && query.singleBytes)
            return std::min(folded.find(query.folded[i], from), size());
        while (from < size() && !same(from, query, i))
            ++from;
        return from;
    }
};

const std::vector<std::string>& LauncherMatcher::separators() {
    return separatorSet().ordered;
}

bool LauncherMatcher::isSeparator(std::string_view character) {
    const SeparatorSet& set = separatorSet();
    if (isASCIIByte(character)) return set.ascii[static_cast<unsigned char>(character[0])];
    const std::string canonical = UnicodeText::canonicalForm(character);
    return std::find(set.ordered.begin(), set.ordered.end(), canonical) != set.ordered.end();
}

bool LauncherMatcher::Field::operator==(const Field& other) const {
    return kind == other.kind && UnicodeText::canonicallyEquivalent(text, other.text);
}

std::strong_ordering LauncherMatcher::Hit::operator<=>(const Hit& other) const {
    if (field != other.field) return other.field <=> field;
    return score <=> other.score;
}

void LauncherMatcher::fold(std::string_view text, Folded& into) {
    into.text = text;
    into.folded.clear();
    into.ends.clear();
    into.singleBytes = std::all_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x80 && c != '\r';
    });
    if (into.singleBytes) {
        into.folded.assign(text);
        for (char& c : into.folded) {
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        return;
    }
    UnicodeText::characterBoundaries(text, into.boundaries);
    for (std::size_t k = 1; k < into.boundaries.size(); ++k) {
        const std::size_t begin = into.boundaries[k - 1];
        const std::string_view character = text.substr(begin, into.boundaries[k] - begin);
        into.folded += UnicodeText::lowercaseCharacter(character);
        into.ends.push_back({into.boundaries[k], into.folded.size()});
    }
}

std::optional<int> LauncherMatcher::score(std::string_view query, std::string_view text) {
    Folded foldedQuery;
    Folded foldedText;
    fold(query, foldedQuery);
    fold(text, foldedText);
    return nameScore(foldedQuery, foldedText);
}

std::optional<int> LauncherMatcher::nameScore(const Folded& query, const Folded& text) {
    if (query.empty()) return 0;
    if (query.size() > text.size()) return std::nullopt;
    std::size_t matched = 0;
    int total = 0;
    // -2 so that a match at position 0 never counts as following the previous one.
    std::ptrdiff_t previous = -2;
    // Greedy: each query character takes its first occurrence after the previous match, in one
    // pass over the text with no looking back.
    for (std::size_t k = text.find(query, 0, 0); k < text.size();
         k = text.find(query, matched, k + 1)) {
        total += 1;
        if (isWordStart(text, k)) total += wordStartBonus;
        const auto position = static_cast<std::ptrdiff_t>(k);
        if (position == previous + 1) total += consecutiveBonus;
        previous = position;
        if (++matched == query.size()) break;
    }
    if (matched < query.size()) return std::nullopt;
    if (startsWith(text, query)) total += prefixBonus;
    return total;
}

bool LauncherMatcher::isWordStart(const Folded& text, std::size_t position) {
    if (position == 0) return true;
    const std::string_view before = text.unfolded(position - 1);
    if (isSeparator(before)) return true;
    // A step from lower to upper case inside a word, as at the "T" of "iTerm".
    return UnicodeText::isLowercase(before) && UnicodeText::isUppercase(text.unfolded(position));
}

bool LauncherMatcher::startsWith(const Folded& text, const Folded& query) {
    if (query.size() > text.size()) return false;
    for (std::size_t k = 0; k < query.size(); ++k) {
        if (!text.same(k, query, k)) return false;
    }
    return true;
}

std::optional<int> LauncherMatcher::proseScore(const Folded& query, const Folded& text) {
    if (query.empty()) return 0;
    if (query.size() > text.size()) return std::nullopt;
    for (std::size_t start = 0; start + query.size() <= text.size(); ++start) {
        std::size_t k = 0;
        while (k < query.size() && text.same(start + k, query, k))
            ++k;
        if (k == query.size()) return static_cast<int>(query.size());
    }
    return std::nullopt;
}

std::optional<int> LauncherMatcher::fieldScore(const Folded& query, const Folded& text,
                                               Field::Kind kind) {
    return kind == Field::Kind::name ? nameScore(query, text) : proseScore(query, text);
}

// A hit on an earlier field is greater than any hit on a later one, so the first field that
// matches is the best.

std::optional<LauncherMatcher::Hit> LauncherMatcher::score(std::string_view query,
                                                           const std::vector<Field>& fields) {
    Folded foldedQuery;
    Folded foldedText;
    fold(query, foldedQuery);
    for (std::size_t index = 0; index < fields.size(); ++index) {
        fold(fields[index].text, foldedText);
        if (const auto points = fieldScore(foldedQuery, foldedText, fields[index].kind)) {
            return Hit{static_cast<int>(index), *points};
        }
    }
    return std::nullopt;
}

/// A field's text with its folding, which looks into the text and so stays beside it.
struct LauncherMatcher::FoldedText {
    std::string text;
    Field::Kind kind;
    Folded folded;
};

LauncherMatcher::FoldedFields::FoldedFields(const std::vector<Field>& fields) {
    fields_.reserve(fields.size());
    for (const Field& field : fields) {
        auto folded = std::make_shared<FoldedText>(FoldedText{field.text, field.kind, {}});
        fold(folded->text, folded->folded);
        fields_.push_back(std::move(folded));
    }
}

std::optional<LauncherMatcher::Hit> LauncherMatcher::score(std::string_view query,
                                                           const FoldedFields& fields) {
    Folded foldedQuery;
    fold(query, foldedQuery);
    for (std::size_t index = 0; index < fields.fields_.size(); ++index) {
        const FoldedText& field = *fields.fields_[index];
        if (const auto points = fieldScore(foldedQuery, field.folded, field.kind)) {
            return Hit{static_cast<int>(index), *points};
        }
    }
    return std::nullopt;
}

std::vector<LauncherEntry> LauncherMatcher::rank(std::string_view query,
                                                 const std::vector<LauncherEntry>& entries) {
    struct Candidate {
        const LauncherEntry* entry;
        int score;
        /// The lowercased name in canonical form, whose bytes order as its code points do; an
        /// ASCII name is its own, up to the case of its letters, so it is not copied.
        std::string sortName;
        std::string_view sortKey() const { return sortName.empty() ? entry->name : sortName; }
    };
    Folded foldedQuery;
    Folded foldedName;
    fold(query, foldedQuery);
    std::vector<Candidate> candidates;
    candidates.reserve(entries.size());
    for (const LauncherEntry& entry : entries) {
        // The empty query scores every name 0 without looking at it.
        if (!foldedQuery.empty()) fold(entry.name, foldedName);
        const std::optional<int> points = nameScore(foldedQuery, foldedName);
        if (!points) continue;
        std::string sortName;
        if (!isASCII(entry.name))
            sortName = UnicodeText::canonicalForm(UnicodeText::lowercased(entry.name));
        candidates.push_back({&entry, *points, std::move(sortName)});
    }
    // Sorted by reference: moving pointers is cheaper than moving candidates.
    std::vector<const Candidate*> order;
    order.reserve(candidates.size());
    for (const Candidate& candidate : candidates)
        order.push_back(&candidate);
    std::stable_sort(order.begin(), order.end(), [](const Candidate* a, const Candidate* b) {
        if (a->score != b->score) return a->score > b->score;
        if (a->entry->isRunning != b->entry->isRunning) return a->entry->isRunning;
        const int names = compareIgnoringASCIICase(a->sortKey(), b->sortKey());
        if (names != 0) return names < 0;
        return UnicodeText::canonicalCompare(a->entry->bundleID, b->entry->bundleID) < 0;
    });
    std::vector<LauncherEntry> ranked;
    ranked.reserve(order.size());
    for (const Candidate* candidate : order)
        ranked.push_back(*candidate->entry);
    return ranked;
}

std::vector<LauncherEntry> LauncherMatcher::rank(std::string_view query,
                                                 const std::vector<LauncherEntry>& entries,
                                                 const std::vector<std::string>& recents) {
    std::vector<LauncherEntry> ranked = rank(query, entries);
    // Only the empty query: a query of one space is a query.
    if (!query.empty() || recents.empty()) return ranked;
    std::map<std::string, std::size_t, CanonicalOrder> positions;
    for (std::size_t position = 0; position < recents.size(); ++position)
        positions.emplace(recents[position], position);  // a repeat keeps its first position

    std::vector<std::pair<std::size_t, LauncherEntry>> recent;
    std::vector<LauncherEntry> rest;
    for (LauncherEntry& entry : ranked) {
        const auto found = positions.find(entry.bundleID);
        if (found == positions.end()) {
            rest.push_back(std::move(entry));
        } else {
            recent.emplace_back(found->second, std::move(entry));
        }
    }
    std::stable_sort(recent.begin(), recent.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<LauncherEntry> result;
    result.reserve(ranked.size());
    for (auto& [position, entry] : recent)
        result.push_back(std::move(entry));
    for (LauncherEntry& entry : rest)
        result.push_back(std::move(entry));
    return result;
}

}  // namespace kelvo
