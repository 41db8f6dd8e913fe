#include "Base/Text/UnicodeText.h"

#include <unicode/brkiter.h>
#include <unicode/bytestream.h>
#include <unicode/casemap.h>
#include <unicode/coll.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <memory>
#include <optional>

namespace kelvo {

namespace {

/// One character-break iterator per thread: building one from its rules costs far more than
/// walking a short text, and the launcher walks every application name on every keystroke.
icu::BreakIterator* characterBreaks() {
    thread_local const std::unique_ptr<icu::BreakIterator> breaks = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> made(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        return U_SUCCESS(status) ? std::move(made) : nullptr;
    }();
    return breaks.get();
}

/// In ASCII every byte is a character of its own, except that a carriage return and the line
/// feed after it are one.
void asciiBoundaries(std::string_view text, std::vector<std::size_t>& boundaries) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        boundaries.push_back(i + 1);
    }
}

/// The code point when the text is exactly one well-formed code point.
std::optional<UChar32> singleCodePoint(std::string_view text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    if (length == 0) return std::nullopt;
    int32_t next = 0;
    UChar32 c;
    U8_NEXT(bytes, next, length, c);
    if (c < 0 || next != length) return std::nullopt;
    return c;
}

bool isASCIIByte(std::string_view character) {
    return character.size() == 1 && static_cast<unsigned char>(character[0]) < 0x80;
}

/// ASCII letters from `first` to `last` moved to the range beginning at `target`.
std::string asciiMapped(std::string_view text, char first, char last, char target) {
    std::string result(text);
    for (char& c : result) {
        if (c >= first && c <= last) c = static_cast<char>(c - first + target);
    }
    return result;
}

enum class CaseMapping { lower, upper };

std::string caseMapped(std::string_view text, CaseMapping mapping) {
    std::string result;
    icu::StringByteSink<std::string> sink(&result, static_cast<int32_t>(text.size()));
    UErrorCode status = U_ZERO_ERROR;
    const icu::StringPiece source(text.data(), static_cast<int32_t>(text.size()));
    // The root locale: no language's special rules, the same mapping everywhere.
    if (mapping == CaseMapping::lower) {
        icu::CaseMap::utf8ToLower("", 0, source, sink, nullptr, status);
    } else {
        icu::CaseMap::utf8ToUpper("", 0, source, sink, nullptr, status);
    }
    return U_SUCCESS(status) ? result : std::string(text);
}

const icu::Normalizer2* composedNormalizer() {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    return U_SUCCESS(status) ? nfc : nullptr;
}

bool isWhitespaceOrNewline(UChar32 c) {
    // Space separators, the tab and every line or paragraph break.
    if (c == '\t' || (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029) {
        return true;
    }
    return u_charType(c) == U_SPACE_SEPARATOR;
}

}  // namespace

