#include "KelvoCore/Text/UnicodeText.h"

#include <unicode/brkiter.h>
#include <unicode/bytestream.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <memory>

namespace kelvo {

namespace {

/// Byte offsets of every character boundary of the text, 0 and the text's length included.
std::vector<std::size_t> characterBoundaries(std::string_view text) {
    std::vector<std::size_t> boundaries{0};
    if (text.empty()) return boundaries;
    UErrorCode status = U_ZERO_ERROR;
    UText* utext = utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status);
    std::unique_ptr<icu::BreakIterator> breaks(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_SUCCESS(status)) breaks->setText(utext, status);
    if (U_FAILURE(status)) {
        // Without the break rules every byte still has to land in some character.
        utext_close(utext);
        boundaries.push_back(text.size());
        return boundaries;
    }
    breaks->first();
    for (int32_t next = breaks->next(); next != icu::BreakIterator::DONE; next = breaks->next()) {
        boundaries.push_back(static_cast<std::size_t>(next));
    }
    utext_close(utext);
    if (boundaries.back() != text.size()) boundaries.push_back(text.size());
    return boundaries;
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