bool UnicodeText::isASCII(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

void UnicodeText::characterBoundaries(std::string_view text, std::vector<std::size_t>& boundaries) {
    boundaries.assign(1, 0);
    if (text.empty()) return;
    if (isASCII(text)) return asciiBoundaries(text, boundaries);
    icu::BreakIterator* breaks = characterBreaks();
    UErrorCode status = U_ZERO_ERROR;
    UText utext = UTEXT_INITIALIZER;
    utext_openUTF8(&utext, text.data(), static_cast<int64_t>(text.size()), &status);
    if (breaks) breaks->setText(&utext, status);
    if (!breaks || U_FAILURE(status)) {
        // Without the break rules every byte still has to land in some character.
        utext_close(&utext);
        boundaries.push_back(text.size());
        return;
    }
    breaks->first();
    for (int32_t next = breaks->next(); next != icu::BreakIterator::DONE; next = breaks->next()) {
        boundaries.push_back(static_cast<std::size_t>(next));
    }
    utext_close(&utext);
    if (boundaries.back() != text.size()) boundaries.push_back(text.size());
}

std::vector<std::size_t> UnicodeText::characterBoundaries(std::string_view text) {
    std::vector<std::size_t> boundaries;
    characterBoundaries(text, boundaries);
    return boundaries;
}

std::vector<std::string> UnicodeText::characters(std::string_view text) {
    const auto boundaries = characterBoundaries(text);
    std::vector<std::string> result;
    result.reserve(boundaries.size() - 1);
    for (std::size_t i = 1; i < boundaries.size(); ++i) {
        result.emplace_back(text.substr(boundaries[i - 1], boundaries[i] - boundaries[i - 1]));
    }
    return result;
}

std::size_t UnicodeText::characterCount(std::string_view text) {
    return characterBoundaries(text).size() - 1;
}

std::string UnicodeText::prefix(std::string_view text, std::size_t count) {
    const auto boundaries = characterBoundaries(text);
    if (count + 1 >= boundaries.size()) return std::string(text);
    return std::string(text.substr(0, boundaries[count]));
}

std::string UnicodeText::canonicalForm(std::string_view text) {
    if (isASCII(text)) return std::string(text);
    const icu::Normalizer2* nfc = composedNormalizer();
    if (!nfc) return std::string(text);
    std::string result;
    icu::StringByteSink<std::string> sink(&result, static_cast<int32_t>(text.size()));
    UErrorCode status = U_ZERO_ERROR;
    nfc->normalizeUTF8(0, icu::StringPiece(text.data(), static_cast<int32_t>(text.size())), sink,
                       nullptr, status);
    return U_SUCCESS(status) ? result : std::string(text);
}

int UnicodeText::canonicalCompare(std::string_view a, std::string_view b) {
    if (isASCII(a) && isASCII(b)) return a.compare(b);
    return canonicalForm(a).compare(canonicalForm(b));
}

bool UnicodeText::canonicallyEquivalent(std::string_view a, std::string_view b) {
    return canonicalCompare(a, b) == 0;
}

int UnicodeText::localizedCaseInsensitiveCompare(std::string_view a, std::string_view b) {
    // One collator per thread: a collator is not safe to share while it compares.
    thread_local const std::unique_ptr<icu::Collator> collator = [] {
        // Without a language set the process's locale is POSIX, whose order is the bytes';
        // people's sorting then follows the root locale's.
        icu::Locale locale = icu::Locale::getDefault();
        if (std::string_view(locale.getVariant()) == "POSIX") locale = icu::Locale::getRoot();
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Collator> made(icu::Collator::createInstance(locale, status));
        if (U_FAILURE(status)) return std::unique_ptr<icu::Collator>();
        made->setStrength(icu::Collator::SECONDARY);
        return made;
    }();
    if (!collator) {
        const int order = canonicalCompare(lowercased(a), lowercased(b));
        return (order > 0) - (order < 0);
    }
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult order =
        collator->compareUTF8(icu::StringPiece(a.data(), static_cast<int32_t>(a.size())),
                              icu::StringPiece(b.data(), static_cast<int32_t>(b.size())), status);
    return U_FAILURE(status) ? 0 : static_cast<int>(order);
}

std::string UnicodeText::lowercased(std::string_view text) {
    if (isASCII(text)) return asciiMapped(text, 'A', 'Z', 'a');
    return caseMapped(text, CaseMapping::lower);
}

std::string UnicodeText::uppercased(std::string_view text) {
    if (isASCII(text)) return asciiMapped(text, 'a', 'z', 'A');
    return caseMapped(text, CaseMapping::upper);
}

std::string UnicodeText::lowercaseCharacter(std::string_view character) {
    if (isASCIIByte(character)) return lowercased(character);
    const std::string lower = lowercased(character);
    if (lower.empty()) return canonicalForm(character);
    std::vector<std::size_t> boundaries;
    characterBoundaries(lower, boundaries);
    return canonicalForm(std::string_view(lower).substr(0, boundaries[1]));
}

bool UnicodeText::isLowercase(std::string_view character) {
    if (isASCIIByte(character)) return character[0] >= 'a' && character[0] <= 'z';
    const std::optional<UChar32> scalar = singleCodePoint(character);
    if (scalar && u_hasBinaryProperty(*scalar, UCHAR_LOWERCASE)) return true;
    return isCased(character) && canonicallyEquivalent(lowercased(character), character);
}

bool UnicodeText::isUppercase(std::string_view character) {
    if (isASCIIByte(character)) return character[0] >= 'A' && character[0] <= 'Z';
    const std::optional<UChar32> scalar = singleCodePoint(character);
    if (scalar && u_hasBinaryProperty(*scalar, UCHAR_UPPERCASE)) return true;
    return isCased(character) && canonicallyEquivalent(uppercased(character), character);
}

bool UnicodeText::isCased(std::string_view character) {
    const std::optional<UChar32> scalar = singleCodePoint(character);
    if (scalar && u_hasBinaryProperty(*scalar, UCHAR_CASED)) return true;
    return !canonicallyEquivalent(lowercased(character), character) ||
           !canonicallyEquivalent(uppercased(character), character);
}

std::string UnicodeText::trimmingWhitespaceAndNewlines(std::string_view text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    int32_t start = 0;
    while (start < length) {
        int32_t next = start;
        UChar32 c;
        U8_NEXT(bytes, next, length, c);
        if (c < 0 || !isWhitespaceOrNewline(c)) break;
        start = next;
    }
    int32_t end = length;
    while (end > start) {
        int32_t previous = end;
        UChar32 c;
        U8_PREV(bytes, start, previous, c);
        if (c < 0 || !isWhitespaceOrNewline(c)) break;
        end = previous;
    }
    return std::string(text.substr(start, end - start));
}

}  // namespace kelvo
